#include "main_form.h"

#include <commctrl.h>
#include <objbase.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    // Screen readers' names for the list and the lesson go through COM.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    int status = 1;
    {
        MainForm form(instance);
        if (form.window()) {
            ShowWindow(form.window(), show);
            MSG message;
            // Ends with WM_QUIT, once the window is closed: its status is 0.
            BOOL got;
            while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
                // The dialog manager's keys: Tab, Shift+Tab and the arrows
                // within a group.
                if (!IsDialogMessageW(form.window(), &message)) {
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
            status = got == 0 ? int(message.wParam) : 1;
        }
    }
    if (SUCCEEDED(com))
        CoUninitialize();
    return status;
}
