// A graph window for tests: keeps what it is given and records every call in order,
// into its own log or one it shares with other fakes.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "app/GraphWindow.h"

using TEventLog = std::vector<std::string>;

class TFakeGraphWindow : public TGraphWindow {
public:
  TFakeGraphWindow() = default;
  explicit TFakeGraphWindow(TEventLog& log) : Log(&log) {}

  // the start-up window: 87 x 39 at (546, 205), visible, on top until the settings say otherwise
  int32_t L = 546, T = 205, W = 87, H = 39;
  bool Visible = true, Shadow = false, OnTop = true, OnTopChecked = true;
  bool TopmostRefused = false;  // the system may refuse the topmost band
  int Opacity = -1, Shows = 0, Hides = 0;
  TEventLog Calls;
  TEventLog* Log = &Calls;
  std::function<void(const std::string&)> OnEvent;  // sees the state at each call

  // the desktop: the primary monitor with a 30-pixel task bar, a second one to its left
  std::vector<TRect> Monitors{{0, 0, 1024, 768}, {-1280, 0, 0, 1024}};
  TRect WA{0, 0, 1024, 738}, Nearest{0, 0, 1024, 738};  // Nearest: what NearestWorkArea answers
  TPoint32 Cursor{-5000, -5000};
  bool Ctrl = false;
  std::string Frame;  // "active" or "flat" once set
  bool ClickThrough = false, RunAwayTimerOn = false, ReturnTimerOn = false;

  bool GraphVisible() override { return Note("visible?"), Visible; }
  void ShowGraph() override { ++Shows, Visible = true, RunAwayTimerOn = true, Note("show"); }
  void HideGraph() override { ++Hides, Visible = false, RunAwayTimerOn = false, Note("hide"); }
  void InvalidateGraph() override { Note("invalidate"); }
  int32_t DpiValue = 96;
  int32_t Dpi() override { return DpiValue; }
  int32_t Left() override { return L; }
  int32_t Top() override { return T; }
  int32_t Width() override { return W; }
  int32_t Height() override { return H; }
  void Move(int32_t l, int32_t t) override { L = l, T = t, Note("move"); }
  void Resize(int32_t w, int32_t h) override { W = w, H = h, Note("resize"); }
  void SetDropShadow(bool on) override { Shadow = on, Note("shadow"); }
  void SetOpacity(uint8_t o) override { Opacity = o, Note("opacity"); }
  void SetStayOnTop(bool on) override { OnTop = on && !TopmostRefused, Note("ontop"); }
  bool StayOnTop() override { return OnTop; }
  void SetStayOnTopChecked(bool c) override { OnTopChecked = c, Note("check"); }
  // distinct per index, so a test sees which system colour a default came from
  TColor SystemColour(int32_t index) override { return 0x00ABCD00u + static_cast<TColor>(index); }
  TRect WorkArea() override { return WA; }
  bool OnAnyMonitor(const TRect& r) override {
    for (const TRect& m : Monitors)
      if (r.left < m.right && m.left < r.right && r.top < m.bottom && m.top < r.bottom) return true;
    return false;
  }
  TRect NearestWorkArea(const TRect&) override { return Nearest; }
  TPoint32 CursorPos() override { return Cursor; }
  bool CtrlDown() override { return Ctrl; }
  void SetFrame(TWindowFrame f) override { Frame = f == TWindowFrame::Active ? "active" : "flat", Note(Frame); }
  void SetClickThrough(bool on) override { ClickThrough = on, Note(on ? "click-through" : "clicks"); }
  void SetRunAwayTimer(bool on) override { RunAwayTimerOn = on, Note(on ? "watch" : "no watch"); }
  void RestartReturnTimer() override { ReturnTimerOn = true, Note("return timer"); }
  void StopReturnTimer() override { ReturnTimerOn = false, Note("no return timer"); }
  bool ReturnTimerRunning() override { return ReturnTimerOn; }

private:
  void Note(const std::string& e) {
    Log->push_back(e);
    if (OnEvent) OnEvent(e);
  }
};
