#!/usr/bin/env node
// The web page as pupils get it, in one browser engine: the zip unpacked and
// opened from the folder (file://) on a whiteboard's screen, on a phone held
// upright and then sideways, and under a high-contrast theme; then served
// from a loopback web server, replaced there by a next version, and opened
// again with the server gone.
//
//   test_web.js chromium|firefox PAGE.zip EXPECTED_TABLE.h CMAKE WEB-SOURCE-DIR [SCREENSHOT-DIR]
//
// The expected classes are the desktop suites' own table (expected_table.h).
// The next version is the page with another heading and another script, its
// service worker made again by the build's own step (CMAKE and WEB-SOURCE-DIR).
'use strict';

const childProcess = require('node:child_process');
const crypto = require('node:crypto');
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');

const { launch, nodeDir } = require('./browsers.js');

const FORM = { width: 461, height: 351 };
// Each control's box in the form (x, y, width, height in the form's pixels at
// 96 dots per inch) and background, as the window has them.
const HEADING = 'rgb(255, 192, 128)', CHECK = 'rgb(128, 255, 128)', OPTION = 'rgb(0, 255, 0)';
const GEOMETRY = [
    ['MainForm', [0, 0, 461, 351], 'rgb(192, 192, 255)'],
    ['Label1_0', [64, 0, 305, 25], HEADING],
    ['Check1_0', [16, 32, 257, 25], CHECK],
    ['Check1_1', [16, 56, 257, 25], CHECK],
    ['Check1_2', [16, 80, 257, 25], CHECK],
    ['Option1_0', [16, 120, 281, 19], OPTION],
    ['Option1_1', [16, 144, 281, 19], OPTION],
    ['Option1_2', [16, 168, 281, 19], OPTION],
    ['Option1_3', [16, 192, 281, 19], OPTION],
    ['List1_0', [320, 48, 121, 137], 'rgb(255, 255, 255)'],
    ['Text1_0', [8, 224, 449, 121], 'rgb(255, 255, 255)'],
];
const FONT_PIXELS = 16;
const TITLE = 'aminokiselini.example Химия - незаменими аминокиселини';
const NEXT_HEADING = 'Вид аминокиселини и остатък 2';

// The indicators as [checks, option]: '011' and 3 for Аргинин. Given a row,
// presses it first, in the same turn.
function state(pressed) {
    if (pressed !== undefined) {
        document.getElementById(`List1_0_${pressed}`).dispatchEvent(
            new MouseEvent('mousedown', { bubbles: true, button: 0 }));
    }
    const box = (id) => document.querySelector(`#${id} input`).checked ? '1' : '0';
    const option = [0, 1, 2, 3].filter((j) => box(`Option1_${j}`) === '1');
    return [box('Check1_0') + box('Check1_1') + box('Check1_2'),
        option.length === 1 ? option[0] : (option.length ? 'many' : -1)];
}

let failures = 0;
let passes = 0;

function check(condition, what) {
    console.log((condition ? 'ok: ' : 'FAIL: ') + what);
    if (condition)
        passes += 1;
    else
        failures += 1;
    return condition;
}

const same = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));
const sha256 = (bytes) => crypto.createHash('sha256').update(bytes).digest('hex');

