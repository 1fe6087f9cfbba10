#pragma once

#include <windows.h>

// Dots per inch, as the form's twips need them. Windows 10 tells each
// monitor's (the manifest asks for that); Windows 7 and 8 have one figure for
// the whole screen. The newer calls are looked up when they are needed, so
// that the program still starts where they are missing.
namespace Dpi {

// The dpi `window` is drawn at.
int of(HWND window);

// The window rectangle around a client area of `width` × `height` pixels, at
// the origin, with the frame Windows draws at `dpi`.
RECT frameAround(int width, int height, DWORD style, DWORD exStyle, int dpi);

} // namespace Dpi
