// Move-only owners for Win32 handles, one alias per kind.
// Every owner counts the handles it holds, so tests can prove that nothing leaks
// (GetGuiResources is a stub under Wine).
#pragma once
#include "toolkit/WinApi.h"
#include <commctrl.h>
#include <atomic>
#include <utility>

namespace tk {

enum class THandleFamily { Gdi, User, Kernel };

// Live handle counts per family, kept by unique_any below.
std::atomic<long>& LiveHandles(THandleFamily family);
inline long LiveGdiHandles() { return LiveHandles(THandleFamily::Gdi).load(); }
inline long LiveUserHandles() { return LiveHandles(THandleFamily::User).load(); }

template <typename T, auto Close, THandleFamily Family, T Invalid = T{}>
class unique_any {
public:
  using pointer = T;
  unique_any() = default;
  explicit unique_any(T h) : h_(h) { count(+1); }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& o) noexcept : h_(std::exchange(o.h_, Invalid)) {}
  unique_any& operator=(unique_any&& o) noexcept {
    if (this != &o) { reset(); h_ = std::exchange(o.h_, Invalid); }
    return *this;
  }
  ~unique_any() { reset(); }

  T get() const { return h_; }
  explicit operator bool() const { return h_ != Invalid; }
  void reset(T h = Invalid) {
    if (h_ != Invalid) { Close(h_); count(-1); }
    h_ = h;
    count(+1);
  }
  [[nodiscard]] T release() {
    if (h_ != Invalid) count(-1);
    return std::exchange(h_, Invalid);
  }

private:
  void count(long d) const { if (h_ != Invalid) LiveHandles(Family) += d; }
  T h_ = Invalid;
};

namespace detail {
inline void CloseGdi(HGDIOBJ h) { ::DeleteObject(h); }
inline void CloseDc(HDC h) { ::DeleteDC(h); }
inline void CloseIcon(HICON h) { ::DestroyIcon(h); }
inline void CloseMenu(HMENU h) { ::DestroyMenu(h); }
inline void CloseAccel(HACCEL h) { ::DestroyAcceleratorTable(h); }
inline void CloseKey(HKEY h) { ::RegCloseKey(h); }
inline void CloseRgn(HRGN h) { ::DeleteObject(h); }
inline void CloseImageList(HIMAGELIST h) { ::ImageList_Destroy(h); }
inline void CloseWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void CloseKernelObject(HANDLE h) { ::CloseHandle(h); }
inline void CloseModule(HMODULE h) { ::FreeLibrary(h); }
// CancelMibChangeNotify2, looked up at run time like the notifications themselves; it
// waits for a callback under way.
void CancelMibNotification(HANDLE h);
}  // namespace detail

using unique_hpen = unique_any<HPEN, detail::CloseGdi, THandleFamily::Gdi>;
using unique_hbrush = unique_any<HBRUSH, detail::CloseGdi, THandleFamily::Gdi>;
using unique_hfont = unique_any<HFONT, detail::CloseGdi, THandleFamily::Gdi>;
using unique_hbitmap = unique_any<HBITMAP, detail::CloseGdi, THandleFamily::Gdi>;
using unique_hrgn = unique_any<HRGN, detail::CloseRgn, THandleFamily::Gdi>;
using unique_hdc = unique_any<HDC, detail::CloseDc, THandleFamily::Gdi>;
using unique_hicon = unique_any<HICON, detail::CloseIcon, THandleFamily::User>;
using unique_hmenu = unique_any<HMENU, detail::CloseMenu, THandleFamily::User>;
using unique_haccel = unique_any<HACCEL, detail::CloseAccel, THandleFamily::User>;
using unique_hwnd = unique_any<HWND, detail::CloseWindowHandle, THandleFamily::User>;
using unique_himagelist = unique_any<HIMAGELIST, detail::CloseImageList, THandleFamily::User>;
using unique_hkey = unique_any<HKEY, detail::CloseKey, THandleFamily::Kernel>;
// Kernel objects whose failure value is null (mutexes, events, threads, processes).
using unique_handle = unique_any<HANDLE, detail::CloseKernelObject, THandleFamily::Kernel>;
// A DLL loaded with LoadLibraryA.
using unique_hmodule = unique_any<HMODULE, detail::CloseModule, THandleFamily::Kernel>;
// An IP Helper change notification (NotifyRouteChange2 and its kin).
using unique_mib_notification = unique_any<HANDLE, detail::CancelMibNotification, THandleFamily::Kernel>;

// GetDC (client area) or GetWindowDC (the whole window) / ReleaseDC for the life of a scope.
template <HDC (*Get)(HWND)>
class TScopedDC {
public:
  explicit TScopedDC(HWND wnd) : wnd_(wnd), dc_(Get(wnd)) {}
  ~TScopedDC() { if (dc_) ::ReleaseDC(wnd_, dc_); }
  TScopedDC(const TScopedDC&) = delete;
  TScopedDC& operator=(const TScopedDC&) = delete;
  HDC get() const { return dc_; }
private:
  HWND wnd_;
  HDC dc_;
};
namespace detail {
inline HDC ClientDc(HWND wnd) { return ::GetDC(wnd); }
inline HDC WholeWindowDc(HWND wnd) { return ::GetWindowDC(wnd); }
}  // namespace detail
using TScopedGetDC = TScopedDC<detail::ClientDc>;
using TScopedWindowDC = TScopedDC<detail::WholeWindowDc>;

// SelectObject for the life of a scope; the previous object is put back.
class TScopedSelect {
public:
  TScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~TScopedSelect() { if (old_) ::SelectObject(dc_, old_); }
  TScopedSelect(const TScopedSelect&) = delete;
  TScopedSelect& operator=(const TScopedSelect&) = delete;
private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint / EndPaint.
class TScopedPaint {
public:
  explicit TScopedPaint(HWND wnd) : wnd_(wnd) { dc_ = ::BeginPaint(wnd, &ps_); }
  ~TScopedPaint() { ::EndPaint(wnd_, &ps_); }
  TScopedPaint(const TScopedPaint&) = delete;
  TScopedPaint& operator=(const TScopedPaint&) = delete;
  HDC get() const { return dc_; }
  const PAINTSTRUCT& info() const { return ps_; }
private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace tk
