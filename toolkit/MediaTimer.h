// The multimedia timer, which can hand its ticks to the loop's thread.
#pragma once
#include "toolkit/WinApi.h"

#include <atomic>

#include "toolkit/BaseObject.h"
#include "toolkit/WindowObject.h"

namespace tk {

class TMediaTimer;
using TMediaTimerEvent = void (*)(void* data, TMediaTimer* timer);

class TMediaTimer : public TBaseObject {
public:
  explicit TMediaTimer(int interval = 1000);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  int Resolution() const { return resolution_; }
  void SetResolution(int ms) { resolution_ = ms; }
  UINT EventFlags() const { return flags_; }
  void SetEventFlags(UINT flags) { flags_ = flags; }
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool on);
  void SetOnTimer(TMediaTimerEvent code, void* data) { onTimer_ = {code, data}; }

  // With a target window, the timer's thread only posts one private message to it
  // and OnTimer runs on the loop's thread when that message is handled; no new post
  // is made before then, so periods missed during a stall do not pile up.
  // Without one (the default), OnTimer runs on the multimedia timer's own thread.
  void SetTargetWindow(TWindowObject* window);
  TWindowObject* TargetWindow() const { return target_; }

protected:
  ~TMediaTimer() override;
  void BeforeDestroy() override;

private:
  static void CALLBACK Callback(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR);
  static TReply TickHandler(TWindowObject& window, const TMessageRecord& msg);
  int interval_ = 1000;
  int resolution_ = 0;
  UINT flags_ = TIME_PERIODIC;
  bool enabled_ = false;
  UINT id_ = 0;
  TEvent<TMediaTimerEvent> onTimer_;
  TWindowObject* target_ = nullptr;
  std::atomic<HWND> targetWnd_{nullptr};
  std::atomic<bool> pending_{false};
};

TMediaTimer* CreateMediaTimer(int interval);

}  // namespace tk
