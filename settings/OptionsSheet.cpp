#include "settings/OptionsSheet.h"

void ShowOptionsDialog(HWND, const std::string&, const std::vector<std::string>&) {
  // The options sheet is not built yet.
}
