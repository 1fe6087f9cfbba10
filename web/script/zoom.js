// The page's own zoom. The browser's zoom cannot enlarge a form sized to the
// viewport (the viewport shrinks as much as the text grows), so the page
// draws the form larger than the fitted size itself: the style sheet
// multiplies every length by --zoom, and the page scrolls to the rest.
mergeInto(LibraryManager.library, {
    listenForZoom: function() {
        // The steps of browsers' own zoom, from the fitted size up.
        const STEPS = [1, 1.1, 1.25, 1.5, 1.75, 2, 2.5, 3, 4, 5];
        const FITTED = STEPS[0];
        const LARGEST = STEPS[STEPS.length - 1];
        // Ctrl (⌘ on a Mac) with these keys, by the character, else by the
        // key's place on the keyboard: 1 zooms in, -1 out, 0 back.
        const KEYS = new Map([['+', 1], ['=', 1], ['-', -1], ['_', -1], ['0', 0]]);
        const PLACES = new Map([
            ['Equal', 1], ['NumpadAdd', 1], ['Minus', -1], ['NumpadSubtract', -1], ['Digit0', 0],
            ['Numpad0', 0]
        ]);

        const root = document.documentElement;
        const form = document.getElementById('MainForm');
        // What scrolls the zoomed form: the body (see the style sheet).
        const view = form.parentElement;
        const back = document.getElementById('ZoomReset');
        const zoomIn = document.getElementById('ZoomIn');
        let zoom = FITTED;

        // Where a point of the viewport lies in the form, as shares of its
        // width and height.
        const shareAt = (point) => {
            const box = form.getBoundingClientRect();
            return {x: (point.x - box.left) / box.width, y: (point.y - box.top) / box.height};
        };
        // Scrolls the share of the form given under the point.
        const keep = (share, point) => {
            const box = form.getBoundingClientRect();
            view.scrollBy(box.left + share.x * box.width - point.x,
                          box.top + share.y * box.height - point.y);
        };
        const set = (level) => {
            zoom = Math.min(Math.max(level, FITTED), LARGEST);
            // At the fitted size the page is exactly as without a zoom.
            if (zoom === FITTED)
                root.style.removeProperty('--zoom');
            else
                root.style.setProperty('--zoom', String(zoom));
            if (zoom === FITTED && document.activeElement === back)
                zoomIn.focus();
            back.hidden = zoom === FITTED;
            back.textContent = `${Math.round(zoom * 100)}\u00a0%`;
        };
        // Zooms with the point given staying where it is on the screen.
        const zoomAround = (level, point) => {
            const share = shareAt(point);
            set(level);
            keep(share, point);
        };
        const middleOfView = () => ({x: innerWidth / 2, y: innerHeight / 2});
        // The next step in the direction given (1 or -1).
        const step = (direction) => {
            const next = direction > 0 ? STEPS.find((level) => level > zoom + 1e-6)
                                       : STEPS.filter((level) => level < zoom - 1e-6).pop();
            return next === undefined ? zoom : next;
        };

        // By the keys, around the control that has the focus (the list's
        // selected row for the list), which is in view after.
        const focused = () => {
            const control = document.activeElement;
            if (!control || !form.contains(control))
                return null;
            const row = control.getAttribute('aria-activedescendant');
            return (row && document.getElementById(row)) || control;
        };
        const byKeys = (level) => {
            const shown = focused();
            let point = middleOfView();
            if (shown) {
                const box = shown.getBoundingClientRect();
                point = {
                    x: Math.min(Math.max((box.left + box.right) / 2, 0), innerWidth),
                    y: Math.min(Math.max((box.top + box.bottom) / 2, 0), innerHeight)
                };
            }
            zoomAround(level, point);
            if (shown)
                shown.scrollIntoView({block: 'nearest', inline: 'nearest'});
        };
        window.addEventListener('keydown', (event) => {
            if (event.defaultPrevented || event.altKey || !(event.ctrlKey || event.metaKey))
                return;
            const direction = KEYS.has(event.key) ? KEYS.get(event.key) : PLACES.get(event.code);
            // Ctrl and 0 at the fitted size is left to the browser, to undo a
            // zoom of its own.
            if (direction === undefined || (direction === 0 && zoom === FITTED))
                return;
            event.preventDefault();
            byKeys(direction ? step(direction) : FITTED);
        });

        // A control the keyboard moves the focus to is brought into view
        // whole, a check box or option button with as much of its caption as
        // fits: browsers bring only some of a control into view, or none that
        // is partly shown already. Once the key has moved the focus, and after
        // the browser's own scrolling, in the next frame.
        window.addEventListener('keydown', () => {
            const before = document.activeElement;
            requestAnimationFrame(() => {
                const control = document.activeElement;
                if (zoom === FITTED || control === before || !view.contains(control))
                    return;
                const nearest = {block: 'nearest', inline: 'nearest'};
                const label = control.closest('label');
                if (label)
                    label.scrollIntoView(nearest);
                control.scrollIntoView(nearest);
            });
        });

        // Ctrl with the wheel, around the pointer: a step a notch. A
        // touchpad's pinch comes as the same events with small deltas, by
        // as much as it spreads.
        window.addEventListener('wheel', (event) => {
            if (!event.ctrlKey)
                return;
            event.preventDefault();
            if (!event.deltaY)
                return;
            const notch =
                event.deltaMode !== WheelEvent.DOM_DELTA_PIXEL || Math.abs(event.deltaY) >= 50;
            zoomAround(notch ? step(-Math.sign(event.deltaY))
                             : zoom * Math.exp(-event.deltaY / 100),
                       {x: event.clientX, y: event.clientY});
        }, {passive: false});

        // Two fingers on the form pinch it, the point between them following
        // the fingers; one finger scrolls as ever. Elsewhere a pinch is the
        // browser's own.
        let pinch = null;
        const spread = (touches) => Math.hypot(touches[0].clientX - touches[1].clientX,
                                               touches[0].clientY - touches[1].clientY);
        const between = (touches) => ({
            x: (touches[0].clientX + touches[1].clientX) / 2,
            y: (touches[0].clientY + touches[1].clientY) / 2
        });
        const onForm = (touches) =>
            Array.prototype.every.call(touches, (touch) => form.contains(touch.target));
        form.addEventListener('touchstart', (event) => {
            pinch = null;
            if (event.touches.length === 2 && onForm(event.touches) && spread(event.touches) > 0)
                pinch = {
                    spread: spread(event.touches),
                    zoom,
                    share: shareAt(between(event.touches))
                };
        }, {passive: true});
        form.addEventListener('touchmove', (event) => {
            if (!pinch || event.touches.length !== 2 || !event.cancelable)
                return;
            event.preventDefault();
            set(pinch.zoom * spread(event.touches) / pinch.spread);
            keep(pinch.share, between(event.touches));
        }, {passive: false});
        const lifted = (event) => {
            if (event.touches.length !== 2)
                pinch = null;
        };
        form.addEventListener('touchend', lifted);
        form.addEventListener('touchcancel', lifted);

        // The buttons, around the middle of the view.
        zoomIn.addEventListener('click', () => zoomAround(step(1), middleOfView()));
        document.getElementById('ZoomOut').addEventListener(
            'click', () => zoomAround(step(-1), middleOfView()));
        back.addEventListener('click', () => zoomAround(FITTED, middleOfView()));
    },
});
