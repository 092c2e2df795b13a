#include "toolkit/Timers.h"
#include <mmsystem.h>
#include <algorithm>
#include <vector>

namespace {

TWindowObject* g_timerWindow = nullptr;
int g_windowTimerCount = 0;
// Live timers, so a WM_TIMER or tick message left in the queue for a timer that has
// died since is dropped instead of calling into freed memory.
std::vector<TWindowTimer*> g_windowTimers;
std::vector<TMediaTimer*> g_mediaTimers;

template <typename T>
bool Contains(const std::vector<T*>& v, const void* p) {
  return std::find(v.begin(), v.end(), p) != v.end();
}

template <typename T>
void Erase(std::vector<T*>& v, T* p) {
  v.erase(std::remove(v.begin(), v.end(), p), v.end());
}

}  // namespace

// --- window timers ---

TWindowTimer::TWindowTimer(int interval) : interval_(interval > 0 ? interval : 1000) {
  ++g_windowTimerCount;
  g_windowTimers.push_back(this);
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
    if (!Contains(g_windowTimers, reinterpret_cast<void*>(id))) return;
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
  Erase(g_windowTimers, this);
  if (--g_windowTimerCount == 0 && g_timerWindow) Release(std::exchange(g_timerWindow, nullptr));
}

TWindowTimer* CreateWindowTimer(int interval) { return new TWindowTimer(interval); }

// --- multimedia timer ---

TMediaTimer::TMediaTimer(int interval) : interval_(interval) { g_mediaTimers.push_back(this); }

TMediaTimer::~TMediaTimer() = default;

void TMediaTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  if (enabled_) {
    SetEnabled(false);
    SetEnabled(true);
  }
}

void TMediaTimer::SetTargetWindow(TWindowObject* window) {
  target_ = window;
  targetWnd_ = window ? window->Handle() : nullptr;
  pending_ = false;
  if (window) window->AttachHandler(&TickHandler, true);
}

void TMediaTimer::SetEnabled(bool on) {
  if (on == enabled_) return;
  if (on) {
    pending_ = false;
    // Synchronous kill: once timeKillEvent returns, no callback still runs on this object.
    id_ = timeSetEvent(static_cast<UINT>(interval_), static_cast<UINT>(resolution_), &Callback,
                       reinterpret_cast<DWORD_PTR>(this), flags_ | TIME_KILL_SYNCHRONOUS);
    enabled_ = id_ != 0;
  } else {
    if (id_) timeKillEvent(id_);
    id_ = 0;
    enabled_ = false;
  }
}

void CALLBACK TMediaTimer::Callback(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
  try {
    auto* timer = reinterpret_cast<TMediaTimer*>(user);
    if (HWND wnd = timer->targetWnd_.load()) {
      // Only PostMessage here: windows belong to the loop's thread.
      if (!timer->pending_.exchange(true))
        if (!PostMessageA(wnd, kTickMessage, 0, reinterpret_cast<LPARAM>(timer))) timer->pending_ = false;
      return;
    }
    if (timer->onTimer_) timer->onTimer_.code(timer->onTimer_.data, timer);
  } catch (...) {
  }
}

bool TMediaTimer::TickHandler(TWindowObject* window, TMessageRecord& msg, LRESULT& result) {
  if (msg.Msg != kTickMessage) return false;
  result = 0;
  if (!Contains(g_mediaTimers, reinterpret_cast<void*>(msg.LParam))) return true;
  auto* timer = reinterpret_cast<TMediaTimer*>(msg.LParam);
  if (timer->target_ != window) return true;
  timer->AddRef();
  if (timer->enabled_ && timer->onTimer_) timer->onTimer_.code(timer->onTimer_.data, timer);
  // Cleared after the event, so a tick that overruns its period is not queued behind itself.
  timer->pending_ = false;
  Release(timer);
  return true;
}

void TMediaTimer::BeforeDestroy() {
  SetEnabled(false);
  Erase(g_mediaTimers, this);
}

TMediaTimer* CreateMediaTimer(int interval) { return new TMediaTimer(interval); }
