// What the checks read from the page, and the waits they need.
'use strict';

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// The indicators as [checks, option]: '011' and 3 for Аргинин. Given a row,
// presses it first, in the same turn. Runs in the page.
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

// The indicators once they show expected, or as they are after timeout.
async function waitForState(page, expected, timeout) {
    const end = Date.now() + timeout;
    let seen;
    do {
        seen = await page.evaluate(state);
        if (JSON.stringify(seen) === JSON.stringify(expected))
            break;
        await sleep(20);
    } while (Date.now() < end);
    return seen;
}

// The page's code answers: a hand-checked box is cleared again while nothing
// is selected (so nothing was selected at start).
async function workingPage(page) {
    await page.evaluate(() => document.querySelector('#Check1_0 input').click());
    return !!(await waitFor(page, () => !document.querySelector('#Check1_0 input').checked));
}

const heading = (page) => page.$eval('#Label1_0', (label) => label.textContent).catch(() => null);

function collectErrors(page) {
    const errors = [];
    page.on('console', (message) => {
        if (message.type() === 'error')
            errors.push(message.text());
    });
    page.on('pageerror', (error) => errors.push(String(error)));
    return errors;
}

// The frame's element in the page around it (its iframe). Found by asking
// each of the parent's iframes for its frame: puppeteer's own
// frame.frameElement() asks over WebDriver BiDi with a locator Firefox ESR
// 140 does not know, and its clicks in a frame go through that.
async function frameElement(frame) {
    for (const element of await frame.parentFrame().$$('iframe, frame')) {
        if (await element.contentFrame().catch(() => null) === frame)
            return element;
        await element.dispose();
    }
    throw new Error(`no element of the page around it holds the frame ${frame.url()}`);
}

// A click on the element selector names in a page or frame, as puppeteer's
// click makes it: the element scrolled to the centre unless all of it is in
// view, then the mouse pressed at the centre of the part of it in the view.
// In a frame, the point is moved by where each frame's content starts in the
// page around it.
async function click(view, selector) {
    if (!view.parentFrame || !view.parentFrame())
        return view.click(selector);
    let [x, y] = await view.$eval(selector, async (element) => {
        const shown = await new Promise((resolve) => {
            const observer = new IntersectionObserver((entries) => {
                resolve(entries[0].intersectionRatio);
                observer.disconnect();
            });
            observer.observe(element);
        });
        if (shown !== 1)
            element.scrollIntoView({ block: 'center', inline: 'center', behavior: 'instant' });
        const box = element.getBoundingClientRect();
        const root = document.documentElement;
        const [left, top] = [Math.max(box.left, 0), Math.max(box.top, 0)];
        const [right, bottom] = [Math.min(box.right, root.clientWidth),
            Math.min(box.bottom, root.clientHeight)];
        return [(left + right) / 2, (top + bottom) / 2];
    });
    for (let frame = view; frame.parentFrame(); frame = frame.parentFrame()) {
        const element = await frameElement(frame);
        const [left, top] = await element.evaluate((it) => {
            const box = it.getBoundingClientRect();
            const style = getComputedStyle(it);
            return [box.left + it.clientLeft + parseFloat(style.paddingLeft),
                box.top + it.clientTop + parseFloat(style.paddingTop)];
        });
        await element.dispose();
        [x, y] = [x + left, y + top];
    }
    await view.page().mouse.click(x, y);
}

module.exports = { state, waitFor, waitForState, workingPage, heading, collectErrors, sleep, click };
