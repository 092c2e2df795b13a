// What the graph window does on the desktop, decided here over the graph-window
// interface; the main form only turns messages into these calls.
#pragma once
#include "app/GraphWindow.h"
#include "app/StatsForm.h"

class TSettings;

// Snapping distance to the work area's edges, inclusive.
inline constexpr int32_t SnapDistance = 10;
// The margin around the window and its home in which the cursor counts as on them.
inline constexpr int32_t RunAwayMargin = 2;

// Hides a visible window for good (UserHidden), shows a hidden one.
void ToggleGraph(TStatsForm& form, TGraphWindow& window);
// The user asked for the graph (the tray, the menu, a second start): no longer hidden by
// the user, and the idle count starts afresh, so that auto-hide waits its full time.
void ShowGraphForUser(TStatsForm& form, TGraphWindow& window);

// Every move of the window records its home position, unless the program itself
// moved it (MovingSelf).
void WindowMoved(TStatsForm& form, TGraphWindow& window);

// The window gained or lost the focus: frame, click-through, run-away. Losing it while
// a dialog is open changes nothing; "AutoRunAway" is read from the store at that moment.
void ActivationChanged(TStatsForm& form, TSettings& store, TGraphWindow& window, bool active);

// The proposed top-left of a window of that size, pulled flush to every edge of the
// work area within SnapDistance; clamped into it only when something snapped.
TPoint32 SnapToWorkArea(TPoint32 pos, TSize size, const TRect& workArea);
// A position change about to happen: snapped while the window is visible. False when
// hidden (nothing looked at).
bool PositionChanging(TGraphWindow& window, TPoint32& pos, TSize size);

// Where a window at r flees to: away from the edge it touches, else to the farther of
// top and bottom. Zero is the screen's edge, not the work area's.
TPoint32 FleeTarget(const TRect& r, const TRect& workArea);
// MovingSelf around a move the program makes itself.
void MoveSelf(TStatsForm& form, TGraphWindow& window, int32_t left, int32_t top);
// Flees from home (only from home) and starts the return check.
void RunAway(TStatsForm& form, TGraphWindow& window);
// Back to the home position.
void GoHome(TStatsForm& form, TGraphWindow& window);
// The 50 ms watch: the cursor on the home area makes an armed window flee; the cursor
// on a window that has fled brings it back.
void RunAwayTimerFired(TStatsForm& form, TGraphWindow& window);
// The 1000 ms return check: home unless the cursor is still on the home area.
void ReturnTimerFired(TStatsForm& form, TGraphWindow& window);

// The cursor has rested near where it last moved over the tray icon, so the balloon
// shows: the hover point lies within 4 pixels before the cursor or 3 after it.
bool CursorRested(TPoint32 hover, TPoint32 cursor);
