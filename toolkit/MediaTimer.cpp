#include "toolkit/MediaTimer.h"

#include <mmsystem.h>

#include "toolkit/PtrList.h"

#include "toolkit/WindowMessages.h"

namespace tk {

namespace {

// Live timers, so a tick message left in the queue for a timer that has died since is
// dropped instead of calling into freed memory.
TPtrList g_mediaTimers;

bool IsLive(const void* p) { return g_mediaTimers.IndexOf(p) >= 0; }

}  // namespace

TMediaTimer::TMediaTimer(int interval) : interval_(interval) { g_mediaTimers.Add(this); }

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
        if (!PostMessageA(wnd, WM_TK_MEDIATIMER, 0, reinterpret_cast<LPARAM>(timer))) timer->pending_ = false;
      return;
    }
    if (timer->onTimer_) timer->onTimer_.code(timer->onTimer_.data, timer);
  } catch (...) {
  }
}

TReply TMediaTimer::TickHandler(TWindowObject& window, const TMessageRecord& msg) {
  if (msg.Msg != WM_TK_MEDIATIMER) return PassOn;
  if (!IsLive(reinterpret_cast<void*>(msg.LParam))) return 0;
  auto* timer = reinterpret_cast<TMediaTimer*>(msg.LParam);
  if (timer->target_ != &window) return 0;
  timer->AddRef();
  if (timer->enabled_ && timer->onTimer_) timer->onTimer_.code(timer->onTimer_.data, timer);
  // Cleared after the event, so a tick that overruns its period is not queued behind itself.
  timer->pending_ = false;
  Release(timer);
  return 0;
}

void TMediaTimer::BeforeDestroy() {
  SetEnabled(false);
  g_mediaTimers.Remove(this);
}

TMediaTimer* CreateMediaTimer(int interval) { return new TMediaTimer(interval); }

}  // namespace tk
