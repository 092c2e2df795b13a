// Helpers shared by the toolkit's and the renderers' Wine tests.
#pragma once
#include "toolkit/DrawBitmap.h"
#include "toolkit/Handles.h"
#include "toolkit/WinApi.h"
#include <chrono>
#include <memory>
#include <string>

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

// A toolkit object released at the end of the scope.
struct TReleaser {
  void operator()(tk::TBaseObject* p) const { tk::Release(p); }
};
template <typename T>
using TOwned = std::unique_ptr<T, TReleaser>;

inline TOwned<tk::TDrawBitmap> FilledBitmap(int w, int h, uint32_t colour) {
  TOwned<tk::TDrawBitmap> b(tk::CreateDrawBitmap(w, h));
  b->Canvas()->Brush()->SetColour(colour);
  b->Canvas()->FillRect(b->BoundsRect());
  return b;
}

// "x,y" of every pixel in r whose colour is not `expected`: empty when all match.
inline std::string Mismatches(tk::TDrawBitmap& b, RECT r, uint32_t expected) {
  std::string out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (b.Pixel(x, y) != expected) out += std::to_string(x) + "," + std::to_string(y) + " ";
  return out;
}

// The live handle counts of toolkit/Handles.h when made; Leaked() names what changed.
struct THandleBaseline {
  long gdi = tk::LiveGdiHandles(), user = tk::LiveUserHandles();
  std::string Leaked() const {
    const long g = tk::LiveGdiHandles() - gdi, u = tk::LiveUserHandles() - user;
    return g || u ? "GDI " + std::to_string(g) + ", USER " + std::to_string(u) : "";
  }
};
