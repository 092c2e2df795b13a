// tarvelo.exe started as a user would: first run without an adapter, a normal start,
// and the two ways of ending it.
#include <gtest/gtest.h>
#include "toolkit/WinApi.h"

#include <string>

namespace {

constexpr const char* Key = "Software\\Quillmoor\\Tarvelo";

std::string ExePath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1) + "tarvelo.exe";
}

void ClearStore() { RegDeleteKeyA(HKEY_CURRENT_USER, Key); }

void StoreText(const char* name, const std::string& value) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, Key, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr), ERROR_SUCCESS);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
}

bool ReadDWord(const char* name, DWORD& out) {
  DWORD size = sizeof out;
  return RegGetValueA(HKEY_CURRENT_USER, Key, name, RRF_RT_REG_DWORD, nullptr, &out, &size) == ERROR_SUCCESS;
}

struct TProcess {
  PROCESS_INFORMATION pi{};
  bool Start() {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + ExePath() + "\"";
    return CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
  }
  bool WaitExit(DWORD ms, DWORD* code = nullptr) {
    if (WaitForSingleObject(pi.hProcess, ms) != WAIT_OBJECT_0) return false;
    if (code) GetExitCodeProcess(pi.hProcess, code);
    return true;
  }
  ~TProcess() {
    if (pi.hProcess) {
      if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
  }
};

struct TFound {
  DWORD pid;
  const char* className;
  const char* title;
  HWND wnd;
};

BOOL CALLBACK FindOfProcess(HWND wnd, LPARAM lp) {
  auto* f = reinterpret_cast<TFound*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(wnd, &pid);
  char cls[64] = {}, title[128] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  GetWindowTextA(wnd, title, sizeof title);
  if (pid == f->pid && std::string(cls) == f->className && std::string(title) == f->title) {
    f->wnd = wnd;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(DWORD pid, const char* cls, const char* title, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 100) {
    TFound f{pid, cls, title, nullptr};
    EnumWindows(&FindOfProcess, reinterpret_cast<LPARAM>(&f));
    if (f.wnd) return f.wnd;
    Sleep(100);
  }
  return nullptr;
}

std::string MessageText(HWND box) {
  char text[256] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the message box's static text
  return text;
}

TEST(Startup, FirstRunWithoutAnAdapterAsksTwiceThenEnds) {
  ClearStore();
  TProcess p;
  ASSERT_TRUE(p.Start());
  const DWORD pid = p.pi.dwProcessId;

  HWND box = WaitForWindow(pid, "#32770", "Tarvelo ", 15000);
  ASSERT_NE(box, nullptr) << "no first message";
  EXPECT_EQ(MessageText(box), "Please select adapter to be monitored!");
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
  HWND sheet = WaitForWindow(pid, "#32770", "Tarvelo  - options", 10000);
  ASSERT_NE(sheet, nullptr) << "no options sheet";
  PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
  HWND second = WaitForWindow(pid, "#32770", "Tarvelo ", 10000);

  // the options step saved the window state before the second message came
  DWORD v = 0;
  EXPECT_TRUE(ReadDWord("LeftPos", v) && v == 546) << v;
  EXPECT_TRUE(ReadDWord("TopPos", v) && v == 205) << v;
  EXPECT_TRUE(ReadDWord("Width", v) && v == 87) << v;
  EXPECT_TRUE(ReadDWord("Height", v) && v == 39) << v;
  EXPECT_TRUE(ReadDWord("StayOnTop", v) && v == 0) << "the first load took it off the top: " << v;
  EXPECT_TRUE(ReadDWord("UserHide", v) && v == 0) << v;

  ASSERT_NE(second, nullptr) << "no second message";
  EXPECT_EQ(MessageText(second), "An adapter must be selected for this program to run!");
  PostMessageA(second, WM_COMMAND, IDOK, 0);

  DWORD code = 1;
  EXPECT_TRUE(p.WaitExit(10000, &code)) << "the program did not end";
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(ReadDWord("upload_l", v)) << "it never sampled, so it never stored totals";
}

// A fresh store with only the adapter set, the program started, its graph window found.
void StartWatchingLoopback(TProcess& p, HWND& form) {
  ClearStore();
  StoreText("Adapter", "lo");
  ASSERT_TRUE(p.Start());
  form = WaitForWindow(p.pi.dwProcessId, "obj_Form", "StatsForm", 15000);
  ASSERT_NE(form, nullptr);
}

TEST(Startup, NormalStartShowsTheGraphWindowAndCloseRequestDoesNotSave) {
  TProcess p;
  HWND form = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWatchingLoopback(p, form));
  Sleep(2500);  // a couple of ticks

  RECT r{};
  GetWindowRect(form, &r);
  EXPECT_EQ(r.left, 546);
  EXPECT_EQ(r.top, 205);
  EXPECT_EQ(r.right - r.left, 87);
  EXPECT_EQ(r.bottom - r.top, 39);
  EXPECT_TRUE(IsWindowVisible(form));
  const LONG_PTR ex = GetWindowLongPtrA(form, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW) << "no task-bar button";
  EXPECT_FALSE(GetWindowLongPtrA(form, GWL_STYLE) & WS_CAPTION);

  DWORD v = 0;
  EXPECT_TRUE(ReadDWord("counter_elapsed", v) && v >= 1) << "ticks store the totals";

  PostMessageA(form, WM_CLOSE, 0, 0);  // as a log-off does
  EXPECT_TRUE(p.WaitExit(10000));
  EXPECT_FALSE(ReadDWord("LeftPos", v)) << "a close request does not store the position";
}

TEST(Startup, QuitStoresTheWindowState) {
  TProcess p;
  HWND form = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartWatchingLoopback(p, form));
  SetWindowPos(form, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(300);
  // Quit is the menu's 18th item: command id 4096 + 17
  PostMessageA(form, WM_COMMAND, MAKEWPARAM(4096 + 17, 0), 0);
  EXPECT_TRUE(p.WaitExit(10000));
  DWORD v = 0;
  EXPECT_TRUE(ReadDWord("LeftPos", v) && v == 300) << v;
  EXPECT_TRUE(ReadDWord("TopPos", v) && v == 310) << v;
  ClearStore();
}

}  // namespace
