// A press on a row of the list selects it, as a click does on the desktop.
mergeInto(LibraryManager.library, {
    // One listener on the list: the row is the one the press's target is in
    // (a name's text, the row itself), none on the scroll bar. It does not
    // prevent the default, so that the list still takes the focus.
    listenForRowPresses: function() {
        const list = document.getElementById('List1_0');
        list.addEventListener('mousedown', (event) => {
            const row = event.button === 0 && event.target.closest('[role="option"]');
            if (row && row.parentElement === list)
                _rowPressed(Array.prototype.indexOf.call(list.children, row));
        });
    },
});
