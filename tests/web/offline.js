// The page served over HTTP and kept offline by its service worker: what it
// asks for, a next version copied over it, and updates that go wrong. After
// each, the page shows one version whole, with the server there and gone,
// and a real next version still arrives.
'use strict';

const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { before, after } = require('node:test');

const { it } = require('./facility.js');
const { click, waitFor, workingPage, heading, state, sleep } = require('./in_page.js');
const { serve, serveFraming, lessonFrame, digests, lastYearsSite, named } = require('./site.js');

const VIEWPORT = { width: 1024, height: 768 };
// The row clicked to see that a page answers.
const CLICKED = 10;

// What the page is served now for each of its files, through its service
// worker: their SHA-256, read in the page.
function servedDigests(files) {
    const hex = (digest) => Array.from(new Uint8Array(digest),
        (b) => b.toString(16).padStart(2, '0')).join('');
    return Promise.all(files.map((file) => fetch(file)
        .then((response) => response.arrayBuffer())
        .then((bytes) => crypto.subtle.digest('SHA-256', bytes))
        .then((digest) => [file, hex(digest)])))
        .then((pairs) => Object.fromEntries(pairs));
}

// The page's copies in the browser's cache storage once no worker is
// installing or activating: for each, the SHA-256 of every file it holds of
// those given (read without opening the caches, which would make one). A
// cache with none of them is another copy's, in another folder of the site.
function keptCopies(files) {
    const hex = (digest) => Array.from(new Uint8Array(digest),
        (b) => b.toString(16).padStart(2, '0')).join('');
    return navigator.serviceWorker.getRegistration().then(async (registration) => {
        if (!registration || !registration.active)
            return 'no service worker';
        if (registration.installing || registration.waiting || registration.active.state !== 'activated')
            return `a worker ${registration.installing ? 'installing' : registration.waiting ? 'waiting' : registration.active.state}`;
        const names = (await caches.keys()).filter((name) => name.startsWith('aminokiselini-'));
        const copies = await Promise.all(names.map(async (cacheName) => {
            const kept = {};
            for (const file of files) {
                const response = await caches.match(file, { cacheName });
                if (response)
                    kept[file] = hex(await crypto.subtle.digest('SHA-256', await response.arrayBuffer()));
            }
            return kept;
        }));
        return copies.filter((kept) => Object.keys(kept).length);
    });
}

// Asks for an update, as a later visit does, and waits until no new worker is
// installing; a server gone only makes the asking fail.
function updateTried() {
    return navigator.serviceWorker.getRegistration().then(async (registration) => {
        await registration.update().catch(() => null);
        const end = Date.now() + 30000;
        while ((registration.installing || registration.waiting) && Date.now() < end)
            await new Promise((resolve) => setTimeout(resolve, 50));
        return !registration.installing && !registration.waiting;
    });
}

const withoutWorker = (files) =>
    Object.fromEntries(Object.entries(files).filter(([file]) => file !== 'sw.js'));

