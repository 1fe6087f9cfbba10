#!/usr/bin/env node
// The web page as pupils get it, in one browser engine: the zip unpacked and
// opened from the folder (file://) on a whiteboard's screen, on a phone held
// upright and then sideways, and under a high-contrast theme; then served
// from a loopback web server, kept offline and updated (offline.js).
//
//   node --test-reporter=spec test_web.js chromium|firefox PAGE.zip EXPECTED_FORM.json CMAKE \
//       WEB-SOURCE-DIR [SCREENSHOT-DIR]
//
// What a pupil must see comes from the expected form that every suite reads.
// The next version is the page with another heading and another script, its
// service worker made again by the build's own step (CMAKE and WEB-SOURCE-DIR).
'use strict';

const assert = require('node:assert/strict');
const childProcess = require('node:child_process');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { describe, before, after } = require('node:test');
const zlib = require('node:zlib');

const { launch, setViewport, nodeDir } = require('./browsers.js');
const { expectedForm } = require('./expected.js');
const { it, starting } = require('./facility.js');
const { state, waitFor, waitForState, workingPage, collectErrors } = require('./in_page.js');
const { offlineTests } = require('./offline.js');
const { digests, nextVersion, serve, serveFraming, lessonFrame } = require('./site.js');
const { zoomTests } = require('./zoom.js');

const [engine, zip, formFile, cmake, webSource, shots] = process.argv.slice(2);
if (!webSource) {
    console.error('usage: node --test-reporter=spec test_web.js chromium|firefox PAGE.zip ' +
        'EXPECTED_FORM.json CMAKE WEB-SOURCE-DIR [SCREENSHOT-DIR]');
    process.exit(2);
}
const expected = expectedForm(formFile);
const NEXT_HEADING = `${expected.heading} 2`;
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js', { paths: [nodeDir] }), 'utf8');

const work = fs.mkdtempSync(path.join(os.tmpdir(), `aminokiselini-web-${engine}-`));
process.on('exit', () => fs.rmSync(work, { recursive: true, force: true }));
childProcess.execFileSync('unzip', ['-q', zip, '-d', work]);
const folder = path.join(work, path.basename(zip, '.zip'));
const url = `file://${path.join(folder, 'index.html')}`;
const next = nextVersion(folder, NEXT_HEADING, cmake, webSource);

const collapsed = (text) => text.replace(/\s+/g, ' ').trim();

// The tests that body declares, run in a browser of their own at the viewport
// given (session.browser, session.page, session.errors), opened at url if any.
// The form's checks look at session.view() where the body sets it (a frame),
// else at the page.
function inBrowser(title, viewport, { forcedColours = false, open } = {}, body) {
    describe(title, () => {
        const session = {};
        before(() => starting(async () => {
            Object.assign(session, await launch(engine, viewport, { forcedColours }));
            session.errors = collectErrors(session.page);
            if (open)
                await session.page.goto(open);
        }));
        after(() => session.browser && session.browser.close());
        body(session);
    });
}

async function screenshot(page, name) {
    if (shots)
        await page.screenshot({ path: path.join(shots, `web-${engine}-${name}.png`) });
}

const viewOf = (session) => (session.view ? session.view() : session.page);

// Where each control is in the form and how large, its background, the
// viewport and what it would scroll.
function measured(view) {
    return view.evaluate((boxes) => {
        const form = document.getElementById('MainForm').getBoundingClientRect();
        const system = (colour) => {
            const probe = document.createElement('div');
            probe.style.background = colour;
            document.body.append(probe);
            const seen = getComputedStyle(probe).backgroundColor;
            probe.remove();
            return seen;
        };
        const [root, body] = [document.documentElement, document.body];
        return {
            viewport: [innerWidth, innerHeight], form: [form.left, form.top],
            scroll: [Math.max(root.scrollWidth, body.scrollWidth),
                Math.max(root.scrollHeight, body.scrollHeight)],
            font: parseFloat(getComputedStyle(document.getElementById('MainForm')).fontSize),
            boxes: boxes.map(([id, , colour]) => {
                const it = document.getElementById(id);
                const r = it.getBoundingClientRect();
                return { id, box: [r.left - form.left, r.top - form.top, r.width, r.height],
                    colour: getComputedStyle(it).backgroundColor,
                    expected: colour.startsWith('rgb') ? colour : system(colour) };
            }),
        };
    }, expected.boxes);
}

