// A look at the virtual desktop "Tarvelo" from inside Wine, for the user-level scripts; run
// under the same prefix and display as the program (usage at the end).
#include "toolkit/WinApi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

// The text the system keeps for the window, or with `ask` the one its own procedure gives
// (a list's selected item, for one).
std::string Text(HWND wnd, bool ask = false) {
  char buf[512] = {};
  if (ask) SendMessageA(wnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf));
  else GetWindowTextA(wnd, buf, sizeof buf);
  return buf;
}

std::string ClassOf(HWND wnd) {
  char buf[128] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK PrintWindow(HWND wnd, LPARAM) {
  RECT r{};
  if (IsWindowVisible(wnd) && GetWindowRect(wnd, &r))
    std::printf("%s\t%s\t%ld %ld %ld %ld\n", ClassOf(wnd).c_str(), Text(wnd).c_str(), r.left, r.top, r.right - r.left,
                r.bottom - r.top);
  return TRUE;
}

// A button's check, a trackbar's position or a combo box's selection; -1 for other controls.
BOOL CALLBACK PrintControl(HWND wnd, LPARAM) {
  const std::string cls = ClassOf(wnd);
  const UINT query = cls == "Button" ? BM_GETCHECK : cls == "msctls_trackbar32" ? TBM_GETPOS
                     : cls == "ComboBox" ? CB_GETCURSEL : 0;
  std::printf("%d\t%s\t%s\tenabled=%d visible=%d state=%ld\n", GetDlgCtrlID(wnd), cls.c_str(), Text(wnd).c_str(),
              IsWindowEnabled(wnd) ? 1 : 0, IsWindowVisible(wnd) ? 1 : 0,
              query ? static_cast<long>(SendMessageA(wnd, query, 0, 0)) : -1L);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs on the virtual desktop "Tarvelo"; a new process starts on another.
  if (HDESK desk = OpenDesktopA("Tarvelo", 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desk);
  const std::string what = argc >= 2 ? argv[1] : "";
  HWND top = argc >= 3 ? FindWindowA(nullptr, argv[2]) : nullptr;
  const int id = argc >= 4 ? std::atoi(argv[3]) : 0;
  if (what == "windows") return EnumWindows(&PrintWindow, 0), 0;
  if (what == "focus") {
    // the keyboard's target; a combo box's, when its edit field has the focus
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(0, &info)) return 1;
    HWND focus = info.hwndFocus;
    if (focus && ClassOf(GetParent(focus)) == "ComboBox") focus = GetParent(focus);
    return std::printf("%s\t%d\t%s\n", Text(info.hwndActive).c_str(), focus ? GetDlgCtrlID(focus) : 0,
                       ClassOf(focus).c_str()), 0;
  }
  if (!top) return 1;
  if (what == "controls") return EnumChildWindows(top, &PrintControl, 0), 0;
  std::pair<int, HWND> control{id, nullptr};  // the first descendant with that id
  EnumChildWindows(top, [](HWND w, LPARAM lp) {
    auto& c = *reinterpret_cast<std::pair<int, HWND>*>(lp);
    return GetDlgCtrlID(w) == c.first ? (c.second = w, FALSE) : TRUE;
  }, reinterpret_cast<LPARAM>(&control));
  if (what == "text") return std::printf("%s\n", control.second ? Text(control.second, true).c_str() : ""), 0;
  if (what == "send" && argc >= 5)
    return std::printf("%lld\n", static_cast<long long>(SendMessageA(top, static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)),
                                                                    std::strtoul(argv[4], nullptr, 0), 0))), 0;
  if (what == "command") return PostMessageA(top, WM_COMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
  std::fprintf(stderr, "usage: window_probe.exe windows | controls TITLE | focus | text TITLE ID | command TITLE ID | send TITLE MSG WP\n");
  return 2;
}
