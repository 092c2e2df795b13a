// Helpers shared by the Wine suites.
#pragma once
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "settings/SettingsCatalogue.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/Handles.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/WinApi.h"

// Dispatches everything queued (leaves WM_QUIT alone), for at least `ms` milliseconds.
inline void PumpFor(int ms = 0) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (MSG msg;;) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
      if (msg.message != WM_QUIT) TranslateMessage(&msg), DispatchMessageA(&msg);
    if (std::chrono::steady_clock::now() >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

inline tk::unique_hicon MakeIcon() { return tk::unique_hicon(CopyIcon(LoadIconA(nullptr, MAKEINTRESOURCEA(32512)))); }

// A toolkit object released at the end of the scope.
struct TReleaser {
  void operator()(tk::TBaseObject* p) const { tk::Release(p); }
};
template <typename T> using TOwned = std::unique_ptr<T, TReleaser>;

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

inline std::string Text(HWND wnd) {
  char text[4096] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}
inline std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

// The program's key: DWORDs written and read as decimal text, anything else as REG_SZ.
using TValues = std::map<std::string, std::string>;

inline void StoreValues(const TValues& values) {
  RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);
  for (const auto& [name, value] : values) {
    const DWORD v = static_cast<DWORD>(std::strtoll(value.c_str(), nullptr, 10));
    if (!value.empty() && value.find_first_not_of("-0123456789") == std::string::npos)
      RegSetKeyValueA(HKEY_CURRENT_USER, TarveloKeyPath, name.c_str(), REG_DWORD, &v, sizeof v);
    else
      RegSetKeyValueA(HKEY_CURRENT_USER, TarveloKeyPath, name.c_str(), REG_SZ, value.c_str(), DWORD(value.size() + 1));
  }
}

inline TValues StoredValues() {
  TValues out;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, TarveloKeyPath, 0, KEY_READ, &key)) return out;
  const tk::unique_hkey owned(key);
  char name[256];
  BYTE data[1024];
  for (DWORD i = 0, nameSize = sizeof name, size = sizeof data, type = 0;
       !RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &size);
       ++i, nameSize = sizeof name, size = sizeof data)
    out[name] = type == REG_DWORD ? std::to_string(*reinterpret_cast<int32_t*>(data)) : reinterpret_cast<char*>(data);
  return out;
}

// The stored DWORD, or -1 when there is none.
inline int64_t StoredDword(const char* name) {
  DWORD v = 0, size = sizeof v;
  return RegGetValueA(HKEY_CURRENT_USER, TarveloKeyPath, name, RRF_RT_REG_DWORD, nullptr, &v, &size) ? -1 : int64_t{v};
}

// The shell's notification-icon requests, recorded instead of sent.
struct TShellRequest {
  DWORD message;
  NOTIFYICONDATAA d;   // as far as its cbSize reaches, zeros beyond
  bool previousAlive;  // the icon of the request before is still a live icon
};

inline std::vector<TShellRequest>& ShellRequests() { static std::vector<TShellRequest> requests; return requests; }
// The next requests the shell refuses, as a busy one does.
inline int& ShellRefusals() { static int count = 0; return count; }

inline bool IconAlive(HICON icon) {
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return false;
  const tk::unique_hbitmap colour(info.hbmColor), mask(info.hbmMask);
  return true;
}

inline BOOL WINAPI RecordShellRequest(DWORD message, PNOTIFYICONDATAA d) {
  auto& all = ShellRequests();
  TShellRequest r{message, {}, !all.empty() && IconAlive(all.back().d.hIcon)};
  std::memcpy(&r.d, d, std::min<size_t>(d->cbSize, sizeof r.d));
  all.push_back(r);
  return ShellRefusals() > 0 ? (--ShellRefusals(), FALSE) : TRUE;
}

inline std::vector<DWORD> ShellMessages() {
  std::vector<DWORD> m;
  for (const TShellRequest& r : ShellRequests()) m.push_back(r.message);
  return m;
}

// Records from its making to its end, starting empty.
struct TShellRecorder {
  tk::TShellNotifyIconFn previous = tk::SetShellNotifyIconFunction(&RecordShellRequest);
  TShellRecorder() { ShellRequests().clear(), ShellRefusals() = 0; }
  ~TShellRecorder() { tk::SetShellNotifyIconFunction(previous); }
};

// A visible dialog of this thread other than `other`, titled `title` when one is given.
inline HWND FindDialog(const char* title = nullptr, HWND other = nullptr) {
  struct T { const char* title; HWND other, found; } t{title, other, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM lp) -> BOOL {
    auto* t = reinterpret_cast<T*>(lp);
    char cls[32] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (w == t->other || !IsWindowVisible(w) || std::string(cls) != "#32770" || (t->title && Text(w) != t->title))
      return TRUE;
    t->found = w;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&t));
  return t.found;
}

// A script run by a timer inside the modal loop that `open` enters, one step per tick
// with the window `find` gives (a dialog by default); a step answering false runs again
// at the next tick. After ten seconds the dialog is cancelled and the test fails.
using TStep = std::function<bool(HWND)>;

inline void DriveModal(const std::function<void()>& open, std::vector<TStep> steps,
                       std::function<HWND()> find = [] { return FindDialog(); }) {
  struct TScript { std::vector<TStep> steps; std::function<HWND()> find; size_t next = 0; int ticks = 0; bool busy = false; };
  static std::map<UINT_PTR, TScript*> scripts;  // nested loops each have their own timer
  TScript script{std::move(steps), std::move(find)};
  const UINT_PTR timer = SetTimer(nullptr, 0, 25, [](HWND, UINT, UINT_PTR id, DWORD) {
    TScript* s = scripts[id];
    HWND wnd = s && !s->busy ? s->find() : nullptr;
    if (!wnd) return;
    if (++s->ticks > 400) {
      ADD_FAILURE() << "still open after 10 s, at step " << s->next;
      PostMessageA(wnd, WM_COMMAND, IDCANCEL, 0);
      EndDialog(wnd, -1);
    } else if (s->next < s->steps.size()) {
      s->busy = true;  // a step may open a dialog of its own, whose loop runs this timer too
      s->next += s->steps[s->next](wnd);
      s->busy = false;
    }
  });
  scripts[timer] = &script;
  open();
  KillTimer(nullptr, timer);
  scripts.erase(timer);
  EXPECT_EQ(script.next, script.steps.size()) << "closed before the script's end";
}

// A key pressed in the control that has the focus.
inline void Press(WPARAM key) {
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PostMessageA(GetFocus(), WM_KEYUP, key, 0xC0000001);
}

// tarvelo.exe from beside the test program, ended at the latest with the test.
struct TProgram {
  tk::unique_handle process, thread;
  DWORD id = 0;
  TProgram() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string cmd = "\"" + std::string(self, strrchr(self, '\\') + 1) + "tarvelo.exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return;
    process.reset(pi.hProcess), thread.reset(pi.hThread), id = pi.dwProcessId;
  }
  ~TProgram() {
    if (process) TerminateProcess(process.get(), 1);  // nothing once it has ended
  }
  // The exit code, or -1 when it does not end within ten seconds.
  int64_t Exit() const {
    DWORD code = 0;
    return WaitForSingleObject(process.get(), 10000) == WAIT_OBJECT_0 && GetExitCodeProcess(process.get(), &code)
               ? int64_t{code} : -1;
  }
  // Its window of that class and title, waited for up to 15 s.
  HWND Window(const char* cls, const char* title) const {
    for (int i = 0; i < 150; ++i, Sleep(100))
      for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, cls, title));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == id) return w;
      }
    return nullptr;
  }
};
