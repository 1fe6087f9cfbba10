#!/usr/bin/env node
// The download site's page (index.html of the folder scripts/publish makes)
// as schools meet it, in one browser engine, served over loopback HTTP, on a
// phone (360 x 740) and on a whiteboard (1920 x 1080): axe-core's WCAG 2 A
// and AA rules find nothing; every address the page names is a file of the
// site that answers 200, and nothing is asked of any other address; each
// SHA-256 it shows is that of its file on disk; it reads the same with
// JavaScript turned off; framed by a page of another origin, it shows the
// same and its link to the lesson opens the lesson, working, in the frame.
// A screenshot of each size goes to AMINO_SITE_SCREENSHOTS (by default
// site-page-screenshots/ in the build folder of the checks' npm packages).
//
//   node --test-reporter=spec site_page.js chromium|firefox SITE-DIR
'use strict';

const assert = require('node:assert/strict');
const crypto = require('node:crypto');
const fs = require('node:fs');
const http = require('node:http');
const path = require('node:path');
const { describe, before, after } = require('node:test');

const { launch, nodeDir } = require('./browsers.js');
const { it, starting } = require('./facility.js');
const { click, collectErrors, waitFor, workingPage } = require('./in_page.js');
const { serve, serveFraming, lessonFrame, named } = require('./site.js');

const [engine, siteArgument] = process.argv.slice(2);
if (!siteArgument || !fs.existsSync(path.join(siteArgument, 'index.html'))) {
    console.error('usage: node --test-reporter=spec site_page.js chromium|firefox SITE-DIR\n' +
        '(SITE-DIR: the download site scripts/publish made, with its index.html)');
    process.exit(2);
}
const siteDir = path.resolve(siteArgument);
const shots = process.env.AMINO_SITE_SCREENSHOTS ||
    path.resolve(nodeDir, '..', '..', '..', 'site-page-screenshots');
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js', { paths: [nodeDir] }), 'utf8');

const SIZES = [
    ['phone', { width: 360, height: 740, deviceScaleFactor: 3, isMobile: true, hasTouch: true }],
    ['whiteboard', { width: 1920, height: 1080 }],
];
const SHA256 = '\\b[0-9a-f]{64}\\b';

const collapsed = (text) => text.replace(/\s+/g, ' ').trim();
const sha256 = (file) => crypto.createHash('sha256').update(fs.readFileSync(file)).digest('hex');

// The status a HEAD request for url gets, from node.
const statusOf = (url) => new Promise((resolve, reject) => {
    http.request(url, { method: 'HEAD' }, (response) => {
        response.resume();
        resolve(response.statusCode);
    }).on('error', reject).end();
});

// Every address the page names in an href or src, as the browser resolves
// it; runs in the page.
function namedAddresses() {
    return [...document.querySelectorAll('[href], [src]')].map((element) =>
        new URL(element.getAttribute('href') ?? element.getAttribute('src'), document.baseURI).href);
}

// Each SHA-256 the page shows in a table row, with the one file the row
// links to (null where it links to none or to several), and those it shows
// elsewhere; runs in the page.
function shownDigests(pattern) {
    const found = (text) => (text.match(new RegExp(pattern, 'gi')) || []).map((it) => it.toLowerCase());
    const body = document.body.cloneNode(true);
    const rows = [...body.querySelectorAll('tr')].filter((row) => found(row.textContent).length);
    const inRows = rows.flatMap((row) => {
        const links = row.querySelectorAll('a[href]');
        const file = links.length === 1 ? new URL(links[0].getAttribute('href'), document.baseURI).href : null;
        return found(row.textContent).map((digest) => [file, digest]);
    });
    rows.forEach((row) => row.remove());
    return { inRows, elsewhere: found(body.textContent) };
}

const pageText = (view) => view.evaluate(() => document.body.innerText);