const near = (a, b) => Math.abs(a - b) <= 0.1;
const scaleOf = ([width, height]) =>
    Math.min(width / expected.client.width, height / expected.client.height);

// The whole form at the largest scale at which it fits the viewport, centred,
// every control where the window has it relative to the form, the text scaled
// alike, and nothing to scroll; the zoom's buttons in view and clear of every
// control. before() may change the viewport first.
function fillsViewport(session, where, before) {
    it(`${where}: the form fills the viewport at the largest scale, centred, nothing to scroll`,
        async () => {
            if (before)
                await before();
            const seen = await measured(viewOf(session));
            const [width, height] = seen.viewport;
            const scale = scaleOf(seen.viewport);
            assert.ok(near(seen.form[0], (width - expected.client.width * scale) / 2) &&
                near(seen.form[1], (height - expected.client.height * scale) / 2) &&
                seen.scroll[0] <= width && seen.scroll[1] <= height,
            `${width}x${height} at ${scale.toFixed(3)}x: form at ${seen.form}, page ${seen.scroll}`);
        });
    it(`${where}: the text is scaled with it`, async () => {
        const seen = await measured(viewOf(session));
        assert.ok(near(seen.font, expected.fontPixels * scaleOf(seen.viewport)), `${seen.font}px`);
    });
    it(`${where}: every control keeps its place, size and colour in the form`, async () => {
        const seen = await measured(viewOf(session));
        const scale = scaleOf(seen.viewport);
        const wrong = seen.boxes.filter(({ box, colour, expected: wanted }, i) =>
            !expected.boxes[i][1].every((v, k) => near(box[k], v * scale)) || colour !== wanted);
        assert.deepEqual(wrong, []);
    });
    it(`${where}: the zoom's buttons are in view and cover no control`, async () => {
        const seen = await viewOf(session).evaluate((ids) => {
            const buttons = document.getElementById('Zoom').getBoundingClientRect();
            const covered = ids.filter((id) => {
                const box = document.getElementById(id).getBoundingClientRect();
                return box.left < buttons.right && buttons.left < box.right &&
                    box.top < buttons.bottom && buttons.top < box.bottom;
            });
            const inView = buttons.width > 0 && buttons.left >= 0 && buttons.top >= 0 &&
                buttons.right <= innerWidth && buttons.bottom <= innerHeight;
            return { inView, covered };
        }, expected.boxes.map(([id]) => id).filter((id) => id !== 'MainForm'));
        assert.deepEqual(seen, { inView: true, covered: [] });
    });
}

