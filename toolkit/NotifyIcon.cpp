#include "toolkit/NotifyIcon.h"
#include "toolkit/Application.h"
#include "toolkit/WindowMessages.h"
#include "toolkit/Platform.h"
#include <algorithm>
#include <cstring>
#include <vector>

namespace tk {

namespace {

TShellNotifyIconFn g_shellNotify = &Shell_NotifyIconA;
std::vector<TNotifyIcon*> g_icons;  // every icon of the process, oldest first
UINT g_nextIconId = 1;
UINT g_taskbarCreated = 0;

void CopyField(char* dst, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(dst, text.data(), n);
  dst[n] = '\0';
}

// A window going away takes its icons out of the notification area and forgets them.
void OnWindowDestroyed(TWindowObject* window);

}  // namespace

TShellNotifyIconFn SetShellNotifyIconFunction(TShellNotifyIconFn fn) {
  return std::exchange(g_shellNotify, fn ? fn : &Shell_NotifyIconA);
}

UINT TNotifyIcon::TaskbarCreatedMessage() { return g_taskbarCreated; }

TNotifyIcon::TNotifyIcon(TWindowObject* window, tk::unique_hicon icon)
    : window_(window), id_(g_nextIconId++), owned_(std::move(icon)) {
  g_icons.push_back(this);
  AddWindowDestroyHook(&OnWindowDestroyed);
  if (window_) window_->AttachHandler(&WindowHandler, true);
}

TNotifyIcon* CreateNotifyIcon(TWindowObject* window, tk::unique_hicon icon) {
  return new TNotifyIcon(window, std::move(icon));
}

bool TNotifyIcon::Send(DWORD message) {
  // Removing needs no window made for the purpose: without one nothing was ever added.
  HWND wnd = !window_ ? nullptr : message == NIM_DELETE ? window_->HandleIfCreated() : window_->Handle();
  if (!wnd) return false;
  NOTIFYICONDATAA nid{};
  // The basic record: only the fields up to the tooltip.
  nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
  nid.hWnd = wnd;
  nid.uID = id_;
  if (message != NIM_DELETE) {
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = WM_TK_NOTIFYICON;
    nid.hIcon = Icon();
    CopyField(nid.szTip, 64, tip_);
  }
  return g_shellNotify(message, &nid) != FALSE;
}

bool TNotifyIcon::Add() {
  // A busy shell may refuse, or time out and take the icon all the same: then it
  // refuses a second add but takes a modify.
  return Send(NIM_ADD) || Send(NIM_MODIFY);
}

void TNotifyIcon::SetActive(bool on) {
  if (LoopTerminated()) {
    Send(NIM_DELETE);
    active_ = false;
    return;
  }
  if (on == active_) return;
  if (on) {
    if (!Icon() || !window_ || !window_->Handle()) return;
    shown_ = Add();
    active_ = true;
  } else {
    Send(NIM_DELETE);
    active_ = shown_ = false;
  }
}

tk::unique_hicon TNotifyIcon::InstallIcon(tk::unique_hicon owned, HICON shared) {
  const HICON before = Icon();
  tk::unique_hicon previous = std::exchange(owned_, std::move(owned));
  shared_ = shared;
  // one the shell has not taken (or has lost) is added again with the next picture
  if (active_ && Icon() != before) shown_ = before && shown_ ? Send(NIM_MODIFY) : Add();
  return previous;
}

tk::unique_hicon TNotifyIcon::SetIcon(tk::unique_hicon icon) { return InstallIcon(std::move(icon), nullptr); }

tk::unique_hicon TNotifyIcon::SetSharedIcon(HICON icon) { return InstallIcon({}, icon); }

void TNotifyIcon::SetReAddOnTaskbarRestart(bool on) {
  reAdd_ = on;
  if (!on) return;
  if (!g_taskbarCreated) g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  TWindowObject* top = window_;
  while (top && top->Parent() && (top->Style() & WS_CHILD)) top = top->Parent();
  if (top) top->AttachHandler(&TaskbarHandler, true);
}

void TNotifyIcon::ShowBalloon(const std::string& title, const std::string& text, int seconds, int kind) {
  if (WindowsVersion() < 4) return;
  HWND wnd = window_ ? window_->Handle() : nullptr;
  if (!wnd) return;
  NOTIFYICONDATAA nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = wnd;
  nid.uID = id_;
  nid.uFlags = NIF_INFO;
  nid.hIcon = Icon();
  nid.uTimeout = static_cast<UINT>(seconds > 0 ? seconds : 0) * 1000u;
  // An empty balloon first takes down one that is still showing.
  g_shellNotify(NIM_MODIFY, &nid);
  CopyField(nid.szInfoTitle, sizeof(nid.szInfoTitle), title);
  CopyField(nid.szInfo, sizeof(nid.szInfo), text);
  static const DWORD kinds[4] = {NIIF_NONE, NIIF_INFO, NIIF_WARNING, NIIF_ERROR};
  nid.dwInfoFlags = kind >= 0 && kind < 4 ? kinds[kind] : NIIF_NONE;
  g_shellNotify(NIM_MODIFY, &nid);
}

TReply TNotifyIcon::WindowHandler(TWindowObject& window, const TMessageRecord& msg) {
  if (msg.Msg == WM_TK_NOTIFYICON) {
    for (TNotifyIcon* icon : g_icons) {
      if (icon->window_ != &window || icon->id_ != static_cast<UINT>(msg.WParam)) continue;
      if (icon->onMouse_) {
        icon->AddRef();
        icon->onMouse_.code(icon->onMouse_.data, icon, LOWORD(msg.LParam));
        Release(icon);
      }
      break;
    }
    return 0;
  }
  if (msg.Msg == WM_CLOSE) {
    // Last created first; a copy, since the list may change while we walk it.
    const std::vector<TNotifyIcon*> icons = g_icons;
    for (auto it = icons.rbegin(); it != icons.rend(); ++it)
      if ((*it)->window_ == &window) (*it)->SetActive(false);
  }
  return PassOn;
}

TReply TNotifyIcon::TaskbarHandler(TWindowObject&, const TMessageRecord& msg) {
  if (!g_taskbarCreated || msg.Msg != g_taskbarCreated) return PassOn;
  // The restarted shell has forgotten every icon: add ours again.
  const std::vector<TNotifyIcon*> icons = g_icons;
  for (TNotifyIcon* icon : icons) {
    if (!icon->reAdd_ || !icon->active_) continue;
    icon->active_ = false;
    icon->SetActive(true);
  }
  return PassOn;  // other handlers may want to know too
}

void TNotifyIcon::BeforeDestroy() {
  if (active_) {
    Send(NIM_DELETE);
    active_ = false;
  }
  owned_.reset();
  shared_ = nullptr;
  g_icons.erase(std::remove(g_icons.begin(), g_icons.end(), this), g_icons.end());
  if (g_icons.empty()) g_icons.shrink_to_fit();
}

namespace {
void OnWindowDestroyed(TWindowObject* window) {
  for (TNotifyIcon* icon : g_icons)
    if (icon->Window() == window) icon->Unbind();
}
}  // namespace

void TNotifyIcon::Unbind() {
  if (active_) Send(NIM_DELETE);
  active_ = false;
  window_ = nullptr;
}

}  // namespace tk
