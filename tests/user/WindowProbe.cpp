// A look at the desktop from inside Wine, for the user-level scripts: the top-level
// windows with their places and styles, a window's controls with their texts and
// states. Run under the same prefix and display as the program:
//   window_probe.exe windows             every visible top-level window
//   window_probe.exe controls TITLE      the child windows of the first window titled so
//   window_probe.exe focus               the active window and the control with the focus
//   window_probe.exe text TITLE ID       the text of control ID in the first window titled so
//   window_probe.exe command TITLE ID    posts that window WM_COMMAND ID, as its menu would
// on the virtual desktop "Tarvelo".
#include "toolkit/WinApi.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string Text(HWND wnd) {
  char buf[512] = {};
  GetWindowTextA(wnd, buf, sizeof buf);
  return buf;
}

std::string ClassOf(HWND wnd) {
  char buf[128] = {};
  GetClassNameA(wnd, buf, sizeof buf);
  return buf;
}

BOOL CALLBACK PrintWindow(HWND wnd, LPARAM) {
  if (!IsWindowVisible(wnd)) return TRUE;
  RECT r{};
  GetWindowRect(wnd, &r);
  std::printf("%s\t%s\t%ld %ld %ld %ld\tstyle=%08lx ex=%08lx\n", ClassOf(wnd).c_str(), Text(wnd).c_str(), r.left,
              r.top, r.right - r.left, r.bottom - r.top, static_cast<unsigned long>(GetWindowLongA(wnd, GWL_STYLE)),
              static_cast<unsigned long>(GetWindowLongA(wnd, GWL_EXSTYLE)));
  return TRUE;
}

BOOL CALLBACK PrintControl(HWND wnd, LPARAM) {
  const std::string cls = ClassOf(wnd);
  long state = -1;
  if (cls == "Button") state = static_cast<long>(SendMessageA(wnd, BM_GETCHECK, 0, 0));
  if (cls == "msctls_trackbar32") state = static_cast<long>(SendMessageA(wnd, TBM_GETPOS, 0, 0));
  if (cls == "ComboBox") state = static_cast<long>(SendMessageA(wnd, CB_GETCURSEL, 0, 0));
  RECT r{};
  GetWindowRect(wnd, &r);
  std::printf("%d\t%s\t%s\tenabled=%d visible=%d state=%ld\t%ld %ld %ld %ld\n", GetDlgCtrlID(wnd), cls.c_str(),
              Text(wnd).c_str(), IsWindowEnabled(wnd) ? 1 : 0, IsWindowVisible(wnd) ? 1 : 0, state, r.left, r.top,
              r.right - r.left, r.bottom - r.top);
  return TRUE;
}

// The keyboard's target: the active window's title, the focused control's id and class
// (a combo box's, when its edit field has the focus).
void PrintFocus() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(0, &info)) return;
  HWND focus = info.hwndFocus;
  if (focus && ClassOf(GetParent(focus)) == "ComboBox") focus = GetParent(focus);
  std::printf("%s\t%d\t%s\n", Text(info.hwndActive).c_str(), focus ? GetDlgCtrlID(focus) : 0, ClassOf(focus).c_str());
}

struct TFindControl {
  int Id;
  HWND Found;
};

BOOL CALLBACK FindControl(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<TFindControl*>(lp);
  if (GetDlgCtrlID(wnd) != f->Id) return TRUE;
  f->Found = wnd;
  return FALSE;
}

// A control's text as its own window procedure gives it (a list's selected item, for one).
void PrintText(HWND top, int id) {
  TFindControl f{id, nullptr};
  EnumChildWindows(top, &FindControl, reinterpret_cast<LPARAM>(&f));
  char text[512] = {};
  if (f.Found) SendMessageA(f.Found, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  std::printf("%s\n", text);
}

}  // namespace

int main(int argc, char** argv) {
  // The program runs on the virtual desktop "Tarvelo"; a new process starts on another.
  if (HDESK desk = OpenDesktopA("Tarvelo", 0, FALSE, GENERIC_ALL)) SetThreadDesktop(desk);
  if (argc >= 2 && std::strcmp(argv[1], "windows") == 0) {
    EnumWindows(&PrintWindow, 0);
    return 0;
  }
  if (argc >= 2 && std::strcmp(argv[1], "focus") == 0) {
    PrintFocus();
    return 0;
  }
  if (argc >= 4 && std::strcmp(argv[1], "text") == 0) {
    HWND wnd = FindWindowA(nullptr, argv[2]);
    if (!wnd) return 1;
    PrintText(wnd, std::atoi(argv[3]));
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "controls") == 0) {
    HWND wnd = FindWindowA(nullptr, argv[2]);
    if (!wnd) return 1;
    EnumChildWindows(wnd, &PrintControl, 0);
    return 0;
  }
  if (argc >= 4 && std::strcmp(argv[1], "command") == 0) {
    HWND wnd = FindWindowA(nullptr, argv[2]);
    return wnd && PostMessageA(wnd, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[3])), 0) ? 0 : 1;
  }
  std::fprintf(stderr, "usage: window_probe.exe windows | controls TITLE | focus | text TITLE ID | command TITLE ID\n");
  return 2;
}
