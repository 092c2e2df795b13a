// Moving the catalogued settings between the store and the main form and its window.
#pragma once
#include <cstdint>

#include "app/GraphWindow.h"
#include "app/StatsForm.h"

class TSettings;

// A stored outer size is kept inside this range: the history and the back buffer
// are sized from it.
inline constexpr int32_t MinWindowExtent = 1;
inline constexpr int32_t MaxWindowExtent = 16384;

// Reads every catalogued value (but "AutoRunAway") into the form and the window.
void LoadSettings(TStatsForm& form, TSettings& store, TGraphWindow& window);
// A window left on no monitor (one unplugged, a work area changed) goes onto the
// nearest work area, as at load.
void KeepOnAMonitor(TGraphWindow& window);
// "LeftPos", "TopPos", "Width", "Height", "StayOnTop", "UserHide", in that order;
// the size in 96-DPI units.
void SaveWindowState(const TStatsForm& form, TSettings& store, TGraphWindow& window);