function offlineTests({ inBrowser, work, folder, next, expected, nextHeading }) {
    const versions = { [expected.heading]: withoutWorker(digests(folder)),
        [nextHeading]: withoutWorker(digests(next)) };
    const files = Object.keys(versions[expected.heading]);
    const clicked = expected.rows[CLICKED];

    // One version, whole: its heading, every file the page is served its
    // own, the twenty names listed and a click that answers.
    async function oneVersionWhole(page) {
        const seen = await heading(page);
        assert.ok(seen in versions, `the heading is neither version's: ${seen}`);
        const served = await page.evaluate(servedDigests, files);
        const mixed = files.filter((file) => served[file] !== versions[seen][file]);
        assert.deepEqual(mixed, [], `files not of the version "${seen}"`);
        assert.deepEqual(await page.$$eval('#List1_0 [role="option"]',
            (rows) => rows.map((row) => row.textContent)), expected.rows.map(({ name }) => name));
        await click(page, `#List1_0_${CLICKED}`);
        assert.deepEqual(await page.evaluate(state), [clicked.checks, clicked.option],
            `a click on ${clicked.name}`);
        return seen;
    }

    // The copies kept once the workers are done, as many as they are, each
    // as the heading of the version it is, or what it holds.
    async function kept(page, wanted, timeout = 30000) {
        const name = (copy) => Object.keys(versions).find((version) =>
            JSON.stringify(copy) === JSON.stringify(versions[version])) || copy;
        let copies = null;
        const end = Date.now() + timeout;
        do {
            copies = await page.evaluate(keptCopies, files).catch((error) => String(error));
            if (Array.isArray(copies) && JSON.stringify(copies.map(name)) === JSON.stringify(wanted))
                break;
            await new Promise((resolve) => setTimeout(resolve, 100));
        } while (Date.now() < end);
        return Array.isArray(copies) ? copies.map(name) : copies;
    }

    // A fresh site of the build's version, a host for it and the page opened
    // there once, kept offline; framed, in a frame of a site on another
    // origin. opened.load() opens the page (or the site that frames it) and
    // returns where the page is, which session.view() gives after.
    function openedOnce(session, name, { framed = false, redirects = {} } = {}) {
        const site = path.join(work, name);
        const opened = { site };
        let view = null;
        session.view = () => view;
        let framing = null;
        before(async () => {
            lastYearsSite(folder, site);
            await serve(site, opened);
            opened.redirects = redirects;
            opened.url = `${opened.origin}/index.html`;
            if (framed)
                framing = await serveFraming(opened.url, VIEWPORT.width, VIEWPORT.height);
        });
        after(() => {
            if (opened.stop)
                opened.stop();
            if (framing)
                framing.stop();
        });
        opened.load = async () => {
            view = null;
            await session.page.goto(framed ? framing.url : opened.url).catch(() => null);
            view = framed ? await lessonFrame(session.page, opened.origin) : session.page;
            assert.ok(view, 'no frame of the page');
            return view;
        };
        it('opened once over HTTP, the page works', async () => {
            assert.ok(await workingPage(await opened.load()));
        });
        it('its service worker keeps the page, a whole copy of it', async () => {
            const page = session.view();
            assert.ok(await waitFor(page, () => !!navigator.serviceWorker.controller ||
                (navigator.serviceWorker.ready.then(() => location.reload()), false), 20000),
            'no service worker keeps the page');
            assert.deepEqual(await kept(page, [expected.heading]), [expected.heading]);
        });
        return opened;
    }

    // In its own tab, and in a frame of a site on another origin, the same.
    [['', false], [' in a frame on another origin', true]].forEach(([where, framed]) => inBrowser(
        `over HTTP${where}: kept offline, then the next version copied over it`, VIEWPORT, {},
        (session) => {
            const page = () => session.view();
            const host = openedOnce(session, framed ? 'site-framed' : 'site', { framed });
            it('nothing is loaded from any other address', async () => {
                await waitFor(page(), () => document.readyState === 'complete');
                const foreign = (await page().evaluate(() => performance.getEntriesByType('resource')
                    .map((entry) => entry.name))).filter((name) => !name.startsWith(`${host.origin}/`));
                assert.deepEqual(foreign, []);
            });
            it("only the page's own files are asked for", () => {
                const strays = host.requested.filter((request) => {
                    const where = named(folder, request);
                    return !where || !fs.existsSync(where.file);
                });
                assert.deepEqual(strays, [], `asked for ${[...new Set(host.requested)]}`);
            });
            it('no cookies, nothing in storage', async () => {
                assert.ok(await page().evaluate(() => document.cookie === '' &&
                    localStorage.length === 0 && sessionStorage.length === 0));
            });
            it('the first load after the next version is copied shows a working page, old or new',
                async () => {
                    // A school copies the next version's folder over the old one.
                    fs.cpSync(next, host.site, { recursive: true });
                    await host.load();
                    assert.ok([expected.heading, nextHeading].includes(await heading(page())));
                    assert.ok(await workingPage(page()));
                });
            it('the next version is kept in place of the old one', async () => {
                assert.deepEqual(await kept(page(), [nextHeading]), [nextHeading]);
            });
            it('the second load shows the next version', async () => {
                await host.load();
                assert.equal(await heading(page()), nextHeading);
            });
            it("every file the page is served is the next version's", async () => {
                const wanted = digests(next);
                const served = await page().evaluate(servedDigests, Object.keys(wanted));
                assert.deepEqual(Object.keys(wanted).filter((file) => served[file] !== wanted[file]), []);
            });
            it('the next version works', async () => assert.ok(await workingPage(page())));
            it('with the server gone, a reload still opens the next version, working', async () => {
                host.stop();
                await host.load();
                assert.equal(await heading(page()), nextHeading);
                assert.ok(await workingPage(page()));
            });
            it(`offline, ${clicked.name} shows its classes`, async () => {
                await click(page(), `#List1_0_${CLICKED}`);
                assert.deepEqual(await page().evaluate(state), [clicked.checks, clicked.option]);
            });
        }));

    // Two copies of the lesson on one site, as a learning platform holds two
    // activities or a download site its own beside a school's: each kept
    // offline, and an update of one leaves the other's copy as it was.
    inBrowser('over HTTP, two copies in two folders of one site', VIEWPORT, {}, (session) => {
        const page = () => session.page;
        const site = path.join(work, 'site-two-copies');
        const folders = ['lesson', 'pluginfile.php/73/mod_scorm/content/2'];
        const host = {};
        const address = (copy) => `${host.origin}/${copy}/index.html`;
        before(async () => {
            for (const copy of folders)
                lastYearsSite(folder, path.join(site, copy));
            await serve(site, host);
        });
        after(() => host.stop && host.stop());
        it('each opened once, each keeps a whole copy, and the first keeps its own', async () => {
            for (const copy of folders) {
                await page().goto(address(copy));
                assert.ok(await waitFor(page(), () => !!navigator.serviceWorker.controller ||
                    (navigator.serviceWorker.ready.then(() => location.reload()), false), 20000),
                `no service worker keeps ${copy}`);
                assert.deepEqual(await kept(page(), [expected.heading]), [expected.heading], copy);
            }
            await page().goto(address(folders[0]));
            assert.deepEqual(await kept(page(), [expected.heading]), [expected.heading]);
        });
        it('with the server gone, both open, whole and working', async () => {
            host.stop();
            for (const copy of folders) {
                await page().goto(address(copy)).catch(() => null);
                assert.equal(await oneVersionWhole(page()), expected.heading, copy);
            }
        });
        it('the next version copied over one arrives there', async () => {
            await host.start();
            fs.cpSync(next, path.join(site, folders[0]), { recursive: true });
            await page().goto(address(folders[0]));
            assert.ok(await page().evaluate(updateTried), 'an install still runs');
            assert.deepEqual(await kept(page(), [nextHeading]), [nextHeading]);
            await page().goto(address(folders[0]));
            assert.equal(await oneVersionWhole(page()), nextHeading);
        });
        it("the other keeps its own copy, and with the server gone each opens its version",
            async () => {
                await page().goto(address(folders[1]));
                assert.deepEqual(await kept(page(), [expected.heading]), [expected.heading]);
                host.stop();
                for (const [copy, version] of [[folders[1], expected.heading], [folders[0], nextHeading]]) {
                    await page().goto(address(copy)).catch(() => null);
                    assert.equal(await oneVersionWhole(page()), version, copy);
                }
            });
    });

    // Updates that go wrong, each on a page opened once and kept offline.
    const rewritten = { '.html': '\n<!-- served by the school -->\n', '.js': '\n// served by the school\n' };
    const failures = [
        ["a folder half copied: the next version's index.html and sw.js, the rest the last one's",
            (host) => {
                for (const file of ['index.html', 'sw.js'])
                    fs.copyFileSync(path.join(next, file), path.join(host.site, file));
            }],
        ['the next version with one file missing',
            (host) => {
                fs.cpSync(next, host.site, { recursive: true });
                fs.rmSync(path.join(host.site, 'style.css'));
            }],
        ["the server stopping in the middle of the next version's install",
            (host) => {
                fs.cpSync(next, host.site, { recursive: true });
                let answered = 0;
                host.onRequest = (name) => name === 'sw.js' || ++answered <= 2;
            }],
        // Its worker lists the same files as the one in use.
        ['a host that adds a line to every page and script it sends, the service worker too',
            (host) => {
                host.rewrite = (name, bytes) => rewritten[path.extname(name)] ?
                    Buffer.concat([bytes, Buffer.from(rewritten[path.extname(name)])]) : bytes;
            }],
    ];
    for (const [index, [what, update]] of failures.entries()) {
        inBrowser(`over HTTP, kept offline, then ${what}`, VIEWPORT, {}, (session) => {
            const page = () => session.page;
            const host = openedOnce(session, `site-${index}`);
            let asked;
            it('the first load after it shows one version, whole', async () => {
                update(host);
                asked = host.requested.length;
                await page().goto(host.url);
                await oneVersionWhole(page());
            });
            it("the update is refused and the copy kept is still the last version's", async () => {
                assert.ok(await page().evaluate(updateTried), 'an install still runs');
                assert.ok(host.requested.slice(asked).includes('/sw.js'),
                    'the browser never asked for the new service worker');
                assert.deepEqual(await kept(page(), [expected.heading], 0), [expected.heading],
                    `asked for ${host.requested}`);
            });
            it('the second load shows one version, whole', async () => {
                await page().goto(host.url).catch(() => null);
                await oneVersionWhole(page());
            });
            it('with the server gone, a reload shows one version, whole', async () => {
                host.stop();
                await page().goto(host.url).catch(() => null);
                await oneVersionWhole(page());
            });
            arrives(session, host);
        });
    }

    inBrowser('over HTTP, kept offline, then the copy cleared as a browser short of space does',
        VIEWPORT, {}, (session) => {
            const page = () => session.page;
            const host = openedOnce(session, 'site-cleared');
            it('the next load comes whole from the server', async () => {
                await page().evaluate(() => caches.keys().then((names) =>
                    Promise.all(names.map((name) => caches.delete(name)))));
                await page().goto(host.url);
                assert.equal(await oneVersionWhole(page()), expected.heading);
            });
            it('with neither the copy nor the server, the page says so in Bulgarian', async () => {
                host.stop();
                await page().goto(host.url);
                const seen = await page().evaluate(() =>
                    [location.href, document.documentElement.lang, document.body.textContent]);
                assert.equal(seen[0], host.url);
                assert.equal(seen[1], 'bg');
                assert.match(seen[2], /^Няма връзка/);
            });
            arrives(session, host);
        });

    // A host that sends index.html on to the folder's own address answers
    // the worker's request for it from there: kept as it came, that answer
    // would be refused to the navigations it is kept for.
    inBrowser("over HTTP from a host that sends index.html on to the folder's address", VIEWPORT,
        {}, (session) => {
            const page = () => session.page;
            const host = openedOnce(session, 'site-redirected',
                { redirects: { '/index.html': '/' } });
            const folderUrl = () => `${host.origin}/`;
            it('with the server gone, either address opens the page from the copy', async () => {
                host.stop();
                for (const address of [folderUrl(), host.url]) {
                    await page().goto(address).catch(() => null);
                    assert.equal(await oneVersionWhole(page()), expected.heading, address);
                }
            });
            it('with the copy cleared, index.html comes whole from the server', async () => {
                await host.start();
                await page().evaluate(() => caches.keys().then((names) =>
                    Promise.all(names.map((name) => caches.delete(name)))));
                await page().goto(host.url);
                assert.equal(await oneVersionWhole(page()), expected.heading);
            });
        });

    // The lesson still works where its worker cannot be had, and the console
    // says why it is not kept.
    inBrowser('over HTTP from a host without sw.js', VIEWPORT, {}, (session) => {
        const site = path.join(work, 'site-without-worker');
        const host = {};
        before(async () => {
            lastYearsSite(folder, site);
            fs.rmSync(path.join(site, 'sw.js'));
            await serve(site, host);
        });
        after(() => host.stop && host.stop());
        it('the page works, and the console says that it is not kept offline', async () => {
            const warned = new Promise((resolve) => session.page.on('console', (message) => {
                if (message.type() === 'warn' && /service worker/.test(message.text()))
                    resolve(message.text());
            }));
            await session.page.goto(`${host.origin}/index.html`);
            assert.ok(await workingPage(session.page));
            const said = await Promise.race([warned, sleep(10000)]);
            assert.match(String(said), /без мрежа/);
        });
    });

    // The host back with the next version, whole: it is kept, and the load
    // after shows it.
    function arrives(session, host) {
        it('then a real next version still arrives', async () => {
            const page = session.page;
            host.rewrite = null;
            host.onRequest = null;
            fs.cpSync(next, host.site, { recursive: true });
            await host.start();
            await page.goto(host.url);
            await page.evaluate(updateTried);
            assert.deepEqual(await kept(page, [nextHeading]), [nextHeading]);
            await page.goto(host.url);
            assert.equal(await oneVersionWhole(page), nextHeading);
        });
    }
}

module.exports = { offlineTests };
