// The notification-area icon: added, modified and removed with the basic record,
// balloons with the extended one; mouse events come back as message 0xB008 to
// the window the icon is bound to.
#pragma once
#include "toolkit/BaseObject.h"
#include "toolkit/Handles.h"
#include "toolkit/WindowObject.h"
#include "toolkit/WinApi.h"
#include <shellapi.h>
#include <string>

namespace tk {

class TNotifyIcon;
// mouseMessage: WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_RBUTTONUP...
using TTrayMouseEvent = void (*)(void* data, TNotifyIcon* icon, UINT mouseMessage);

// Every Shell_NotifyIconA request goes through here; tests put a recorder in.
using TShellNotifyIconFn = BOOL(WINAPI*)(DWORD message, PNOTIFYICONDATAA data);
TShellNotifyIconFn SetShellNotifyIconFunction(TShellNotifyIconFn fn);  // returns the previous

class TNotifyIcon : public TBaseObject {
public:
  TNotifyIcon(TWindowObject* window, tk::unique_hicon icon);

  TWindowObject* Window() const { return window_; }
  // The identifier sent as uID and received as the callback's wParam (a pointer
  // does not fit in it on 64-bit Windows).
  UINT Id() const { return id_; }
  HICON Icon() const { return owned_ ? owned_.get() : shared_; }
  bool Active() const { return active_; }

  // NIM_ADD / NIM_DELETE; only with an icon and a window handle. After the loop has
  // ended every call removes the icon.
  void SetActive(bool on);
  // Takes the icon and returns the previous one it owned, for the caller to drop
  // once the shell shows the new one. On an active icon: NIM_MODIFY, or NIM_ADD
  // when there was no icon before or the shell refused the last request.
  tk::unique_hicon SetIcon(tk::unique_hicon icon);
  // An icon owned elsewhere (never destroyed here).
  tk::unique_hicon SetSharedIcon(HICON icon);
  const std::string& Tooltip() const { return tip_; }
  void SetTooltip(const std::string& text) { tip_ = text; }  // sent with the next add or modify
  void SetReAddOnTaskbarRestart(bool on);
  bool ReAddOnTaskbarRestart() const { return reAdd_; }
  void SetOnTrayMouse(TTrayMouseEvent code, void* data) { onMouse_ = {code, data}; }

  // kind: 0 none, 1 information, 2 warning, 3 error. Title up to 63 characters,
  // text up to 255. Does nothing before Windows 2000.
  void ShowBalloon(const std::string& title, const std::string& text, int seconds, int kind);

  // Leaves the notification area and drops the window (which is going away).
  void Unbind();

  // The id of the registered "TaskbarCreated" message, 0 until an icon asks for it.
  static UINT TaskbarCreatedMessage();

protected:
  void BeforeDestroy() override;

private:
  static TReply WindowHandler(TWindowObject& window, const TMessageRecord& msg);
  static TReply TaskbarHandler(TWindowObject& window, const TMessageRecord& msg);
  tk::unique_hicon InstallIcon(tk::unique_hicon owned, HICON shared);
  // The shell's answer; false also without a window to send for.
  bool Send(DWORD message);
  bool Add();

  TWindowObject* window_;
  UINT id_;
  tk::unique_hicon owned_;
  HICON shared_ = nullptr;
  std::string tip_;
  bool active_ = false;
  bool shown_ = false;  // the shell took the last add or modify
  bool reAdd_ = false;
  TEvent<TTrayMouseEvent> onMouse_;
};

// Bound to the window and listed process-wide; the icon becomes the icon's own.
TNotifyIcon* CreateNotifyIcon(TWindowObject* window, tk::unique_hicon icon = {});

}  // namespace tk
