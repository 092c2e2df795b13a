#include "app/WindowBehaviours.h"

#include <cstdlib>

#include "settings/Settings.h"

namespace {

TRect WindowRect(TGraphWindow& window) {
  const int32_t l = window.Left(), t = window.Top();
  return {l, t, l + window.Width(), t + window.Height()};
}

TRect HomeRect(const TStatsForm& form, TGraphWindow& window) {
  return {form.HomeLeft, form.HomeTop, form.HomeLeft + window.Width(), form.HomeTop + window.Height()};
}

TRect Inflated(TRect r, int32_t d) { return {r.left - d, r.top - d, r.right + d, r.bottom + d}; }

bool AtHome(const TStatsForm& form, const TRect& r) { return r.left == form.HomeLeft && r.top == form.HomeTop; }

// 64-bit, so coordinates at the ends of the 32-bit range cannot overflow.
bool Near(int64_t a, int64_t b) { return std::llabs(a - b) <= SnapDistance; }

}  // namespace

void ToggleGraph(TStatsForm& form, TGraphWindow& window) {
  if (window.GraphVisible()) {
    form.UserHidden = true;
    window.HideGraph();
  } else {
    ShowGraphForUser(form, window);
  }
}

void ShowGraphForUser(TStatsForm& form, TGraphWindow& window) {
  form.UserHidden = false;
  form.IdleTicks = 0;
  window.ShowGraph();
}

void WindowMoved(TStatsForm& form, TGraphWindow& window) {
  if (form.MovingSelf) return;
  form.HomeLeft = window.Left();
  form.HomeTop = window.Top();
}

void ActivationChanged(TStatsForm& form, TSettings& store, TGraphWindow& window, bool active) {
  if (active) {
    form.RunAwayArmed = false;
    form.IsActive = true;
    window.SetFrame(TWindowFrame::Active);
    // Lifted whether or not click-through is still on: the options may have turned
    // it off while the window was passing clicks through.
    window.SetClickThrough(false);
    return;
  }
  if (form.DialogOpen) return;
  form.RunAwayArmed = store.ReadBool("AutoRunAway", false);
  form.IsActive = false;
  if (form.MouseClickThru) window.SetClickThrough(true);
  if (form.GoFlat) window.SetFrame(TWindowFrame::Flat);
}

TPoint32 SnapToWorkArea(TPoint32 pos, TSize size, const TRect& wa) {
  int64_t x = pos.x, y = pos.y;
  const int64_t cx = size.cx, cy = size.cy;
  bool snapped = false;
  if (Near(x, wa.left)) x = wa.left, snapped = true;
  if (Near(wa.right, x + cx)) x = wa.right - cx, snapped = true;
  if (Near(y, wa.top)) y = wa.top, snapped = true;
  if (Near(wa.bottom, y + cy)) y = wa.bottom - cy, snapped = true;
  if (snapped) {
    if (x < wa.left) x = wa.left;
    if (x + cx > wa.right) x = wa.right - cx;
    if (y < wa.top) y = wa.top;
    if (y + cy > wa.bottom) y = wa.bottom - cy;
  }
  return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

bool PositionChanging(TGraphWindow& window, TPoint32& pos, TSize size) {
  if (!window.GraphVisible()) return false;
  pos = SnapToWorkArea(pos, size, window.WorkArea());
  return true;
}

TPoint32 FleeTarget(const TRect& r, const TRect& wa) {
  TPoint32 to{r.left, r.top};
  if (r.bottom == wa.bottom) to.y = 0;
  else if (r.top == wa.top) to.y = wa.bottom - r.bottom;
  else if (r.right == wa.right) to.x = 0;
  else if (r.left == wa.left) to.x = wa.right - r.right;
  else if (r.top - wa.top < wa.bottom - r.bottom) to.y = wa.bottom - r.Height();
  else to.y = 0;
  return to;
}

void MoveSelf(TStatsForm& form, TGraphWindow& window, int32_t left, int32_t top) {
  form.MovingSelf = true;
  window.Move(left, top);
  form.MovingSelf = false;
}

void RunAway(TStatsForm& form, TGraphWindow& window) {
  const TRect r = WindowRect(window);
  if (!AtHome(form, r)) return;
  const TPoint32 to = FleeTarget(r, window.WorkArea());
  window.RestartReturnTimer();
  MoveSelf(form, window, to.x, to.y);
  window.SetRunAwayTimer(true);
}

void GoHome(TStatsForm& form, TGraphWindow& window) {
  window.StopReturnTimer();
  MoveSelf(form, window, form.HomeLeft, form.HomeTop);
  window.SetRunAwayTimer(window.GraphVisible());
}

void RunAwayTimerFired(TStatsForm& form, TGraphWindow& window) {
  if (!form.RunAwayArmed) return;
  const TRect r = WindowRect(window);
  const TPoint32 p = window.CursorPos();
  if (Inflated(HomeRect(form, window), RunAwayMargin).Contains(p) && !window.CtrlDown()) {
    RunAway(form, window);
  } else if (Inflated(r, RunAwayMargin).Contains(p) && !AtHome(form, r)) {
    GoHome(form, window);
  }
}

void ReturnTimerFired(TStatsForm& form, TGraphWindow& window) {
  if (!window.GraphVisible()) window.ShowGraph();
  const TPoint32 p = window.CursorPos();
  if (Inflated(HomeRect(form, window), RunAwayMargin).Contains(p) && !window.CtrlDown()) return;
  GoHome(form, window);
}

bool CursorRested(TPoint32 hover, TPoint32 cursor) {
  return TRect{cursor.x - 4, cursor.y - 4, cursor.x + 4, cursor.y + 4}.Contains(hover);
}
