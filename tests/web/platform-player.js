// The learning platform's page, run in the browser, as Moodle's player has
// it: scorm-again's SCORM 1.2 run-time API on this window, and the lesson
// launched, at the press of a button, in a frame of this page or in a window
// of its own. Every call the lesson makes is written down with the API's
// answer and error code on its way to scorm-again, which answers it.
/* global Scorm12API */
'use strict';

const player = {
    calls: [],
    api: null,
    frame: null,
    window: null,
    // Whether this page came back from the browser's back/forward cache.
    restored: false,
};
addEventListener('pageshow', (event) => {
    player.restored = player.restored || event.persisted;
});

// A new attempt at the address given, the platform holding the status
// stored (none for a first attempt); opened by the button, as a pupil does.
// The lesson's LMSInitialize after its LMSFinish begins a new session, as
// Moodle's API allows, the status stored kept.
function prepare(address, { stored, inWindow = false } = {}) {
    const api = new Scorm12API({ logLevel: 4 });
    if (stored)
        api.loadFromJSON({ core: { lesson_status: stored } });
    const begin = api.LMSInitialize.bind(api);
    api.LMSInitialize = (...args) => {
        if (api.isTerminated()) {
            const status = api.cmi.core.lesson_status;
            api.reset();
            api.loadFromJSON({ core: { lesson_status: status } });
        }
        return begin(...args);
    };
    for (const name of ['LMSInitialize', 'LMSGetValue', 'LMSSetValue', 'LMSCommit', 'LMSFinish']) {
        const real = api[name].bind(api);
        api[name] = (...args) => {
            const answer = real(...args);
            player.calls.push({ name, args, answer, error: api.LMSGetLastError() });
            return answer;
        };
    }
    Object.assign(player, { calls: [], api });
    window.API = api;
    document.getElementById('launch').onclick = () => {
        if (inWindow) {
            player.window = window.open(address, 'lesson', 'popup,width=800,height=600');
            return;
        }
        player.frame = document.createElement('iframe');
        player.frame.src = address;
        player.frame.title = 'lesson';
        document.body.append(player.frame);
    };
}

// What the platform holds now, as it would store it.
function held() {
    const { core } = JSON.parse(JSON.stringify(player.api.cmi));
    return { calls: player.calls, status: core.lesson_status, sessionTime: core.session_time };
}

// The pupil leaves the lesson: the frame goes, or the window is closed.
function closeLesson() {
    if (player.window)
        player.window.close();
    if (player.frame)
        player.frame.remove();
    player.frame = player.window = null;
}