// The WCAG 2 A and AA rules of axe-core, run as the driver's own evaluation.
async function audit(view) {
    await view.evaluate(axeSource);
    const violations = await view.evaluate(() => axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa'] },
    }).then((results) => results.violations.map((v) =>
        `${v.id} at ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)));
    assert.deepEqual(violations, []);
}

// The site's file an address of the page names, or null outside the site.
function fileOf(host, address) {
    const url = new URL(address);
    if (url.origin !== host.origin)
        return null;
    const where = named(siteDir, url.pathname);
    if (!where)
        return null;
    return fs.existsSync(where.file) && fs.statSync(where.file).isDirectory() ?
        path.join(where.file, 'index.html') : where.file;
}

fs.mkdirSync(shots, { recursive: true });

for (const [where, viewport] of SIZES) {
    describe(`the download page on a ${where}, ${viewport.width} x ${viewport.height}`, () => {
        const session = {};
        const host = {};
        // Every address the browser asked for, and what the site was asked
        // for, as the page loaded; and the page's text then.
        const loading = { browser: [], site: [] };
        let text;
        before(() => starting(async () => {
            await serve(siteDir, host);
            Object.assign(session, await launch(engine, viewport));
            session.errors = collectErrors(session.page);
            const asked = [];
            session.page.on('request', (request) => asked.push(request.url()));
            await session.page.goto(`${host.origin}/`);
            await waitFor(session.page, () => document.readyState === 'complete');
            Object.assign(loading, { browser: [...asked], site: [...host.requested] });
            text = await pageText(session.page);
        }));
        after(async () => {
            if (session.browser)
                await session.browser.close();
            for (const server of [host, session.framing])
                server && server.stop && server.stop();
        });
        const page = () => session.page;

        it('it shows the page, the screenshot taken', async () => {
            assert.match(text, /Аминокиселини/);
            await page().screenshot({ path: path.join(shots, `site-${engine}-${where}.png`) });
            await page().screenshot({ path: path.join(shots, `site-${engine}-${where}-whole.png`),
                fullPage: true });
        });
        it('nothing in it scrolls sideways', async () => {
            const [wide, width] = await page().evaluate(() =>
                [document.documentElement.scrollWidth, document.documentElement.clientWidth]);
            assert.ok(wide <= width, `${wide} px wide in ${width} px`);
        });
        it('axe-core finds nothing against WCAG 2 A/AA', () => audit(page()));
        it('every address it names is a file of the site, which answers 200', async () => {
            const addresses = [...new Set(await page().evaluate(namedAddresses))];
            assert.ok(addresses.length, 'the page names no address');
            const faults = await Promise.all(addresses.map(async (address) => {
                if (!fileOf(host, address))
                    return `${address}: outside the site`;
                const status = await statusOf(address);
                return status === 200 ? null : `${address}: ${status}`;
            }));
            assert.deepEqual(faults.filter((fault) => fault), []);
        });
        it('loading it, the browser asks no other address, and the site has all it asks for',
            async () => {
                assert.ok(loading.site.length, 'the site was asked for nothing');
                const foreign = loading.browser.filter((url) => !url.startsWith(`${host.origin}/`) &&
                    !url.startsWith('data:'));
                assert.deepEqual(foreign, []);
                const missing = loading.site.filter((request) => {
                    const file = fileOf(host, `${host.origin}${request}`);
                    return !file || !fs.existsSync(file);
                });
                assert.deepEqual(missing, [], 'asked of the site and not there');
            });
        it('each SHA-256 it shows is that of the file its row links to', async () => {
            const { inRows, elsewhere } = await page().evaluate(shownDigests, SHA256);
            assert.ok(inRows.length, 'the page shows no SHA-256');
            const faults = [...elsewhere.map((digest) => `${digest}: shown outside a row of its file`),
                ...inRows.map(([address, digest]) => {
                    const file = address && fileOf(host, address);
                    if (!file || !fs.existsSync(file))
                        return `${digest}: its row links to no one file of the site (${address})`;
                    return sha256(file) === digest ? null : `${digest}: not that of ${address}`;
                }).filter((fault) => fault)];
            assert.deepEqual(faults, []);
        });
        it('with JavaScript turned off, it reads the same', async () => {
            const scriptless = await launch(engine, viewport, { scriptless: true });
            try {
                await scriptless.page.goto(`${host.origin}/`);
                assert.equal(collapsed(await pageText(scriptless.page)), collapsed(text));
            } finally {
                await scriptless.browser.close();
            }
        });
        it('framed by a page of another origin, it reads the same', async () => {
            session.framing = await serveFraming(`${host.origin}/`, viewport.width, viewport.height);
            await page().goto(session.framing.url);
            session.frame = await lessonFrame(page(), host.origin);
            assert.ok(session.frame, 'the frame shows nothing of the site');
            assert.equal(collapsed(await pageText(session.frame)), collapsed(text));
        });
        it('there, its link to the lesson opens the lesson, working, in the frame', async () => {
            assert.ok(session.frame, 'no frame of the page');
            const href = await session.frame.$$eval('a[href]', (links) => links.map((a) =>
                [a.getAttribute('href'), new URL(a.href).pathname])
                .filter(([, pathname]) => /^\/lesson\/(index\.html)?$/.test(pathname))
                .map(([attribute]) => attribute)[0]);
            assert.ok(href, 'the page has no link to lesson/');
            await click(session.frame, `a[href="${href}"]`);
            const lesson = await lessonFrame(page(), `${host.origin}/lesson`, 20000);
            assert.ok(lesson, 'the lesson did not open in the frame');
            assert.ok(await workingPage(lesson));
        });
        it('no console error', () => assert.deepEqual(session.errors, []));
    });
}
