// The display's scale as a window sees it: the DPI of the monitor it is on and the
// small-icon size the shell asks for. Everything is looked up at run time, so the
// program still runs where the system knows only one DPI (or none).
#pragma once
#include "toolkit/WinApi.h"

#include <cstdint>

#include "base/DpiScale.h"

namespace tk {

// The system's DPI (the primary monitor's at sign-in); 96 where it cannot be read.
uint32_t SystemDpi();
// The DPI of the monitor the window is on, or the system's where the system cannot tell.
uint32_t WindowDpi(HWND wnd);
// The width of a small icon now: the size the notification area asks for.
int32_t SmallIconSize();

}  // namespace tk
