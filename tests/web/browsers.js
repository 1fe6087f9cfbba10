// Debian's own browsers, headless, driven by puppeteer-core: Chromium over
// its DevTools protocol, Firefox ESR over WebDriver BiDi. Nothing is
// downloaded; the driver comes from the npm packages the build installs.
'use strict';

const path = require('node:path');

// The folder whose node_modules holds puppeteer-core and axe-core.
const nodeDir = process.env.AMINO_NODE_DIR ||
    path.join(__dirname, '..', '..', 'build-web', 'tests', 'web', 'node');
const fromNodeDir = (name) => require(require.resolve(name, { paths: [nodeDir] }));

const engines = {
    chromium: {
        browser: 'chrome',
        executablePath: '/usr/bin/chromium',
        // Root in CI, where Chromium's sandbox cannot start; no GPU there either.
        args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-quic'],
        // Scroll bars shown, as pupils see them.
        ignoreDefaultArgs: ['--hide-scrollbars'],
        forcedColours: { args: ['--force-high-contrast'] },
    },
    firefox: {
        browser: 'firefox',
        executablePath: '/usr/bin/firefox-esr',
        args: [],
        ignoreDefaultArgs: [],
        // Page colours overridden always: Firefox's high-contrast mode.
        forcedColours: { extraPrefsFirefox: { 'browser.display.document_color_use': 2 } },
    },
};

// A browser of the engine ('chromium' or 'firefox') with a page of the given
// viewport size; forcedColours as under a high-contrast theme.
async function launch(engine, viewport, { forcedColours = false } = {}) {
    const known = engines[engine];
    if (!known)
        throw new Error(`unknown engine ${engine}: chromium or firefox`);
    const extra = forcedColours ? known.forcedColours : {};
    const browser = await fromNodeDir('puppeteer-core').launch({
        browser: known.browser,
        executablePath: known.executablePath,
        headless: true,
        args: [...known.args, ...(extra.args || [])],
        ignoreDefaultArgs: known.ignoreDefaultArgs,
        extraPrefsFirefox: extra.extraPrefsFirefox,
        defaultViewport: null,
        protocolTimeout: 60000,
    });
    const [page] = await browser.pages();
    await page.setViewport({ deviceScaleFactor: 1, ...viewport });
    return { browser, page };
}

module.exports = { launch, nodeDir };