function expectedTable(header) {
    const rows = [...fs.readFileSync(header, 'utf8')
        .matchAll(/\{"([^"]+)", "(\d)", "(\d)", "([01]{3})", (\d)\}/g)];
    if (rows.length !== 20)
        throw new Error(`${header}: ${rows.length} rows, expected 20`);
    return rows.map(([, name, , , checks, option]) => ({ name, checks, option: Number(option) }));
}

// Polls fn in the page until it returns something true; that, or null.
async function waitFor(page, fn, timeout = 10000, ...args) {
    const end = Date.now() + timeout;
    while (Date.now() < end) {
        const value = await page.evaluate(fn, ...args).catch(() => null);
        if (value)
            return value;
        await sleep(20);
    }
    return null;
}

async function waitForState(page, expected, timeout) {
    const end = Date.now() + timeout;
    while (Date.now() < end) {
        if (same(await page.evaluate(state), expected))
            return true;
        await sleep(20);
    }
    return false;
}

// The page's code answers: a hand-checked box is cleared again while nothing
// is selected (so nothing was selected at start).
async function workingPage(page) {
    await page.evaluate(() => document.querySelector('#Check1_0 input').click());
    return waitFor(page, () => !document.querySelector('#Check1_0 input').checked);
}

function collectErrors(page) {
    const errors = [];
    page.on('console', (message) => {
        if (message.type() === 'error')
            errors.push(message.text());
    });
    page.on('pageerror', (error) => errors.push(String(error)));
    return errors;
}

async function screenshot(page, shots, name) {
    if (shots)
        await page.screenshot({ path: path.join(shots, name) });
}

// The whole form at the largest scale at which it fits the viewport, centred,
// every control where the window has it relative to the form, the text scaled
// alike, and nothing to scroll.
async function fillsViewport(page, where) {
    const seen = await page.evaluate((geometry) => {
        const form = document.getElementById('MainForm').getBoundingClientRect();
        const boxes = geometry.map(([id]) => {
            const it = document.getElementById(id);
            const r = it.getBoundingClientRect();
            return [r.left - form.left, r.top - form.top, r.width, r.height,
                getComputedStyle(it).backgroundColor];
        });
        const root = document.documentElement;
        return {
            viewport: [innerWidth, innerHeight], form: [form.left, form.top],
            scroll: [root.scrollWidth, root.scrollHeight],
            font: parseFloat(getComputedStyle(document.getElementById('MainForm')).fontSize),
            boxes,
        };
    }, GEOMETRY);
    const [width, height] = seen.viewport;
    const scale = Math.min(width / FORM.width, height / FORM.height);
    const near = (a, b) => Math.abs(a - b) <= 0.1;
    check(near(seen.form[0], (width - FORM.width * scale) / 2) &&
          near(seen.form[1], (height - FORM.height * scale) / 2) &&
          seen.scroll[0] <= width && seen.scroll[1] <= height,
    `${where}: the form fills ${width}x${height} at ${scale.toFixed(3)}x, centred, nothing to ` +
    `scroll: at ${seen.form.map((v) => v.toFixed(1))}, page ${seen.scroll}`);
    check(near(seen.font, FONT_PIXELS * scale), `${where}: text scaled with it: ${seen.font}px`);
    const wrong = GEOMETRY.map(([id, box, colour], i) => [id, box, colour, seen.boxes[i]])
        .filter(([, box, colour, got]) => !box.every((v, k) => near(got[k], v * scale)) ||
            got[4] !== colour)
        .map(([id, , , got]) => `${id} ${JSON.stringify(got)}`);
    check(!wrong.length, `${where}: every control keeps its place, size and colour in the form` +
          (wrong.length ? `: ${wrong.join('; ')}` : ''));
}

// The WCAG 2 A and AA rules of axe-core; the page's policy allows no
// injected script, so it runs as the driver's own evaluation.
async function audit(page, axeSource, when) {
    await page.evaluate(axeSource);
    const violations = await page.evaluate(() => axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa'] },
        // Reading the style sheets again is refused from file://.
        preload: false,
    }).then((results) => results.violations.map((v) =>
        `${v.id} at ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)));
    check(!violations.length, `axe-core finds nothing against WCAG 2 A/AA ${when}: ` +
          JSON.stringify(violations));
}

// The selected row's text against its background, both as drawn.
function selectionContrast() {
    const rgb = (text) => text.match(/[\d.]+/g).slice(0, 3).map(Number);
    const luminance = (c) => c.map((v) => v / 255)
        .map((v) => v <= 0.04045 ? v / 12.92 : ((v + 0.055) / 1.055) ** 2.4)
        .reduce((sum, v, i) => sum + v * [0.2126, 0.7152, 0.0722][i], 0);
    const style = getComputedStyle(document.querySelector('#List1_0 [aria-selected="true"]'));
    const [a, b] = [luminance(rgb(style.color)), luminance(rgb(style.backgroundColor))];
    return (Math.max(a, b) + 0.05) / (Math.min(a, b) + 0.05);
}

async function onWhiteboard(page, url, table, axeSource, shots, engine) {
    const errors = collectErrors(page);
    await page.goto(url);
    check(await page.title() === TITLE, `the page's title is the window's: ${await page.title()}`);
    check(await page.evaluate(() => document.documentElement.lang) === 'bg', 'lang is bg');
    if (!check(await workingPage(page), 'the page\'s code runs from file:// and undoes a hand change'))
        return;
    check(same(await page.evaluate(state), ['000', -1]) &&
          !(await page.$('#List1_0 [aria-selected="true"]')),
    'nothing is selected and every indicator is clear at start');
    await fillsViewport(page, 'on a whiteboard');
    check(await page.evaluate(() => ['List1_1', 'List1_2'].every((id) => {
        const list = document.getElementById(id);
        return list.children.length === 20 && list.getClientRects().length === 0;
    })), 'the two code lists hold twenty codes each and are never shown');
    await audit(page, axeSource, 'at start');

    for (const [row, { name, checks, option }] of table.entries()) {
        await page.click(`#List1_0_${row}`);
        const text = await page.$eval(`#List1_0_${row}`, (item) => item.textContent);
        check(text === name && same(await page.evaluate(state), [checks, option]),
            `click on ${name}: ${checks} / option ${option}`);
    }

    await page.focus('#List1_0');
    await page.keyboard.press('Home');
    for (const [row, { name, checks, option }] of table.entries()) {
        if (row)
            await page.keyboard.press('ArrowDown');
        const selected = await page.$eval('#List1_0 [aria-selected="true"]', (item) => item.textContent);
        check(selected === name && same(await page.evaluate(state), [checks, option]),
            `arrow key to ${name}: ${checks} / option ${option}`);
    }
    // Not every driver types Cyrillic keys; the letter is the page's own event.
    await page.keyboard.press('Home');
    await page.evaluate(() => document.getElementById('List1_0').dispatchEvent(
        new KeyboardEvent('keydown', { key: 'а', bubbles: true })));
    check(await page.$eval('#List1_0 [aria-selected="true"]', (item) => item.textContent) === 'Аланин',
        'typing а in the list goes to Аланин');

    // Shown at once: read in the same turn as the press, before any tick.
    const atOnce = await page.evaluate(state, 12);
    check(same(atOnce, ['011', 3]), `Аргинин shows its classes in the same turn as the press: ${atOnce}`);

    // Both changed by hand in one turn, so that no tick comes between.
    const changed = await page.evaluate(() => ['#Check1_0 input', '#Option1_0 input'].map((input) => {
        document.querySelector(input).click();
        return document.querySelector(input).checked;
    }));
    check(same(changed, [true, true]), `the hand changes took: ${changed}`);
    check(await waitForState(page, ['011', 3], 1000), 'both hand changes are undone within a second');
    const mutations = await page.evaluate(() => new Promise((resolve) => {
        const seen = [];
        const observer = new MutationObserver((records) => seen.push(...records.map((record) =>
            `${record.type} ${record.target.id || record.target.nodeName} ${record.attributeName || ''}`)));
        observer.observe(document, { subtree: true, childList: true, attributes: true,
            characterData: true });
        setTimeout(() => resolve(seen), 1000);
    }));
    check(!mutations.length, `idle for a second, Аргинин selected, nothing in the page changes: ${mutations}`);

    // The selected row reads at 4.5:1 or better, with the list focused and not.
    await page.focus('#List1_0');
    const focused = await page.evaluate(selectionContrast);
    check(focused >= 4.5, `the selected row, list focused, reads at ${focused.toFixed(2)}:1`);
    await audit(page, axeSource, 'with Аргинин selected and the list focused');
    await screenshot(page, shots, `web-${engine}-1920x1080.png`);
    await page.focus('#Text1_0');
    const unfocused = await page.evaluate(selectionContrast);
    check(unfocused >= 4.5, `the selected row, focus elsewhere, reads at ${unfocused.toFixed(2)}:1`);
    await audit(page, axeSource, 'with Аргинин selected and the focus in the lesson');
    check(!errors.length, `no console error: ${JSON.stringify(errors)}`);
}

async function onPhone(page, url, shots, engine) {
    const errors = collectErrors(page);
    await page.goto(url);
    check(await workingPage(page), 'the page works on a phone');
    await fillsViewport(page, 'on a phone upright');
    await page.click('#List1_0_0');
    check(same(await page.evaluate(state), ['010', 3]), 'a tap on Лизин shows its classes');
    await screenshot(page, shots, `web-${engine}-360x740.png`);
    // Turned sideways: the form follows at once, with no script of its own.
    await page.setViewport({ width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
    await fillsViewport(page, 'on a phone sideways');
    await screenshot(page, shots, `web-${engine}-844x390.png`);
    check(!errors.length, `no console error: ${JSON.stringify(errors)}`);
}

// A high-contrast theme keeps its own colours, the selection's included.
async function inForcedColours(page, url) {
    await page.goto(url);
    if (!check(await page.evaluate(() => matchMedia('(forced-colors: active)').matches),
        'forced colours are on'))
        return;
    await page.click('#List1_0_12');
    for (const where of ['list focused', 'focus elsewhere']) {
        const seen = await page.evaluate(() => {
            const colours = (it) => [getComputedStyle(it).color, getComputedStyle(it).backgroundColor];
            const probe = document.createElement('div');
            probe.style.cssText = 'color: HighlightText; background: Highlight';
            document.body.append(probe);
            const system = colours(probe);
            probe.remove();
            return { selected: colours(document.getElementById('List1_0_12')),
                other: colours(document.getElementById('List1_0_11')), system };
        });
        check(same(seen.selected, seen.system) && seen.selected[1] !== seen.other[1],
            `${where}: the selected row is drawn in the system's selection colours, unlike ` +
            `the other rows: ${JSON.stringify(seen)}`);
        await page.focus('#Text1_0');
    }
}

// A static host as schools have them: files with Last-Modified, and
// If-Modified-Since answered with 304; no other caching headers.
function serve(folder) {
    const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
        '.woff2': 'font/woff2', '.png': 'image/png', '.webmanifest': 'application/manifest+json',
        '.txt': 'text/plain; charset=utf-8' };
    const requested = [];
    const server = http.createServer((request, response) => {
        requested.push(request.url);
        const name = decodeURIComponent(request.url.split('?')[0]).replace(/^\/+/, '') || 'index.html';
        const file = path.join(folder, name);
        let stat;
        try {
            stat = fs.statSync(file);
        } catch {
            stat = null;
        }
        if (!stat || !stat.isFile() || path.relative(folder, file).startsWith('..')) {
            response.writeHead(404).end();
            return;
        }
        const modified = new Date(Math.floor(stat.mtimeMs / 1000) * 1000);
        const since = Date.parse(request.headers['if-modified-since'] || '');
        if (since >= modified.getTime()) {
            response.writeHead(304, { 'Last-Modified': modified.toUTCString() }).end();
            return;
        }
        response.writeHead(200, { 'Content-Type': types[path.extname(name)] || 'text/plain',
            'Last-Modified': modified.toUTCString() });
        response.end(fs.readFileSync(file));
    });
    return new Promise((resolve) => server.listen(0, '127.0.0.1',
        () => resolve({ server, requested, origin: `http://127.0.0.1:${server.address().port}` })));
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

// What the page is served now for each of its files, through its service
// worker: their SHA-256, read in the page.
function servedDigests(files) {
    return Promise.all(files.map((file) => fetch(file)
        .then((response) => response.arrayBuffer())
        .then((bytes) => crypto.subtle.digest('SHA-256', bytes))
        .then((digest) => [file, Array.from(new Uint8Array(digest),
            (b) => b.toString(16).padStart(2, '0')).join('')])))
        .then((pairs) => Object.fromEntries(pairs));
}

const heading = (page) => page.$eval('#Label1_0', (label) => label.textContent).catch(() => null);
const cacheNames = (page) => page.evaluate(() => caches.keys()).catch(() => []);

async function overHttp(page, folder, next, table, current) {
    const site = path.join(path.dirname(folder), 'site');
    // Last year's version: its files' dates make browsers keep them unasked
    // for weeks.
    fs.cpSync(folder, site, { recursive: true });
    const lastYear = new Date(Date.now() - 365 * 24 * 3600 * 1000);
    for (const file of Object.keys(digests(site)).filter((name) => name !== './'))
        fs.utimesSync(path.join(site, file), lastYear, lastYear);
    const { server, requested, origin } = await serve(site);
    const url = `${origin}/index.html`;
    try {
        await page.goto(url);
        check(await workingPage(page), 'the page works over HTTP');
        const controlled = await waitFor(page, () => !!navigator.serviceWorker.controller ||
            (navigator.serviceWorker.ready.then(() => location.reload()), false), 20000);
        check(controlled, 'its service worker keeps the page');
        await waitFor(page, () => document.readyState === 'complete');
        const foreign = (await page.evaluate(() => performance.getEntriesByType('resource')
            .map((entry) => entry.name))).filter((name) => !name.startsWith(`${origin}/`));
        check(!foreign.length, `nothing is loaded from any other address: ${foreign}`);
        const strays = requested.filter((request) => {
            const name = decodeURIComponent(request.split('?')[0]).replace(/^\/+/, '') || 'index.html';
            return !fs.existsSync(path.join(folder, name));
        });
        check(!strays.length, `only the page's own files were asked for: ${[...new Set(requested)]}`);
        check(await page.evaluate(() => document.cookie === '' && localStorage.length === 0 &&
            sessionStorage.length === 0), 'no cookies, nothing in storage');

        // A school copies the next version's folder over the old one.
        fs.cpSync(next, site, { recursive: true });
        const nextCache = fs.readFileSync(path.join(next, 'sw.js'), 'utf8').match(/'(aminokiselini-\w+)'/)[1];
        const wanted = digests(next);
        await page.goto(url);
        const first = await heading(page);
        check([current, NEXT_HEADING].includes(first) && await workingPage(page),
            `the first load after the update shows a working page, old or new: ${first}`);
        check(await waitFor(page, async (name) => {
            const names = (await caches.keys()).filter((key) => key.startsWith('aminokiselini-'));
            return names.length === 1 && names[0] === name;
        }, 30000, nextCache), `the next version is kept in place of the old one: ${await cacheNames(page)}`);
        await page.goto(url);
        check(await heading(page) === NEXT_HEADING,
            `the second load shows the next version: ${await heading(page)}`);
        const served = await page.evaluate(servedDigests, Object.keys(wanted));
        const old = Object.keys(wanted).filter((file) => served[file] !== wanted[file]);
        check(!old.length, `every file the page is served is the next version's: ${old}`);
        check(await workingPage(page), 'the next version works');
    } finally {
        server.close();
        server.closeAllConnections?.();
    }
    await page.goto(url).catch(() => null);
    check(await heading(page) === NEXT_HEADING && await workingPage(page),
        `with the server gone, a reload still opens the next version, working: ${await heading(page)}`);
    await page.click('#List1_0_10');
    const { name, checks, option } = table[10];
    check(same(await page.evaluate(state), [checks, option]), `offline, ${name} shows its classes`);
}

// The next version: another heading and another script; its service worker
// made again as the build makes it.
function nextVersion(folder, cmake, webSource) {
    const next = `${folder}-next`;
    fs.cpSync(folder, next, { recursive: true });
    const index = path.join(next, 'index.html');
    const markup = fs.readFileSync(index, 'utf8');
    const current = markup.match(/<h1 id="Label1_0">([^<]*)<\/h1>/)[1];
    fs.writeFileSync(index, markup.replace(`>${current}</h1>`, `>${NEXT_HEADING}</h1>`));
    fs.appendFileSync(path.join(next, 'aminokiselini.js'), '\n// the next version\n');
    childProcess.execFileSync(cmake, [`-DPAGE_DIR=${next}`,
        `-DTEMPLATE=${path.join(webSource, 'sw.js.in')}`, `-DOUTPUT=${path.join(next, 'sw.js')}`,
        '-P', path.join(webSource, 'make-service-worker.cmake')]);
    return { next, heading: current };
}

// Hosts send a file's date as Last-Modified; an old one keeps a new version
// from browsers. The zip dates its files at the build.
function datedAtBuild(zip, folder) {
    const epoch = process.env.SOURCE_DATE_EPOCH;
    const built = epoch ? Number(epoch) * 1000 : fs.statSync(zip).mtimeMs;
    const dates = Object.keys(digests(folder)).filter((file) => file !== './')
        .map((file) => fs.statSync(path.join(folder, file)).mtimeMs);
    check(dates.every((date) => Math.abs(date - built) < 24 * 3600 * 1000),
        `the zip dates its files at the build: ${new Date(Math.min(...dates)).toISOString()}`);
}

async function main() {
    const [engine, zip, header, cmake, webSource, shots] = process.argv.slice(2);
    if (!webSource) {
        console.error('usage: test_web.js chromium|firefox PAGE.zip EXPECTED_TABLE.h CMAKE ' +
            'WEB-SOURCE-DIR [SCREENSHOT-DIR]');
        return 2;
    }
    const table = expectedTable(header);
    const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js', { paths: [nodeDir] }),
        'utf8');
    const work = fs.mkdtempSync(path.join(os.tmpdir(), `aminokiselini-web-${engine}-`));
    try {
        childProcess.execFileSync('unzip', ['-q', zip, '-d', work]);
        const folder = path.join(work, path.basename(zip, '.zip'));
        const url = `file://${path.join(folder, 'index.html')}`;
        datedAtBuild(zip, folder);
        const { next, heading: current } = nextVersion(folder, cmake, webSource);
        const runs = [
            [{ width: 1920, height: 1080 }, {},
                (page) => onWhiteboard(page, url, table, axeSource, shots, engine)],
            [{ width: 360, height: 740, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, {},
                (page) => onPhone(page, url, shots, engine)],
            [{ width: 1024, height: 768 }, { forcedColours: true }, (page) => inForcedColours(page, url)],
            [{ width: 1024, height: 768 }, {}, (page) => overHttp(page, folder, next, table, current)],
        ];
        for (const [viewport, options, run] of runs) {
            const { browser, page } = await launch(engine, viewport, options);
            try {
                await run(page);
            } catch (error) {
                check(false, `the run went through: ${error.stack || error}`);
            } finally {
                await browser.close();
            }
        }
    } finally {
        fs.rmSync(work, { recursive: true, force: true });
    }
    console.log(`${engine}: ${passes} passed, ${failures} failed`);
    return failures ? 1 : 0;
}

main().then((code) => process.exit(code), (error) => {
    console.error(error);
    process.exit(1);
});
