#include "toolkit/Dpi.h"

namespace tk {

namespace {

template <typename T>
T UserLookup(const char* name) {
  const HMODULE user32 = GetModuleHandleA("user32.dll");
  return user32 ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

uint32_t SystemDpi() {
  static const auto forSystem = UserLookup<UINT(WINAPI*)()>("GetDpiForSystem");
  if (forSystem) {
    if (const UINT dpi = forSystem()) return dpi;
  }
  // Before Windows 10: the screen's logical pixels, which is the system DPI.
  const HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen) ReleaseDC(nullptr, screen);
  return static_cast<uint32_t>(dpi > 0 ? dpi : BaseDpi);
}

uint32_t WindowDpi(HWND wnd) {
  static const auto forWindow = UserLookup<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  if (forWindow && wnd) {
    if (const UINT dpi = forWindow(wnd)) return dpi;
  }
  return SystemDpi();
}

int32_t SmallIconSize() { return GetSystemMetrics(SM_CXSMICON); }

}  // namespace tk
