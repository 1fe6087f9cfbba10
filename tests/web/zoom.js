// The page's own zoom, as pupils use it: Ctrl (⌘ on a Mac) with the keys,
// Ctrl with the wheel, the buttons and, on a touch screen, a pinch; in the
// page's own tab or in the frame it is put in.
'use strict';

const assert = require('node:assert/strict');

const { it } = require('./facility.js');
const { click, sleep } = require('./in_page.js');

// Browsers round lengths to 1/60 px (Firefox) or 1/64 px (Chromium), and a
// font's height above and below the line each to whole pixels: a size twice
// another may come out that much short.
const ROUNDING = 1 / 30;
const WHOLE_PIXELS = 2;
// Presses of Ctrl and = that a pupil would try before giving up.
const PRESSES = 12;

// The zoom the page shows, in per cent: 100 while its way back is hidden.
function shownZoom() {
    const back = document.getElementById('ZoomReset');
    return back.hidden ? 100 : parseInt(back.textContent, 10);
}

// How tall each caption's text, the list's first name and the lesson's text
// stand on the screen: the size of their font, and the height of the text's
// box (of none for the lesson: a text box's lines are not in the document).
function textHeights(ids) {
    const range = document.createRange();
    const heights = (element) => {
        range.selectNodeContents(element);
        return [parseFloat(getComputedStyle(element).fontSize),
            element.localName === 'textarea' ? 0 : range.getBoundingClientRect().height];
    };
    return {
        ...Object.fromEntries(ids.map((id) =>
            [id, heights(document.querySelector(`#${id} span`) || document.getElementById(id))])),
        'the first name': heights(document.getElementById('List1_0_0')),
        'the lesson': heights(document.getElementById('Text1_0')),
    };
}

// Where the form's edges are in the part of the page that scrolls it, once
// scrolled to its start and once to its end: 0 where an edge can be reached.
function formEdges() {
    const body = document.body;
    const form = document.getElementById('MainForm');
    const view = () => {
        const box = body.getBoundingClientRect();
        return { left: box.left + body.clientLeft, top: box.top + body.clientTop,
            right: box.left + body.clientLeft + body.clientWidth,
            bottom: box.top + body.clientTop + body.clientHeight };
    };
    body.scrollTo(0, 0);
    const start = form.getBoundingClientRect();
    const seenFirst = view();
    body.scrollTo(body.scrollWidth, body.scrollHeight);
    const end = form.getBoundingClientRect();
    const seenLast = view();
    return [start.left - seenFirst.left, start.top - seenFirst.top,
        seenLast.right - end.right, seenLast.bottom - end.bottom];
}

// The control that has the focus, and whether it is in view: on each axis
// all of it, or at least half the view for a control larger than that (the
// height less the buttons' strip at the top).
function focusInView(strip) {
    const control = document.activeElement;
    if (!control || control === document.body)
        return null;
    const body = document.body;
    const box = control.getBoundingClientRect();
    const view = body.getBoundingClientRect();
    const left = view.left + body.clientLeft;
    const top = view.top + body.clientTop;
    const seen = (from, to, start, size) =>
        Math.max(0, Math.min(to, start + size) - Math.max(from, start));
    const shownWidth = seen(box.left, box.right, left, body.clientWidth);
    const shownHeight = seen(box.top, box.bottom, top, body.clientHeight);
    const name = control.id || control.closest('[id]').id;
    return { name, shown: shownWidth >= Math.min(box.width, body.clientWidth / 2) - 1 &&
        shownHeight >= Math.min(box.height, (body.clientHeight - strip) / 2) - 1 };
}

// The focus once the page has had two frames to scroll to it.
async function settledFocus(view) {
    await view.evaluate(() => new Promise((resolve) =>
        requestAnimationFrame(() => requestAnimationFrame(resolve))));
    return view.evaluate(focusInView, 28);
}

// Where a point of the view lies in the form, as shares of its size.
function shareOfForm(x, y) {
    const box = document.getElementById('MainForm').getBoundingClientRect();
    return [(x - box.left) / box.width, (y - box.top) / box.height];
}

