#!/usr/bin/env node
// The SCORM package as a learning platform runs it, in one browser engine:
// unpacked under a deep path as Moodle keeps it, served over loopback HTTP,
// and launched from the platform's page, which offers scorm-again's SCORM
// 1.2 run-time API (platform-player.js): a first attempt in a frame, an
// attempt already completed in a window of its own, and a frame of a
// platform on another site, whose API the lesson cannot reach.
//
//   node --test-reporter=spec test_scorm.js chromium|firefox SCORM.zip
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { describe, before, after } = require('node:test');

const { launch, nodeDir } = require('./browsers.js');
const { it, starting } = require('./facility.js');
const { click, workingPage, collectErrors, sleep } = require('./in_page.js');
const { serve } = require('./site.js');

const [engine, zip] = process.argv.slice(2);
if (!zip) {
    console.error('usage: node --test-reporter=spec test_scorm.js chromium|firefox SCORM.zip');
    process.exit(2);
}

// Where Moodle serves an activity's unpacked package from, and its player.
const PACKAGE = '/pluginfile.php/73/mod_scorm/content/2';
const PLAYER = '/mod/scorm/player.html';
const ROWS = 20;

const work = fs.mkdtempSync(path.join(os.tmpdir(), `aminokiselini-scorm-${engine}-`));
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));
const site = path.join(work, 'site');
fs.mkdirSync(path.join(site, PACKAGE), { recursive: true });
childProcess.execFileSync('unzip', ['-q', zip, '-d', path.join(site, PACKAGE)]);
const player = path.join(site, path.dirname(PLAYER));
fs.mkdirSync(player, { recursive: true });
fs.copyFileSync(require.resolve('scorm-again/scorm12', { paths: [nodeDir] }),
    path.join(player, 'scorm12.js'));
fs.copyFileSync(path.join(__dirname, 'platform-player.js'), path.join(player, 'player.js'));
fs.writeFileSync(path.join(site, PLAYER), '<!DOCTYPE html>\n<html lang="en"><meta charset="utf-8">' +
    '<title>Player</title><link rel="icon" href="data:,"><script src="scorm12.js"></script>' +
    '<script src="player.js"></script><button id="launch">Enter</button></html>\n');

// The lesson's frame of the page, once its page answers.
async function lessonFrame(page) {
    const end = Date.now() + 30000;
    while (Date.now() < end) {
        const frame = page.frames().find((f) => f.url().endsWith(`${PACKAGE}/index.html`));
        if (frame && await workingPage(frame).catch(() => false))
            return frame;
        await sleep(50);
    }
    throw new Error('the lesson did not open in its frame');
}

// What the platform holds, once check(held) is true or after 10 s.
async function heldOnce(page, check) {
    const end = Date.now() + 10000;
    let seen;
    do {
        seen = await page.evaluate(() => held());
        if (check(seen))
            break;
        await sleep(50);
    } while (Date.now() < end);
    return seen;
}

const named = (seen, name) => seen.calls.filter((call) => call.name === name);
const statusesSet = (seen) => named(seen, 'LMSSetValue')
    .filter(({ args }) => args[0] === 'cmi.core.lesson_status').map(({ args }) => args[1]);
// Every call the platform refused, with its error code.
const refused = (seen) => seen.calls.filter(({ answer, error }) => answer === 'false' || error !== '0')
    .map(({ name, args, error }) => `${name}(${args.join(', ')}): error ${error}`);
const seconds = (timespan) => timespan.split(':').map(Number).reduce((sum, part) => sum * 60 + part);

const session = {};
before(() => starting(async () => {
    Object.assign(session, await launch(engine, { width: 1366, height: 768 }));
    session.errors = collectErrors(session.page);
    session.host = await serve(site);
    // The same files on another port: another site.
    session.otherSite = await serve(site);
}));
after(async () => {
    if (session.browser)
        await session.browser.close();
    for (const host of [session.host, session.otherSite])
        host && host.stop();
});

// Opens the platform's page at origin and the lesson from it, as the pupil
// presses Enter; returns when it was pressed.
async function enter(origin, lesson, options) {
    const page = session.page;
    await page.goto(`${origin}${PLAYER}`);
    await page.evaluate((address, given) => prepare(address, given), lesson, options);
    const pressed = Date.now();
    await page.click('#launch');
    return pressed;
}

