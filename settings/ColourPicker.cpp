#include "settings/ColourPicker.h"

void RegisterColourPicker(HINSTANCE) {
  // The colour picker is not built yet.
}
