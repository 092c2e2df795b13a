// The counters dialog: the stored totals, average speeds and counted time, and a
// Reset that starts them again.
#pragma once
#include "toolkit/WinApi.h"

#include <functional>

// Modal. resetInMemory runs when the user resets the stored totals, so that the
// running program's own totals start again too and no later tick writes the old ones back.
void ShowCountersDialog(HWND owner, const std::function<void()>& resetInMemory);

// Moves the window to the middle of the rectangle from the screen's origin to the
// work area's right and bottom edges.
void CenterOnWorkArea(HWND window, UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
