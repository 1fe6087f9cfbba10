// The form as a web page: the page's markup is the form; this gives it the
// window's behaviour. A change of the list's selection shows its classes at
// once, and a 100 ms interval runs ShowSelection as the window's timer does,
// undoing any change made to an indicator by hand.
#include "dom_indicators.h"
#include "form_geometry.h"
#include "name_list.h"
#include "page.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>

namespace {

NameList *names = nullptr;
DomIndicators *indicators = nullptr;

void showSelection()
{
    amino::showSelectionOn(*indicators);
}

EM_BOOL rowPressed(int, const EmscriptenMouseEvent *event, void *row)
{
    if (event->button != 0)
        return EM_FALSE;
    names->select(int(reinterpret_cast<std::intptr_t>(row)));
    showSelection();
    return EM_FALSE; // the list still takes the focus
}

EM_BOOL listKey(int, const EmscriptenKeyboardEvent *event, void *)
{
    const bool modifier = event->ctrlKey || event->altKey || event->metaKey;
    if (!names->press(event->key, modifier))
        return EM_FALSE;
    showSelection();
    return EM_TRUE; // no page scrolling or find-as-you-type meanwhile
}

void tick(void *)
{
    showSelection();
}

// Installable and usable offline where the browser allows it: over http(s).
// From a folder (file://) there is nothing to install and nothing to keep.
// The body is JavaScript, not C++.
// clang-format off
EM_JS(void, offerOfflineUse, (const char *manifest, const char *worker), {
    if (location.protocol !== 'http:' && location.protocol !== 'https:')
        return;
    const link = document.createElement('link');
    link.rel = 'manifest';
    link.href = UTF8ToString(manifest);
    document.head.appendChild(link);
    if ('serviceWorker' in navigator)
        navigator.serviceWorker.register(UTF8ToString(worker)).catch(() => {});
});
// clang-format on

} // namespace

int main()
{
    names = new NameList;
    indicators = new DomIndicators(*names);

    for (int row = 0; row < names->rowCount(); ++row) {
        const std::string selector = "#List1_0_" + std::to_string(row);
        emscripten_set_mousedown_callback(
            selector.c_str(), reinterpret_cast<void *>(std::intptr_t(row)), EM_FALSE, rowPressed);
    }
    emscripten_set_keydown_callback("#List1_0", nullptr, EM_FALSE, listKey);
    emscripten_set_interval(tick, amino::form::TimerInterval, nullptr);
    showSelection();

    offerOfflineUse(std::string(page::ManifestFile).c_str(), std::string(page::WorkerFile).c_str());
    return 0;
}
