#include "dpi.h"

#include "form_geometry.h"

namespace Dpi {

namespace {

// A function of `module`, or null where this Windows lacks it. Looked up at
// each call: a window asks at its start and when it moves to another
// monitor, no more.
template <typename Function> Function lookUp(HMODULE module, const char *name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// user32 is loaded in every program with a window; nothing to free.
template <typename Function> Function user32(const char *name)
{
    return lookUp<Function>(GetModuleHandleW(L"user32.dll"), name);
}

} // namespace

int of(HWND window)
{
    // Windows 10 1607 and later.
    using GetDpiForWindow = UINT(WINAPI *)(HWND);
    const auto dpiForWindow = user32<GetDpiForWindow>("GetDpiForWindow");
    if (dpiForWindow) {
        if (const UINT dpi = dpiForWindow(window))
            return int(dpi);
    }
    // Windows 8.1 knows each monitor's too, through the shell's library
    // (from Windows' own folder only, never from beside the program).
    if (const HMODULE shcore =
            LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        using GetDpiForMonitor = HRESULT(WINAPI *)(HMONITOR, int, UINT *, UINT *);
        const auto dpiForMonitor = lookUp<GetDpiForMonitor>(shcore, "GetDpiForMonitor");
        UINT x = 0, y = 0;
        const int effectiveDpi = 0; // MDT_EFFECTIVE_DPI
        const bool known =
            dpiForMonitor &&
            SUCCEEDED(dpiForMonitor(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST),
                                    effectiveDpi, &x, &y)) &&
            y > 0;
        FreeLibrary(shcore);
        if (known)
            return int(y);
    }
    // Windows 7: the screen's one dpi.
    const HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : amino::form::StandardDpi;
}

RECT frameAround(int width, int height, DWORD style, DWORD exStyle, int dpi)
{
    RECT frame{0, 0, width, height};
    using AdjustForDpi = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);
    const auto adjustForDpi = user32<AdjustForDpi>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, UINT(dpi))) {
        // Before Windows 10 the frame is drawn at the screen's one dpi.
        frame = RECT{0, 0, width, height};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return frame;
}

} // namespace Dpi