const centreOf = (view, selector) => view.$eval(selector, (element) => {
    const box = element.getBoundingClientRect();
    return [box.left + box.width / 2, box.top + box.height / 2];
});

// The keyboard's focus on the control, after a click on the lesson (which
// changes nothing) that takes the keys into a frame, as a pupil's would.
async function focusOn(view, selector) {
    await click(view, '#Text1_0');
    await view.focus(selector);
}

async function chord(page, modifier, key) {
    await page.keyboard.down(modifier);
    try {
        await page.keyboard.press(key);
    } finally {
        await page.keyboard.up(modifier);
    }
}

// The zoom shown once it is no longer the one given (or after a second):
// the page answers a wheel in its own time.
async function zoomChangedFrom(view, from) {
    const end = Date.now() + 1000;
    let seen;
    while ((seen = await view.evaluate(shownZoom)) === from && Date.now() < end)
        await sleep(20);
    return seen;
}

// Presses Ctrl and = until the page shows the zoom wanted; the zoom then.
async function zoomedByKeys(page, view, wanted) {
    for (let presses = 0; presses < PRESSES && await view.evaluate(shownZoom) < wanted; ++presses)
        await chord(page, 'Control', 'Equal');
    return view.evaluate(shownZoom);
}

// The zoom's tests in a session whose page or frame (session.view(), else
// session.page) is at the fitted size. where names the window; touch, that it
// is a touch screen; audit and screenshot as the suite has them.
function zoomTests(session, where, { expected, audit, screenshot, touch = false, wheel = true }) {
    const page = () => session.page;
    const view = () => (session.view ? session.view() : session.page);
    const ids = expected.captions.map(([id]) => id);
    let fitted;

    it(`${where}: Ctrl and = up to 200 % stand every caption and the lesson twice as tall`,
        async () => {
            fitted = await view().evaluate(textHeights, ids);
            await focusOn(view(), '#List1_0');
            assert.equal(await zoomedByKeys(page(), view(), 200), 200);
            const zoomed = await view().evaluate(textHeights, ids);
            const short = Object.keys(fitted).filter((it) =>
                zoomed[it][0] < 2 * fitted[it][0] - ROUNDING ||
                zoomed[it][1] < 2 * fitted[it][1] - WHOLE_PIXELS)
                .map((it) => `${it}: ${fitted[it]} to ${zoomed[it]} px`);
            assert.deepEqual(short, []);
            await screenshot(page(), '200');
        });
    it(`${where}: at 200 %, axe-core finds nothing against WCAG 2 A/AA`, () => audit(view()));
    it(`${where}: on to 400 %, where both ends of the form can be scrolled to`, async () => {
        assert.equal(await zoomedByKeys(page(), view(), 400), 400);
        const edges = await view().evaluate(formEdges);
        assert.ok(edges.every((edge) => Math.abs(edge) <= 1), `edges ${edges}`);
    });
    it(`${where}: at 400 %, Tab brings each control it reaches into view`, async () => {
        // Onto the lesson by the keyboard too: Tab to the next control and
        // Shift and Tab back.
        await focusOn(view(), '#Text1_0');
        await page().keyboard.press('Tab');
        await chord(page(), 'Shift', 'Tab');
        const reached = [];
        for (let control; (control = await settledFocus(view())) &&
            !reached.some((it) => it.name === control.name);)
        {
            reached.push(control);
            await page().keyboard.press('Tab');
        }
        // Tab from the last button leaves a frame for the page around it.
        await focusOn(view(), '#List1_0');
        assert.deepEqual(reached.filter((it) => !it.shown), []);
        // The option buttons are one stop, at the one chosen if any.
        assert.deepEqual(reached.map((it) => it.name.replace(/^Option1_\d$/, 'Option1')),
            ['Text1_0', 'Check1_0', 'Check1_1', 'Check1_2', 'List1_0', 'Option1', 'ZoomReset',
                'ZoomOut', 'ZoomIn']);
        await screenshot(page(), '400');
    });
    it(`${where}: Ctrl and − a step down, Ctrl and 0 back to the fitted size`, async () => {
        await chord(page(), 'Control', 'Minus');
        assert.equal(await view().evaluate(shownZoom), 300);
        await chord(page(), 'Control', 'Digit0');
        assert.equal(await view().evaluate(shownZoom), 100);
        assert.deepEqual(await view().evaluate(textHeights, ids), fitted);
    });
    // As browsers' own zoom takes them, on a Mac too.
    const ways = [['in', ['Control', 'Equal'], ['Control', '+'], ['Control', 'NumpadAdd'],
        ['Meta', 'Equal']],
    ['out', ['Control', 'Minus'], ['Control', 'NumpadSubtract'], ['Meta', 'Minus']],
    ['back', ['Control', 'Digit0'], ['Control', 'Numpad0'], ['Meta', 'Digit0']]];
    const from = { in: 100, out: 125, back: 110 };
    const to = { in: 110, out: 110, back: 100 };
    it(`${where}: each of the keys zooms, with Ctrl or ⌘`, async () => {
        const wrong = [];
        for (const [direction, ...chords] of ways) {
            for (const [modifier, key] of chords) {
                await chord(page(), 'Control', 'Digit0');
                await zoomedByKeys(page(), view(), from[direction]);
                await chord(page(), modifier, key);
                const seen = await view().evaluate(shownZoom);
                if (seen !== to[direction])
                    wrong.push(`${modifier} and ${key}: ${from[direction]} to ${seen} %`);
            }
        }
        await chord(page(), 'Control', 'Digit0');
        assert.deepEqual(wrong, []);
    });
    it(`${where}: the buttons zoom in, out and back, and the focus stays on them`, async () => {
        await click(view(), '#ZoomIn');
        await click(view(), '#ZoomIn');
        const zoomedIn = await view().evaluate(shownZoom);
        await click(view(), '#ZoomOut');
        const zoomedOut = await view().evaluate(shownZoom);
        await click(view(), '#ZoomReset');
        assert.deepEqual([zoomedIn, zoomedOut, await view().evaluate(shownZoom)], [125, 110, 100]);
        assert.equal(await view().evaluate(() => document.activeElement.id), 'ZoomIn');
    });
    if (wheel) {
        // From 200 %, where the form is larger than the view and a step in can
        // keep any place in view where it is.
        it(`${where}: Ctrl and the wheel, a step a notch, keep the place under the pointer`,
            async () => {
                await focusOn(view(), '#List1_0');
                await zoomedByKeys(page(), view(), 200);
                const [x, y] = await view().evaluate(() => [innerWidth * 0.3, innerHeight * 0.4]);
                const before = await view().evaluate(shareOfForm, x, y);
                await page().mouse.move(x, y);
                await page().keyboard.down('Control');
                try {
                    await page().mouse.wheel({ deltaY: -100 });
                    const zoomed = await zoomChangedFrom(view(), 200);
                    const after = await view().evaluate(shareOfForm, x, y);
                    await page().mouse.wheel({ deltaY: 100 });
                    assert.deepEqual([zoomed, await zoomChangedFrom(view(), zoomed)], [250, 200]);
                    assert.ok(after.every((share, i) => Math.abs(share - before[i]) < 0.002),
                        `${before} to ${after}`);
                } finally {
                    await page().keyboard.up('Control');
                    await chord(page(), 'Control', 'Digit0');
                }
            });
    }
    if (touch) {
        it(`${where}: two fingers spread on the form zoom it, the place between them kept`,
            async () => {
                const [x, y] = await centreOf(view(), '#MainForm');
                const before = await view().evaluate(shareOfForm, x, y);
                const fingers = [await page().touchscreen.touchStart(x - 30, y),
                    await page().touchscreen.touchStart(x + 30, y)];
                for (let step = 1; step <= 10; ++step) {
                    await fingers[0].move(x - 30 - 6 * step, y);
                    await fingers[1].move(x + 30 + 6 * step, y);
                }
                await Promise.all(fingers.map((finger) => finger.end()));
                const after = await view().evaluate(shareOfForm, x, y);
                const zoomed = await view().evaluate(shownZoom);
                await click(view(), '#ZoomReset');
                assert.equal(zoomed, 300);
                assert.ok(after.every((share, i) => Math.abs(share - before[i]) < 0.002),
                    `${before} to ${after}`);
            });
    }
}

module.exports = { zoomTests, shownZoom };
