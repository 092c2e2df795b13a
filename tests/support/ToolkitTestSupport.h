// Helpers shared by the toolkit's Win32 tests.
#pragma once
#include "toolkit/Handles.h"
#include "toolkit/WinApi.h"
#include <chrono>

// Dispatches everything queued (leaves WM_QUIT alone), for at least `ms` milliseconds.
inline void PumpFor(int ms = 0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (std::chrono::steady_clock::now() >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline tk::unique_hicon MakeIcon() {
  return tk::unique_hicon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
}
