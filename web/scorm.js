// The lesson as a learning platform's activity (a SCORM 1.2 SCO): where the
// platform offers its run-time API, the page reports "incomplete" when
// opened, "completed" once the pupil has selected every name in the list,
// the time spent, and its end when closed. Anywhere else it finds no API and
// does nothing at all: it keeps nothing and asks nothing of anyone.
(() => {
    'use strict';

    // How far up a chain of frames the API is looked for; platforms put the
    // lesson a frame or two below the window that holds the API.
    const MOST_HOPS = 10;

    // The window's own API; none where it is another site's window, whose
    // properties the browser refuses to read.
    const apiOf = (win) => {
        try {
            const api = win.API;
            return api && typeof api.LMSInitialize === 'function' ? api : null;
        } catch {
            return null;
        }
    };

    // As the standard finds it: the window, then its parents up to the top.
    const apiAbove = (start) => {
        let win = start;
        for (let hops = 0; win && hops <= MOST_HOPS; ++hops) {
            const api = apiOf(win);
            if (api || win.parent === win)
                return api;
            win = win.parent;
        }
        return null;
    };

    // The window that opened the top one; null where none did or where
    // the browser refuses to say.
    const topOpener = () => {
        try {
            return window.top.opener;
        } catch {
            return null;
        }
    };

    // The frames this page is in first, then the window that opened it, for
    // a platform that opens the lesson in a window of its own, then the one
    // that opened the top window, for one that opens a window of frames
    // with the lesson in one of them.
    const api = apiAbove(window) || apiAbove(window.opener) || apiAbove(topOpener());
    if (!api)
        return;

    // A platform's answers are strings; a call that throws is a refusal,
    // never an error in the page.
    const call = (name, ...args) => {
        try {
            return String(api[name](...args));
        } catch {
            return 'false';
        }
    };

    // Kept as the platform sends it, so that a pupil who opens the lesson
    // again keeps the completion already earned.
    const FINISHED = ['completed', 'passed'];
    let finished = false;
    const report = (status) => {
        call('LMSSetValue', 'cmi.core.lesson_status', status);
        call('LMSCommit', '');
    };

    // The session with the platform: when it began, or null while none is
    // open (before it, refused, or finished).
    let opened = null;
    const begin = () => {
        if (call('LMSInitialize', '') !== 'true')
            return false;
        opened = Date.now();
        finished = FINISHED.includes(call('LMSGetValue', 'cmi.core.lesson_status'));
        if (!finished)
            report('incomplete');
        return true;
    };
    if (!begin())
        return;

    // The rows selected since the page opened. The selection lives in the rows'
    // aria-selected, and each press or key changes it at most once.
    const list = document.getElementById('List1_0');
    const rows = list.querySelectorAll('[role="option"]').length;
    const selected = new Set();
    const noteSelection = () => {
        const row = list.querySelector('[role="option"][aria-selected="true"]');
        if (row)
            selected.add(row.id);
        if (opened !== null && !finished && selected.size === rows) {
            finished = true;
            report('completed');
        }
    };
    new MutationObserver(noteSelection).observe(list,
        { subtree: true, attributeFilter: ['aria-selected'] });
    noteSelection();

    // CMITimespan, HHHH:MM:SS, whole seconds.
    const timespan = (milliseconds) => {
        const seconds = Math.min(Math.floor(milliseconds / 1000), 9999 * 3600 + 3599);
        const two = (n) => String(n).padStart(2, '0');
        return `${String(Math.floor(seconds / 3600)).padStart(4, '0')}:` +
            `${two(Math.floor(seconds / 60) % 60)}:${two(seconds % 60)}`;
    };

    // The time spent so far, committed.
    const commitTime = () => {
        call('LMSSetValue', 'cmi.core.session_time', timespan(Date.now() - opened));
        call('LMSCommit', '');
    };

    // Hidden: a phone may end a hidden tab without a pagehide, so the time
    // spent is committed now; the session stays open, as the pupil may come
    // back and go on.
    document.addEventListener('visibilitychange', () => {
        if (document.visibilityState === 'hidden' && opened !== null)
            commitTime();
    });

    // Closed, reloaded or left for another page, once: the platform takes
    // nothing after LMSFinish.
    addEventListener('pagehide', () => {
        if (opened === null)
            return;
        commitTime();
        call('LMSFinish', '');
        opened = null;
    });

    // Back from the browser's back/forward cache, the page is as it was left,
    // the names selected included, but its session is over: a new one
    // begins, as on opening.
    addEventListener('pageshow', (event) => {
        if (event.persisted && opened === null)
            begin();
    });
})();
