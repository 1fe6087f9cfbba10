// Installable and usable offline where the browser allows it: over http(s).
// From a folder (file://) there is nothing to install and nothing to keep.
mergeInto(LibraryManager.library, {
    offerOfflineUse: function(manifest, worker) {
        if (location.protocol !== 'http:' && location.protocol !== 'https:')
            return;
        const link = document.createElement('link');
        link.rel = 'manifest';
        link.href = UTF8ToString(manifest);
        document.head.appendChild(link);
        // The lesson works without its worker, only not offline: the console
        // tells whoever looks why (a host that refuses the file, a policy).
        if ('serviceWorker' in navigator) {
            navigator.serviceWorker.register(UTF8ToString(worker)).catch((error) => {
                console.warn(`Аминокиселини: урокът няма да се пази за работа без мрежа, ` +
                             `service worker не се регистрира: ${error}`);
            });
        }
    },
});
