#include "dialogs/AboutDialog.h"

void ShowAboutDialog(HWND, const std::string&) {
  // The about box is not built yet.
}
