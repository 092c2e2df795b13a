// The graph window as the portable side of the program sees it: everything the tick,
// the settings loader and the window behaviours ask of it. The Win32 main form
// implements it; tests use a fake.
#pragma once
#include <cstdint>

#include "base/Colour.h"
#include "base/Geometry.h"

// The frame the window wears: sizing border while focused, nothing when flat.
enum class TWindowFrame { Active, Flat };

class TGraphWindow {
public:
  virtual ~TGraphWindow() = default;

  // Visibility. ShowGraph makes the window visible, foreground and focused, checks
  // "+ShowGraph" and starts the run-away watch; HideGraph undoes all three. Neither
  // touches UserHidden.
  virtual bool GraphVisible() = 0;
  virtual void ShowGraph() = 0;
  virtual void HideGraph() = 0;
  // Repaint everything, background not erased.
  virtual void InvalidateGraph() = 0;

  // The DPI of the monitor the window is on: stored sizes are in 96-DPI units.
  virtual int32_t Dpi() { return 96; }

  // Outer rectangle in screen pixels.
  virtual int32_t Left() = 0;
  virtual int32_t Top() = 0;
  virtual int32_t Width() = 0;
  virtual int32_t Height() = 0;
  // Keeps the size and the Z order and does not activate.
  virtual void Move(int32_t left, int32_t top) = 0;
  virtual void Resize(int32_t width, int32_t height) = 0;

  // The class's drop-shadow style; shows on windows created later.
  virtual void SetDropShadow(bool on) = 0;
  // 255 opaque, 0 invisible.
  virtual void SetOpacity(uint8_t opacity) = 0;
  virtual void SetStayOnTop(bool on) = 0;
  virtual bool StayOnTop() = 0;
  // The check mark of "+Stay On Top".
  virtual void SetStayOnTopChecked(bool checked) = 0;
  // The current value of a system colour (GetSysColor's index).
  virtual TColor SystemColour(int32_t index) = 0;

  // The desktop: the work area (the primary monitor less its task bars) that snapping
  // and running away use; whether a rectangle touches any monitor; the work area of
  // the monitor nearest to it.
  virtual TRect WorkArea() = 0;
  virtual bool OnAnyMonitor(const TRect& r) = 0;
  virtual TRect NearestWorkArea(const TRect& r) = 0;
  // The pointer in screen pixels and the Ctrl key, at this moment.
  virtual TPoint32 CursorPos() = 0;
  virtual bool CtrlDown() = 0;

  virtual void SetFrame(TWindowFrame frame) = 0;
  // Mouse input passes through the window to those below it.
  virtual void SetClickThrough(bool on) = 0;

  // The run-away watch (50 ms) and the return check (1000 ms); a restart waits the
  // full interval again.
  virtual void SetRunAwayTimer(bool on) = 0;
  virtual void RestartReturnTimer() = 0;
  virtual void StopReturnTimer() = 0;
  virtual bool ReturnTimerRunning() = 0;
};
