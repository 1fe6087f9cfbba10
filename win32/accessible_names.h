#pragma once

#include <windows.h>

#include <string_view>

// Gives a control without a caption of its own (a list, a text box) the name
// a screen reader announces for it. Needs COM on the calling thread.
void setAccessibleName(HWND control, std::string_view name);
// Drops the names again; called before the controls are destroyed.
void clearAccessibleName(HWND control);
