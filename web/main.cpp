// The form as a web page: the page's markup is the form; this gives it the
// window's behaviour. A change of the list's selection shows its classes at
// once, and a 100 ms interval runs Timer1_Timer as the window's timer does,
// undoing any change made to an indicator by hand.
#include "dom_indicators.h"
#include "form_geometry.h"
#include "form_handlers.h"
#include "name_list.h"
#include "page.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <string>

namespace {

// The page's controls, made once the script runs, for as long as the page is
// open, with the form's handlers.
struct Form : amino::FormHandlers<Form> {
    NameList names;
    DomIndicators controls{names};

    DomIndicators &indicators() { return controls; }
};

Form &form()
{
    static Form form;
    return form;
}

} // namespace

// A row pressed with the main button, from the list's one listener below.
extern "C" EMSCRIPTEN_KEEPALIVE void rowPressed(int row)
{
    form().names.select(row);
    form().List1_Click(0);
}

namespace {

EM_BOOL listKey(int, const EmscriptenKeyboardEvent *event, void *)
{
    const bool modifier = event->ctrlKey || event->altKey || event->metaKey;
    if (!form().names.press(event->key, modifier))
        return EM_FALSE;
    form().List1_Click(0);
    return EM_TRUE; // no page scrolling or find-as-you-type meanwhile
}

void tick(void *)
{
    form().Timer1_Timer();
}

} // namespace

// The page's script of its own, in web/script (a library of the link).
extern "C" {
void listenForRowPresses();
void offerOfflineUse(const char *manifest, const char *worker);
void listenForZoom();
}

int main()
{
    listenForRowPresses();
    emscripten_set_keydown_callback("#List1_0", nullptr, EM_FALSE, listKey);
    emscripten_set_interval(tick, amino::form::TimerInterval, nullptr);
    form().ShowSelection();
    listenForZoom();

    offerOfflineUse(std::string(page::ManifestFile).c_str(), std::string(page::WorkerFile).c_str());
    return 0;
}
