// The page as a school's web host serves it, and the versions it serves: the
// build's own and a next one, made as the build makes it.
'use strict';

const childProcess = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');

const sha256 = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
    '.woff2': 'font/woff2', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
    '.txt': 'text/plain; charset=utf-8' };

// The file a request names inside the folder, or null outside it.
function named(folder, url) {
    const name = decodeURIComponent(url.split('?')[0]).replace(/^\/+/, '') || 'index.html';
    const file = path.join(folder, name);
    return path.relative(folder, file).startsWith('..') ? null : { name, file };
}

// A static host as schools have them, on a loopback port that stays the same
// across stop() and start(): files with Last-Modified, and If-Modified-Since
// answered with 304; no other caching headers. Every request is logged.
// Fills host and returns it: host.rewrite(name, bytes), when set, changes
// what is sent, as a host that adds its own banner does; host.onRequest(name)
// returning false stops the host in the middle of that request, unanswered;
// host.redirects maps a path to the one the host sends it on to.
async function serve(folder, host = {}) {
    const sockets = new Set();
    Object.assign(host, { requested: [], rewrite: null, onRequest: null, redirects: {} });
    const server = http.createServer((request, response) => {
        host.requested.push(request.url);
        const elsewhere = host.redirects[request.url];
        if (elsewhere) {
            response.writeHead(301, { Location: elsewhere }).end();
            return;
        }
        const where = named(folder, request.url);
        if (where && host.onRequest && host.onRequest(where.name) === false) {
            host.stop();
            return;
        }
        let stat;
        try {
            stat = where && fs.statSync(where.file);
            // A folder's address answers with its index.html, as static hosts do.
            if (stat && stat.isDirectory()) {
                where.file = path.join(where.file, 'index.html');
                where.name = path.join(where.name, 'index.html');
                stat = fs.statSync(where.file);
            }
        } catch {
            stat = null;
        }
        if (!stat || !stat.isFile()) {
            response.writeHead(404).end();
            return;
        }
        const type = types[path.extname(where.name)] || 'text/plain';
        // One that rewrites what it sends cannot vouch for a file's date.
        if (host.rewrite) {
            response.writeHead(200, { 'Content-Type': type });
            response.end(host.rewrite(where.name, fs.readFileSync(where.file)));
            return;
        }
        const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
        const since = Date.parse(request.headers['if-modified-since'] || '');
        if (since >= modified.getTime()) {
            response.writeHead(304, { 'Last-Modified': modified.toUTCString() }).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': type, 'Last-Modified': modified.toUTCString() });
        response.end(fs.readFileSync(where.file));
    });
    server.on('connection', (socket) => {
        sockets.add(socket);
        socket.on('close', () => sockets.delete(socket));
    });
    const listen = (port) => new Promise((resolve, reject) => {
        server.once('error', reject);
        server.listen(port, '127.0.0.1', () => {
            server.off('error', reject);
            resolve(server.address().port);
        });
    });
    const port = await listen(0);
    host.origin = `http://127.0.0.1:${port}`;
    host.stop = () => {
        if (server.listening)
            server.close();
        for (const socket of sockets)
            socket.destroy();
    };
    host.start = async () => server.listening || listen(port);
    return host;
}

// A site on another origin (localhost, where the page is on 127.0.0.1) whose
// page holds the lesson in a frame, as a school's website or learning
// platform does: { url, stop() }. The frame is #lesson, width x height.
async function serveFraming(lessonUrl, width, height) {
    const page = '<!DOCTYPE html>\n<html lang="bg">\n<meta charset="utf-8">\n' +
        '<title>Училище</title>\n<body style="margin: 0">\n' +
        `<iframe id="lesson" src="${lessonUrl}" title="Аминокиселини" ` +
        `style="border: 0; width: ${width}px; height: ${height}px"></iframe>\n`;
    const server = http.createServer((request, response) => {
        response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(page);
    });
    await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
    return { url: `http://localhost:${server.address().port}/`, stop: () => server.close() };
}

// The frame of the page at origin once it has loaded, in the page that
// holds it; null if none comes.
async function lessonFrame(page, origin, timeout = 10000) {
    const end = Date.now() + timeout;
    do {
        const frame = page.frames().find((it) => it.url().startsWith(`${origin}/`));
        if (frame && await frame.evaluate(() => document.readyState === 'complete').catch(() => false))
            return frame;
        await new Promise((resolve) => setTimeout(resolve, 50));
    } while (Date.now() < end);
    return null;
}

// Every file of a page's folder (and './'), with its SHA-256.
function digests(folder) {
    const files = {};
    const walk = (dir) => {
        for (const entry of fs.readdirSync(dir, { withFileTypes: true })) {
            const full = path.join(dir, entry.name);
            if (entry.isDirectory())
                walk(full);
            else
                files[path.relative(folder, full)] = sha256(fs.readFileSync(full));
        }
    };
    walk(folder);
    files['./'] = files['index.html'];
    return files;
}

// The folder a host serves, holding a copy of the version given, its files
// dated a year back as last year's version would be: dates that make
// browsers keep them unasked for weeks.
function lastYearsSite(folder, site) {
    fs.rmSync(site, { recursive: true, force: true });
    fs.cpSync(folder, site, { recursive: true });
    const lastYear = new Date(Date.now() - 365 * 24 * 3600 * 1000);
    for (const file of Object.keys(digests(site)).filter((name) => name !== './'))
        fs.utimesSync(path.join(site, file), lastYear, lastYear);
}

// The next version: another heading and another script; its service worker
// made again as the build makes it.
function nextVersion(folder, heading, cmake, webSource) {
    const next = `${folder}-next`;
    fs.cpSync(folder, next, { recursive: true });
    const index = path.join(next, 'index.html');
    const markup = fs.readFileSync(index, 'utf8');
    const current = markup.match(/<h1 id="Label1_0">([^<]*)<\/h1>/)[1];
    fs.writeFileSync(index, markup.replace(`>${current}</h1>`, `>${heading}</h1>`));
    fs.appendFileSync(path.join(next, 'aminokiselini.js'), '\n// the next version\n');
    childProcess.execFileSync(cmake, [`-DPAGE_DIR=${next}`,
        `-DTEMPLATE=${path.join(webSource, 'sw.js.in')}`, `-DOUTPUT=${path.join(next, 'sw.js')}`,
        '-P', path.join(webSource, 'make-service-worker.cmake')]);
    return next;
}

module.exports = { serve, serveFraming, lessonFrame, digests, lastYearsSite, nextVersion, named };
