#include "dialogs/CountersDialog.h"

void ShowCountersDialog(HWND, const std::function<void()>&) {
  // The counters dialog is not built yet.
}
