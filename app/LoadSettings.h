// Moving the catalogued settings between the store and the main form and its window.
#pragma once
#include <cstdint>

#include "app/GraphWindow.h"
#include "app/StatsForm.h"

class TSettings;

// The graph window's outer size limits, for the user's sizing and for a stored size
// alike: a damaged store must not give a window nobody can find or grab.
inline constexpr int32_t MinGraphWidth = 30, MaxGraphWidth = 300;
inline constexpr int32_t MinGraphHeight = 16, MaxGraphHeight = 180;

// Reads every catalogued value (but "AutoRunAway") into the form and the window.
void LoadSettings(TStatsForm& form, TSettings& store, TGraphWindow& window);
// A window left on no monitor (one unplugged, a work area changed) goes onto the
// nearest work area, as at load.
void KeepOnAMonitor(TGraphWindow& window);
// "LeftPos", "TopPos", "Width", "Height", "StayOnTop", "UserHide", in that order;
// the size in 96-DPI units.
void SaveWindowState(const TStatsForm& form, TSettings& store, TGraphWindow& window);
