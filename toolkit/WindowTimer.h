// Window timers: WM_TIMER on the loop's thread, on one shared hidden window.
#pragma once
#include "toolkit/WinApi.h"

#include "toolkit/BaseObject.h"
#include "toolkit/WindowObject.h"

namespace tk {

class TWindowTimer;
using TWindowTimerEvent = void (*)(void* data, TWindowTimer* timer);

class TWindowTimer : public TBaseObject {
public:
  explicit TWindowTimer(int interval = 1000);
  int Interval() const { return interval_; }
  // 0 or less means 1000; a running timer restarts with the new interval.
  void SetInterval(int ms);
  bool Enabled() const { return enabled_; }
  // Enabling an enabled timer does nothing; off and on again restarts the full interval.
  virtual void SetEnabled(bool on);
  void SetOnTimer(TWindowTimerEvent code, void* data) { onTimer_ = {code, data}; }

  // The hidden window every window timer ticks on; null while no timer exists.
  static TWindowObject* TimerWindow();

protected:
  ~TWindowTimer() override;
  void BeforeDestroy() override;

private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  int interval_ = 1000;
  bool enabled_ = false;
  UINT_PTR id_ = 0;
  TEvent<TWindowTimerEvent> onTimer_;
};

TWindowTimer* CreateWindowTimer(int interval);

}  // namespace tk
