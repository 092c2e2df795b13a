#include "app/SessionInstance.h"

#include "toolkit/WindowMessages.h"

namespace {

// The main form's window: the toolkit's form class, titled as the form.
constexpr const char* FormClass = "obj_Form";
constexpr const char* FormTitle = "StatsForm";

}  // namespace

TSessionInstance::TSessionInstance() : mutex_(CreateMutexA(nullptr, FALSE, InstanceMutexName)) {}

TSessionInstance::~TSessionInstance() {
  if (owned_) ReleaseMutex(mutex_.get());
}

bool TSessionInstance::TakeLock(uint32_t waitMs) {
  // Without a lock (the name taken by an object of another kind) the program runs as
  // it would have without one, rather than never.
  if (!mutex_ || owned_) return true;
  const DWORD result = WaitForSingleObject(mutex_.get(), waitMs);
  // Abandoned: the holder ended without letting go, and the lock is ours now.
  owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
  return owned_;
}

bool TSessionInstance::AskHolderToShow() {
  for (HWND wnd = nullptr; (wnd = FindWindowExA(nullptr, wnd, FormClass, FormTitle));) {
    DWORD process = 0;
    GetWindowThreadProcessId(wnd, &process);
    if (process == GetCurrentProcessId()) continue;
    // The user started this one, so the right to come to the front is ours to hand on.
    AllowSetForegroundWindow(process);
    DWORD_PTR reply = 0;
    if (SendMessageTimeoutA(wnd, WM_STATS_SHOWGRAPH, 0, 0, SMTO_ABORTIFHUNG, InstanceAnswerMs, &reply) &&
        reply == StatsShowGraphReply)
      return true;
  }
  return false;
}

uint64_t TSessionInstance::NowMs() { return GetTickCount64(); }
