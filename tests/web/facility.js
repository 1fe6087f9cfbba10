// Tests that say so by name, and are skipped, where the browser lacks a
// protocol command they need; a missing facility never fails the suite or
// ends it, and the other tests still run.
'use strict';

const test = require('node:test');

// The command a driver error says the browser does not know, or null.
function lacked(error) {
    const message = String(error && error.message);
    const bidi = message.match(/unknown command (\S+)/);
    const cdp = message.match(/'([\w.]+)' wasn't found/);
    return (bidi && bidi[1]) || (cdp && cdp[1]) || null;
}

// What the browser of the tests now running lacks, for all of them.
let lacking = null;

// Runs setUp, a browser's start; one it lacks a command for leaves every
// test of that browser skipped.
async function starting(setUp) {
    lacking = null;
    try {
        await setUp();
    } catch (error) {
        lacking = lacked(error);
        if (!lacking)
            throw error;
    }
}

function it(name, fn) {
    return test.it(name, async (t) => {
        if (lacking) {
            t.skip(`the browser lacks ${lacking}`);
            return;
        }
        try {
            await fn(t);
        } catch (error) {
            const command = lacked(error);
            if (!command)
                throw error;
            t.skip(`the browser lacks ${command}`);
        }
    });
}

module.exports = { it, starting };
