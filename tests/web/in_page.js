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

module.exports = { state, waitFor, waitForState, workingPage, heading, collectErrors, sleep };
