#include "toolkit/WindowTimer.h"

#include "toolkit/PtrList.h"

namespace tk {

namespace {

TWindowObject* g_timerWindow = nullptr;
int g_windowTimerCount = 0;
// Live timers, so a WM_TIMER left in the queue for a timer that has died since is
// dropped instead of calling into freed memory.
TPtrList g_windowTimers;

bool IsLive(const void* p) { return g_windowTimers.IndexOf(p) >= 0; }

}  // namespace

TWindowTimer::TWindowTimer(int interval) : interval_(interval > 0 ? interval : 1000) {
  ++g_windowTimerCount;
  g_windowTimers.Add(this);
}

TWindowTimer::~TWindowTimer() = default;

TWindowObject* TWindowTimer::TimerWindow() { return g_timerWindow; }

void TWindowTimer::SetInterval(int ms) {
  const int v = ms > 0 ? ms : 1000;
  if (v == interval_) return;
  interval_ = v;
  if (enabled_) {
    SetEnabled(false);
    SetEnabled(true);
  }
}

void TWindowTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  if (on) {
    if (!g_timerWindow) {
      g_timerWindow = new TWindowObject("Timer");
      g_timerWindow->SetStyle(0);
    }
    HWND wnd = g_timerWindow->Handle();
    if (!wnd) return;
    id_ = SetTimer(wnd, reinterpret_cast<UINT_PTR>(this), static_cast<UINT>(interval_), &TimerProc);
    enabled_ = id_ != 0;
  } else {
    if (g_timerWindow && g_timerWindow->HandleIfCreated() && id_)
      KillTimer(g_timerWindow->HandleIfCreated(), id_);
    id_ = 0;
    enabled_ = false;
  }
}

void CALLBACK TWindowTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  try {
    if (!IsLive(reinterpret_cast<void*>(id))) return;
    auto* timer = reinterpret_cast<TWindowTimer*>(id);
    if (!timer->enabled_ || !timer->onTimer_) return;
    timer->AddRef();  // the handler may release the timer
    timer->onTimer_.code(timer->onTimer_.data, timer);
    Release(timer);
  } catch (...) {
  }
}

void TWindowTimer::BeforeDestroy() {
  SetEnabled(false);
  g_windowTimers.Remove(this);
  if (--g_windowTimerCount == 0 && g_timerWindow) Release(std::exchange(g_timerWindow, nullptr));
}

TWindowTimer* CreateWindowTimer(int interval) { return new TWindowTimer(interval); }

}  // namespace tk
