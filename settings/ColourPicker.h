// The "ColourPicker" control: a colour swatch that opens the system's colour chooser.
#pragma once
#include "toolkit/WinApi.h"

// Registers the window class; once, at start-up.
void RegisterColourPicker(HINSTANCE module);
