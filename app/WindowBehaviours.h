// What the graph window does on the desktop, decided here over the graph-window
// interface; the main form only turns messages into these calls.
#pragma once
#include "app/GraphWindow.h"
#include "app/StatsForm.h"

// Hides a visible window for good (UserHidden), shows a hidden one.
void ToggleGraph(TStatsForm& form, TGraphWindow& window);

// Every move of the window records its home position, unless the program itself
// moved it (MovingSelf).
void WindowMoved(TStatsForm& form, TGraphWindow& window);

// The window gained or lost the focus; losing it while a dialog is open changes nothing.
void ActivationChanged(TStatsForm& form, bool active);