// The WCAG 2 A and AA rules of axe-core; the page's policy allows no
// injected script, so it runs as the driver's own evaluation.
async function audit(view) {
    await view.evaluate(axeSource);
    const violations = await view.evaluate(() => axe.run(document, {
        runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa'] },
        // Reading the style sheets again is refused from file://.
        preload: false,
    }).then((results) => results.violations.map((v) =>
        `${v.id} at ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`)));
    assert.deepEqual(violations, []);
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

const selectedName = (page) =>
    page.$eval('#List1_0 [aria-selected="true"]', (item) => item.textContent).catch(() => null);
const shows = ({ checks, option }) => `${checks} / option ${option}`;
// The row the test presses for one in the same turn, and the letter typed.
const ARGININE = 12;
const TYPED = 'а';

it('the zip dates its files at the build', () => {
    // Hosts send a file's date as Last-Modified; an old one keeps a new
    // version from browsers.
    const epoch = process.env.SOURCE_DATE_EPOCH;
    const built = epoch ? Number(epoch) * 1000 : fs.statSync(zip).mtimeMs;
    const dates = Object.keys(digests(folder)).filter((file) => file !== './')
        .map((file) => fs.statSync(path.join(folder, file)).mtimeMs);
    assert.ok(dates.every((date) => Math.abs(date - built) < 24 * 3600 * 1000),
        `oldest ${new Date(Math.min(...dates)).toISOString()}`);
});

it('the page, all its files, weighs under 150 KiB gzipped', () => {
    // A school's connection, a class of thirty at once.
    const files = Object.keys(digests(folder)).filter((file) => file !== './');
    const weight = files.reduce((sum, file) =>
        sum + zlib.gzipSync(fs.readFileSync(path.join(folder, file))).length, 0);
    assert.ok(weight < 150 * 1024, `${(weight / 1024).toFixed(1)} KiB`);
});

inBrowser('on a whiteboard, 1920 x 1080, from the folder', { width: 1920, height: 1080 },
    { open: url }, (session) => {
        const page = () => session.page;
        it("the page's title is the window's", async () => {
            assert.equal(collapsed(await page().title()), collapsed(expected.title));
        });
        it('its language is Bulgarian', async () => {
            assert.equal(await page().evaluate(() => document.documentElement.lang), 'bg');
        });
        it("the page's code runs from file:// and undoes a hand change", async () => {
            assert.ok(await workingPage(page()));
        });
        it('nothing is selected and every indicator is clear at start', async () => {
            assert.deepEqual(await page().evaluate(state), expected.cleared);
            assert.equal(await selectedName(page()), null);
        });
        it("every caption is the window's", async () => {
            const seen = await page().evaluate((ids) => ids.map((id) =>
                [id, document.getElementById(id).textContent.trim()]), expected.captions.map(([id]) => id));
            assert.deepEqual(seen, expected.captions);
        });
        it('the list and the lesson have their names for screen readers', async () => {
            const seen = await page().evaluate((ids) => ids.map((id) =>
                [id, document.getElementById(id).getAttribute('aria-label')]), expected.names.map(([id]) => id));
            assert.deepEqual(seen, expected.names);
        });
        it("the lesson holds the window's text, line by line", async () => {
            const lines = await page().$eval('#Text1_0', (text) => text.value.split('\n'));
            assert.deepEqual(lines, [...expected.lesson, '']);
        });
        it('the list holds the twenty names, in order', async () => {
            const names = await page().$$eval('#List1_0 [role="option"]', (rows) =>
                rows.map((row) => row.textContent));
            assert.deepEqual(names, expected.rows.map(({ name }) => name));
        });
        fillsViewport(session, 'on a whiteboard');
        it("the two code lists hold the twenty rows' codes and are never shown", async () => {
            const seen = await page().evaluate((ids) => ids.map((id) => {
                const list = document.getElementById(id);
                return [[...list.children].map((item) => item.textContent), list.getClientRects().length];
            }), expected.hidden);
            assert.deepEqual(seen, [[expected.rows.map(({ nutrition }) => nutrition), 0],
                [expected.rows.map(({ residue }) => residue), 0]]);
        });
        it('axe-core finds nothing against WCAG 2 A/AA at start', () => audit(page()));

        for (const [row, { name, ...classes }] of expected.rows.entries()) {
            it(`a click on ${name} shows ${shows(classes)}`, async () => {
                await page().click(`#List1_0_${row}`);
                assert.equal(await page().$eval(`#List1_0_${row}`, (item) => item.textContent), name);
                assert.deepEqual(await page().evaluate(state), [classes.checks, classes.option]);
            });
        }
        for (const [row, { name, ...classes }] of expected.rows.entries()) {
            it(`the arrow keys to ${name} show ${shows(classes)}`, async () => {
                if (row) {
                    await page().keyboard.press('ArrowDown');
                } else {
                    await page().focus('#List1_0');
                    await page().keyboard.press('Home');
                }
                assert.equal(await selectedName(page()), name);
                assert.deepEqual(await page().evaluate(state), [classes.checks, classes.option]);
            });
        }
        const typedTo = expected.rows.find(({ name }) => name.toLowerCase().startsWith(TYPED)).name;
        it(`typing ${TYPED} in the list goes to ${typedTo}`, async () => {
            // Not every driver types Cyrillic keys; the letter is the page's own event.
            await page().keyboard.press('Home');
            await page().evaluate((key) => document.getElementById('List1_0').dispatchEvent(
                new KeyboardEvent('keydown', { key, bubbles: true })), TYPED);
            assert.equal(await selectedName(page()), typedTo);
        });
        const pressed = expected.rows[ARGININE];
        it(`${pressed.name} shows its classes in the same turn as the press`, async () => {
            // Read in the same turn as the press, before any tick.
            assert.deepEqual(await page().evaluate(state, ARGININE), [pressed.checks, pressed.option]);
        });
        it('the hand changes take', async () => {
            // Both changed in one turn, so that no tick comes between.
            const changed = await page().evaluate(() => ['#Check1_0 input', '#Option1_0 input']
                .map((input) => {
                    document.querySelector(input).click();
                    return document.querySelector(input).checked;
                }));
            assert.deepEqual(changed, [true, true]);
        });
        it('both hand changes are undone within a second', async () => {
            assert.deepEqual(await waitForState(page(), [pressed.checks, pressed.option], 1000),
                [pressed.checks, pressed.option]);
        });
        it(`idle for a second, ${pressed.name} selected, nothing in the page changes`, async () => {
            const mutations = await page().evaluate(() => new Promise((resolve) => {
                const seen = [];
                const observer = new MutationObserver((records) => seen.push(...records.map((r) =>
                    `${r.type} ${r.target.id || r.target.nodeName} ${r.attributeName || ''}`)));
                observer.observe(document, { subtree: true, childList: true, attributes: true,
                    characterData: true });
                setTimeout(() => resolve(seen), 1000);
            }));
            assert.deepEqual(mutations, []);
        });
        it('the selected row reads at 4.5:1 or better, the list focused', async () => {
            await page().focus('#List1_0');
            const contrast = await page().evaluate(selectionContrast);
            assert.ok(contrast >= 4.5, `${contrast.toFixed(2)}:1`);
        });
        it(`axe-core finds nothing with ${pressed.name} selected and the list focused`, async () => {
            await audit(page());
            await screenshot(page(), '1920x1080');
        });
        it('the selected row reads at 4.5:1 or better, the focus elsewhere', async () => {
            await page().focus('#Text1_0');
            const contrast = await page().evaluate(selectionContrast);
            assert.ok(contrast >= 4.5, `${contrast.toFixed(2)}:1`);
        });
        it(`axe-core finds nothing with ${pressed.name} selected and the focus in the lesson`,
            () => audit(page()));
        zoomTests(session, 'on a whiteboard', { expected, audit,
            screenshot: (shown, zoom) => screenshot(shown, `1920x1080-${zoom}`) });
        fillsViewport(session, 'on a whiteboard, back at the fitted size');
        it('no console error', () => assert.deepEqual(session.errors, []));
    });

// A pupil with low vision at a laptop, the browser's bars taking their share.
inBrowser('on a laptop, 1366 x 657, from the folder', { width: 1366, height: 657 }, { open: url },
    (session) => {
        fillsViewport(session, 'on a laptop');
        zoomTests(session, 'on a laptop', { expected, audit,
            screenshot: (shown, zoom) => screenshot(shown, `1366x657-${zoom}`) });
        fillsViewport(session, 'on a laptop, back at the fitted size');
        it('no console error', () => assert.deepEqual(session.errors, []));
    });

inBrowser('on a phone, 360 x 740, upright then sideways, from the folder',
    { width: 360, height: 740, deviceScaleFactor: 3, isMobile: true, hasTouch: true }, { open: url },
    (session) => {
        const page = () => session.page;
        it('the page works on a phone', async () => assert.ok(await workingPage(page())));
        fillsViewport(session, 'upright');
        const [first] = expected.rows;
        it(`a tap on ${first.name} shows its classes`, async () => {
            await page().click('#List1_0_0');
            assert.deepEqual(await page().evaluate(state), [first.checks, first.option]);
            await screenshot(page(), '360x740');
        });
        zoomTests(session, 'upright', { expected, audit, touch: true, wheel: false,
            screenshot: (shown, zoom) => screenshot(shown, `360x740-${zoom}`) });
        fillsViewport(session, 'upright, back at the fitted size');
        // Turned sideways: the form follows at once, with no script of its own.
        fillsViewport(session, 'sideways, 844 x 390', async () => {
            await setViewport(page(),
                { width: 844, height: 390, deviceScaleFactor: 3, isMobile: true, hasTouch: true });
            await page().evaluate(() => new Promise((resolve) => requestAnimationFrame(resolve)));
        });
        it('sideways as upright, no console error', async () => {
            await screenshot(page(), '844x390');
            assert.deepEqual(session.errors, []);
        });
        // Headless Firefox has no pinch of its own to try.
        if (engine === 'chromium') {
            it("two fingers spread beside the form zoom with the browser's own pinch", async () => {
                const [x, y] = await page().$eval('#MainForm', (form) => {
                    const box = form.getBoundingClientRect();
                    return [box.right + (innerWidth - box.right) / 2, innerHeight / 2];
                });
                const fingers = [await page().touchscreen.touchStart(x, y - 30),
                    await page().touchscreen.touchStart(x, y + 30)];
                for (let step = 1; step <= 10; ++step) {
                    await fingers[0].move(x, y - 30 - 6 * step);
                    await fingers[1].move(x, y + 30 + 6 * step);
                }
                await Promise.all(fingers.map((finger) => finger.end()));
                const seen = await waitFor(page(), () => visualViewport.scale > 1 &&
                    [visualViewport.scale, document.getElementById('ZoomReset').hidden], 2000);
                assert.deepEqual(seen && seen[1], true, `visual scale ${seen && seen[0]}`);
            });
        }
    });

// A high-contrast theme keeps its own colours, the selection's included.
inBrowser('under forced colours, from the folder', { width: 1024, height: 768 },
    { forcedColours: true, open: url }, (session) => {
        const page = () => session.page;
        it('forced colours are on', async () => {
            assert.ok(await page().evaluate(() => matchMedia('(forced-colors: active)').matches));
            await page().click(`#List1_0_${ARGININE}`);
        });
        for (const where of ['the list focused', 'the focus elsewhere']) {
            it(`${where}, the selected row is in the system's selection colours, unlike the others`,
                async () => {
                    if (where !== 'the list focused')
                        await page().focus('#Text1_0');
                    const seen = await page().evaluate((row) => {
                        const colours = (it) =>
                            [getComputedStyle(it).color, getComputedStyle(it).backgroundColor];
                        const probe = document.createElement('div');
                        probe.style.cssText = 'color: HighlightText; background: Highlight';
                        document.body.append(probe);
                        const system = colours(probe);
                        probe.remove();
                        return { selected: colours(document.getElementById(`List1_0_${row}`)),
                            other: colours(document.getElementById(`List1_0_${row - 1}`)), system };
                    }, ARGININE);
                    assert.deepEqual(seen.selected, seen.system);
                    assert.notEqual(seen.selected[1], seen.other[1]);
                });
        }
    });

// Put in a frame by a site on another origin, as a school's website or a
// learning platform does, from a phone's width to a whiteboard: the form fills
// the frame and zooms in it, at the form's own size too. (The frame's own
// offline copy: offline.js.)
const FRAMES = [[320, 480], [expected.client.width, expected.client.height], [800, 500],
    [1920, 1080]];
inBrowser('in a frame on another origin, over HTTP', { width: 1940, height: 1100 }, {},
    (session) => {
        const hosts = {};
        before(async () => {
            hosts.lesson = await serve(folder);
            hosts.framing = await serveFraming(`${hosts.lesson.origin}/index.html`, ...FRAMES[0]);
        });
        after(() => {
            for (const host of Object.values(hosts))
                host.stop();
        });
        let frame = null;
        session.view = () => frame;
        it('the page opens in the frame and works', async () => {
            await session.page.goto(hosts.framing.url);
            frame = await lessonFrame(session.page, hosts.lesson.origin);
            assert.ok(frame, 'no frame of the page');
            assert.ok(await workingPage(frame));
        });
        for (const [width, height] of FRAMES) {
            const where = `in a ${width} x ${height} frame`;
            fillsViewport(session, where, async () => {
                await session.page.$eval('#lesson', (lesson, size) => {
                    [lesson.style.width, lesson.style.height] = size.map((length) => `${length}px`);
                }, [width, height]);
                assert.ok(await waitFor(frame, (size) => innerWidth === size[0] &&
                    innerHeight === size[1], 5000, [width, height]), 'the frame is not that size');
                await screenshot(session.page, `frame-${width}x${height}`);
            });
            zoomTests(session, where, { expected, audit, wheel: false,
                screenshot: (shown, zoom) => screenshot(shown, `frame-${width}x${height}-${zoom}`) });
        }
        it('no console error', () => assert.deepEqual(session.errors, []));
    });

offlineTests({ inBrowser, work, folder, next, expected, nextHeading: NEXT_HEADING });
