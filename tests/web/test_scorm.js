#!/usr/bin/env node
// The SCORM package as a learning platform runs it, in one browser engine:
// unpacked under a deep path as Moodle keeps it, served over loopback HTTP,
// and launched from the platform's page, which offers scorm-again's SCORM
// 1.2 run-time API (platform-player.js): a first attempt in a frame, hidden
// for a while as a phone hides it; an attempt already completed in a window
// of its own; one in a frame of a window of its own; the platform's page
// left and come back to through the browser's back/forward cache; and a
// frame of a platform on another site, whose API the lesson cannot reach.
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
const { click, workingPage, collectErrors, sleep, waitFor } = require('./in_page.js');
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
// A window of frames some platforms open, the lesson in one of them.
const FRAMES = '/mod/scorm/window.html';
fs.writeFileSync(path.join(site, FRAMES), '<!DOCTYPE html>\n<html lang="en"><meta charset="utf-8">' +
    '<title>Lesson</title><link rel="icon" href="data:,">' +
    `<iframe src="${PACKAGE}/index.html" title="lesson"></iframe></html>\n`);
// Another page of the platform, which a pupil goes on to.
const COURSE = '/course/view.html';
fs.mkdirSync(path.join(site, path.dirname(COURSE)), { recursive: true });
fs.writeFileSync(path.join(site, COURSE), '<!DOCTYPE html>\n<html lang="en"><meta charset="utf-8">' +
    '<title>Course</title><link rel="icon" href="data:,"><p>Course</p></html>\n');

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
// presses Enter, in the session's tab or the one given; returns when it was
// pressed.
async function enter(origin, lesson, options, page = session.page) {
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
    it('hidden, as a phone hides it for another app, it commits the time spent and stays open',
        async () => {
            const before = (await page().evaluate(() => held())).calls.length;
            const other = await session.browser.newPage();
            await other.bringToFront();
            const seen = await heldOnce(page(), (held) => held.calls.length > before &&
                held.calls.at(-1).name === 'LMSCommit');
            await page().bringToFront();
            await other.close();
            assert.deepEqual(seen.calls.slice(before).map(({ name, args }) => [name, args[0]]),
                [['LMSSetValue', 'cmi.core.session_time'], ['LMSCommit', '']]);
            const reported = seen.calls.at(-2).args[1];
            assert.match(reported, /^\d{4}:\d{2}:\d{2}$/);
            assert.ok(seconds(reported) <= (Date.now() - entered) / 1000 + 1, reported);
            assert.equal(seconds(seen.sessionTime), seconds(reported));
            assert.equal(seen.status, 'incomplete');
            assert.deepEqual(refused(seen), []);
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

describe('a first attempt in a frame of a window of its own, the API in the window that opened it',
    () => {
        it('opened, it finds the API and reports "incomplete"', async () => {
            await enter(session.host.origin, FRAMES, { inWindow: true });
            const seen = await heldOnce(page(), (held) => named(held, 'LMSCommit').length);
            assert.deepEqual(seen.calls.map(({ name }) => name).filter((name) => name !== 'LMSGetValue'),
                ['LMSInitialize', 'LMSSetValue', 'LMSCommit']);
            assert.equal(seen.status, 'incomplete');
        });
        it('closed, it finishes once', async () => {
            await page().evaluate(() => closeLesson());
            const seen = await heldOnce(page(), (held) => named(held, 'LMSFinish').length);
            await sleep(500);
            assert.equal(named(await page().evaluate(() => held()), 'LMSFinish').length, 1);
            assert.deepEqual(refused(seen), []);
        });
    });

// A phone's back button: the platform's page left for another and come back
// to, with the lesson's frame in it, from the browser's back/forward cache.
// In a tab of its own: puppeteer loses sight of a page's frames, and over
// WebDriver BiDi of its later navigations, once the page comes back so.
describe("a first attempt in a frame, the platform's page left and come back to", () => {
    // The calls of the first session, up to its LMSFinish; null where the
    // browser loaded the platform's page anew rather than from its cache.
    let first = null;
    let tab;
    const restored = (t) => first || (t.skip('the browser kept no page in its back/forward cache'), false);
    // Presses the rows given in the lesson's frame, from the platform's page,
    // each in a task of its own as a pupil's are.
    const press = (rows) => tab.evaluate(async (list) => {
        const lesson = player.frame.contentDocument;
        for (const row of list) {
            lesson.getElementById(`List1_0_${row}`).dispatchEvent(
                new MouseEvent('mousedown', { bubbles: true, button: 0 }));
            await new Promise((resolve) => setTimeout(resolve, 20));
        }
    }, rows);
    after(() => tab && tab.close());
    it('left for another page and come back to, the platform\'s page is there again', async () => {
        tab = await session.browser.newPage();
        await enter(session.host.origin, `${PACKAGE}/index.html`, {}, tab);
        assert.ok(await waitFor(tab, () => player.frame.contentDocument.readyState === 'complete' &&
            player.calls.some(({ name }) => name === 'LMSCommit')), 'the lesson did not open');
        await press([0, 1, 2]);
        await tab.goto(`${session.host.origin}${COURSE}`);
        await tab.evaluate(() => history.back()).catch(() => null);
        assert.ok(await waitFor(tab, () => document.readyState === 'complete' &&
            typeof player === 'object'), "the platform's page did not come back");
        if (await tab.evaluate(() => player.restored)) {
            const { calls } = await tab.evaluate(() => held());
            first = calls.slice(0, calls.findIndex(({ name }) => name === 'LMSFinish') + 1 || undefined);
        }
    });
    it('left, the lesson committed the time spent and finished', (t) => {
        if (!restored(t))
            return;
        assert.deepEqual(first.slice(-3).map(({ name, args }) => [name, args[0]]),
            [['LMSSetValue', 'cmi.core.session_time'], ['LMSCommit', ''], ['LMSFinish', '']]);
        assert.equal(named({ calls: first }, 'LMSFinish').length, 1);
    });
    it('back from the cache, it begins a new session, "incomplete" as on opening', async (t) => {
        if (!restored(t))
            return;
        const seen = await heldOnce(tab, (held) => held.calls.slice(first.length)
            .some(({ name }) => name === 'LMSCommit'));
        assert.deepEqual(seen.calls.slice(first.length).map(({ name }) => name)
            .filter((name) => name !== 'LMSGetValue'), ['LMSInitialize', 'LMSSetValue', 'LMSCommit']);
        assert.equal(seen.status, 'incomplete');
        assert.deepEqual(refused(seen), []);
    });
    it('the other names selected then make it "completed"; closed, it finishes once more',
        async (t) => {
            if (!restored(t))
                return;
            await press([...Array(ROWS).keys()].slice(3));
            await heldOnce(tab, (held) => held.status === 'completed');
            await tab.evaluate(() => closeLesson());
            await heldOnce(tab, (held) => named(held, 'LMSFinish').length === 2);
            await sleep(500);
            const seen = await tab.evaluate(() => held());
            assert.deepEqual(statusesSet(seen), ['incomplete', 'incomplete', 'completed']);
            assert.equal(named(seen, 'LMSFinish').length, 2);
            assert.equal(seen.status, 'completed');
            assert.deepEqual(refused(seen), []);
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
    // The platform's own pages, and the site's icon, which Firefox asks for
    // once the platform's page has been left and come back to.
    const platform = (url) => url.startsWith(path.dirname(PLAYER) + '/') ||
        [COURSE, '/favicon.ico'].includes(url);
    const others = [...session.host.requested, ...session.otherSite.requested]
        .filter((url) => !platform(url) && !url.startsWith(`${PACKAGE}/`));
    assert.deepEqual(others, []);
});

function page() {
    return session.page;
}