describe("a first attempt, in a frame of the platform's page", () => {
    let frame;
    let entered;
    it('opened, the lesson reports "incomplete" and commits it', async () => {
        entered = await enter(session.host.origin, `${PACKAGE}/index.html`);
        frame = await lessonFrame(session.page);
        const seen = await heldOnce(session.page, (held) => named(held, 'LMSCommit').length);
        assert.equal(seen.status, 'incomplete');
        assert.deepEqual(seen.calls.map(({ name }) => name).filter((name) => name !== 'LMSGetValue'),
            ['LMSInitialize', 'LMSSetValue', 'LMSCommit']);
        assert.deepEqual(refused(seen), []);
    });
    it(`${ROWS - 1} names selected, some twice, it is still "incomplete"`, async () => {
        const rows = [...Array(ROWS - 1).keys()];
        for (const row of [...rows.slice(0, 10), 3, 0, ...rows.slice(10)])
            await click(frame, `#List1_0_${row}`);
        assert.equal(await frame.$eval('#List1_0 [aria-selected="true"]', (row) => row.id),
            `List1_0_${ROWS - 2}`);
        const seen = await page().evaluate(() => held());
        assert.equal(seen.status, 'incomplete');
        assert.deepEqual(statusesSet(seen), ['incomplete']);
    });
    it('the last name, reached with the keyboard, makes it "completed", committed at once',
        async () => {
            await frame.focus('#List1_0');
            await page().keyboard.press('End');
            const seen = await heldOnce(page(), (held) => held.status === 'completed' &&
                held.calls.at(-1).name === 'LMSCommit');
            assert.deepEqual(statusesSet(seen), ['incomplete', 'completed']);
            assert.equal(await frame.$eval('#List1_0 [aria-selected="true"]', (row) => row.id),
                `List1_0_${ROWS - 1}`);
        });
    it('closed, it reports the time spent, commits and finishes, once', async () => {
        await sleep(1000);
        await page().evaluate(() => closeLesson());
        const closed = Date.now();
        await heldOnce(page(), (held) => named(held, 'LMSFinish').length);
        await sleep(500);
        const seen = await page().evaluate(() => held());
        assert.deepEqual(seen.calls.slice(-3).map(({ name, args }) => [name, args[0]]),
            [['LMSSetValue', 'cmi.core.session_time'], ['LMSCommit', ''], ['LMSFinish', '']]);
        assert.equal(named(seen, 'LMSFinish').length, 1);
        assert.deepEqual(refused(seen), []);
        const reported = seen.calls.at(-3).args[1];
        assert.match(reported, /^\d{4}:\d{2}:\d{2}$/);
        // Between the press of Enter and the close; the lesson opens later.
        const most = (closed - entered) / 1000;
        assert.ok(seconds(reported) <= most + 1 && seconds(reported) >= most - 5,
            `${reported} for ${most.toFixed(1)} s`);
        assert.equal(seconds(seen.sessionTime), seconds(reported));
        assert.equal(seen.status, 'completed');
    });
});

describe('an attempt already completed, opened in a window of its own', () => {
    it('opened, it keeps "completed"', async () => {
        await enter(session.host.origin, `${PACKAGE}/index.html`,
            { stored: 'completed', inWindow: true });
        const seen = await heldOnce(page(), (held) => named(held, 'LMSInitialize').length);
        assert.equal(named(seen, 'LMSInitialize').length, 1);
        await sleep(500);
        const later = await page().evaluate(() => held());
        assert.equal(later.status, 'completed');
        assert.deepEqual(statusesSet(later), []);
    });
    it('closed, it finishes once', async () => {
        await page().evaluate(() => closeLesson());
        await heldOnce(page(), (held) => named(held, 'LMSFinish').length);
        await sleep(500);
        const seen = await page().evaluate(() => held());
        assert.equal(named(seen, 'LMSFinish').length, 1);
        assert.deepEqual(refused(seen), []);
        assert.equal(seen.status, 'completed');
    });
});

describe('in a frame of a platform on another site', () => {
    it('the lesson works, reaching for no API it may not read', async () => {
        await enter(session.otherSite.origin, `${session.host.origin}${PACKAGE}/index.html`);
        const frame = await lessonFrame(page());
        await click(frame, '#List1_0_0');
        await sleep(500);
        assert.deepEqual((await page().evaluate(() => held())).calls, []);
    });
});

it('no console error, in the platform or the lesson', () => {
    assert.deepEqual(session.errors, []);
});

it('the lesson asked for nothing but its own files', () => {
    const platform = (url) => url.startsWith(path.dirname(PLAYER) + '/');
    const others = [...session.host.requested, ...session.otherSite.requested]
        .filter((url) => !platform(url) && !url.startsWith(`${PACKAGE}/`));
    assert.deepEqual(others, []);
});

function page() {
    return session.page;
}
