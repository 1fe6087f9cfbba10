// Debian's own browsers, headless, driven by puppeteer-core: Chromium over
// its DevTools protocol, Firefox ESR over WebDriver BiDi. Nothing is
// downloaded; the driver comes from the npm packages the build installs.
// AMINO_CHROMIUM and AMINO_FIREFOX name other builds of the same browsers.
'use strict';

const path = require('node:path');

// The folder whose node_modules holds puppeteer-core and axe-core.
const nodeDir = process.env.AMINO_NODE_DIR ||
    path.join(__dirname, '..', '..', 'build-web', 'tests', 'web', 'node');
const fromNodeDir = (name) => require(require.resolve(name, { paths: [nodeDir] }));

const engines = {
    chromium: {
        browser: 'chrome',
        executablePath: process.env.AMINO_CHROMIUM || '/usr/bin/chromium',
        // Root in CI, where Chromium's sandbox cannot start; no GPU there either.
        args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--disable-quic'],
        // Scroll bars shown, as pupils see them.
        ignoreDefaultArgs: ['--hide-scrollbars'],
        forcedColours: { args: ['--force-high-contrast'] },
        scriptless: { args: ['--blink-settings=scriptEnabled=false'] },
    },
    firefox: {
        browser: 'firefox',
        executablePath: process.env.AMINO_FIREFOX || '/usr/bin/firefox-esr',
        args: [],
        ignoreDefaultArgs: [],
        // Page colours overridden always: Firefox's high-contrast mode.
        forcedColours: { extraPrefsFirefox: { 'browser.display.document_color_use': 2 } },
        // Set at the start: Firefox ESR knows no WebDriver BiDi command for it.
        scriptless: { extraPrefsFirefox: { 'javascript.enabled': false } },
    },
};

// The page's viewport: width, height and deviceScaleFactor, with isMobile
// and hasTouch for Chromium. Over WebDriver BiDi only the command every
// Firefox ESR Debian ships knows, browsingContext.setViewport: puppeteer's
// own setViewport also sends emulation.setScreenOrientationOverride, which
// Firefox 140 lacks, and no check here needs the screen's orientation.
async function setViewport(page, viewport) {
    const { width, height, deviceScaleFactor = 1 } = viewport;
    if (page.browser().protocol === 'cdp') {
        await page.setViewport({ ...viewport, deviceScaleFactor });
        return;
    }
    const connection = page.browser().connection;
    const { result } = await connection.send('browsingContext.getTree', { maxDepth: 0 });
    await connection.send('browsingContext.setViewport', {
        context: result.contexts[0].context,
        viewport: { width, height },
        devicePixelRatio: deviceScaleFactor,
    });
}

// A browser of the engine ('chromium' or 'firefox') with a page of the given
// viewport size; forcedColours as under a high-contrast theme; scriptless
// with JavaScript turned off, as some schools' browsers have it (the
// driver's own evaluations still run).
async function launch(engine, viewport, { forcedColours = false, scriptless = false } = {}) {
    const known = engines[engine];
    if (!known)
        throw new Error(`unknown engine ${engine}: chromium or firefox`);
    const extras = [forcedColours && known.forcedColours, scriptless && known.scriptless]
        .filter((extra) => extra);
    const browser = await fromNodeDir('puppeteer-core').launch({
        browser: known.browser,
        executablePath: known.executablePath,
        headless: true,
        args: [...known.args, ...extras.flatMap((extra) => extra.args || [])],
        ignoreDefaultArgs: known.ignoreDefaultArgs,
        extraPrefsFirefox: Object.assign({}, ...extras.map((extra) => extra.extraPrefsFirefox)),
        defaultViewport: null,
        protocolTimeout: 60000,
    });
    try {
        const [page] = await browser.pages();
        await setViewport(page, viewport);
        return { browser, page };
    } catch (error) {
        await browser.close();
        throw error;
    }
}

module.exports = { launch, setViewport, nodeDir };
