// The counters dialog and the about box from the program's own templates, with the
// real registry, driven from their modal loops by the messages a user's actions send.
#include "toolkit/WinApi.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Version.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/LicenceText.h"
#include "dialogs/VersionInfo.h"
#include "base/Maker.h"
#include "resources/resource.h"
#include "settings/RegSettings.h"
#include "settings/SettingsCatalogue.h"
#include "toolkit/Handles.h"
#include "toolkit/MediaTimer.h"
#include "traffic/Clock.h"
#include "traffic/TransferTotals.h"

namespace {

// --- a script run inside the dialog's modal loop, one step per timer tick; a step
// returning false runs again at the next tick ---
using TStep = std::function<bool(HWND dialog)>;
std::vector<TStep> g_steps;
size_t g_next = 0;
int g_ticks = 0;

BOOL CALLBACK FindDialog(HWND wnd, LPARAM found) {
  char cls[16] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  if (std::string(cls) != "#32770" || !IsWindowVisible(wnd)) return TRUE;
  *reinterpret_cast<HWND*>(found) = wnd;
  return FALSE;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  if (++g_ticks > 400) {
    ADD_FAILURE() << "still open after 10 s, at step " << g_next;
    EndDialog(dialog, -1);
  } else if (g_next < g_steps.size() && g_steps[g_next](dialog)) {
    ++g_next;
  }
}

// Runs the modal dialog that show opens; returns when it has closed.
void Drive(const std::function<void()>& show, std::vector<TStep> steps) {
  g_steps = std::move(steps);
  g_next = 0;
  g_ticks = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 25, &RunStep);
  show();
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_next, g_steps.size()) << "closed before the script's end";
}

std::string Text(HWND wnd) {
  char text[4096] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}
std::string Text(HWND dialog, int id) { return Text(GetDlgItem(dialog, id)); }

// A key pressed in the control that has the focus.
void Press(HWND dialog, WPARAM key) {
  HWND focus = GetFocus() ? GetFocus() : dialog;
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}
void Click(HWND control) {
  SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
  SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
}
void CloseBox(HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

void ExpectCentred(HWND dialog) {
  RECT work{}, rect{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(dialog, &rect);
  EXPECT_EQ(rect.left, (work.right - (rect.right - rect.left)) / 2);
  EXPECT_EQ(rect.top, (work.bottom - (rect.bottom - rect.top)) / 2);
}

std::string ExeDir() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string p(path);
  return p.substr(0, p.find_last_of("\\/") + 1);
}

// --- the counters dialog ---

const char* const Totals[] = {"counter_elapsed", "upload_l", "upload_h", "download_l", "download_h"};

struct CountersDialog : ::testing::Test {
  TRegSettings store;
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);
    store.KeyPath = TarveloKeyPath;
    store.Open();
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath); }
  std::vector<int32_t> Stored() {
    std::vector<int32_t> values;
    for (const char* name : Totals) values.push_back(store.ReadInteger(name, -1));
    return values;
  }
};

TEST_F(CountersDialog, ShowsTheStoredTotalsAndClosesEveryWayWithoutWriting) {
  const struct { const char* way; std::function<void(HWND)> close; } ways[] = {
      {"Close", [](HWND d) { SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }},
      {"Esc", [](HWND d) { Press(d, VK_ESCAPE); }},
      {"Enter", [](HWND d) { Press(d, VK_RETURN); }},
      {"close box", &CloseBox},
  };
  // 1 GiB sent in an hour, nothing received
  const std::vector<int32_t> stored = {3600, 1 << 30, 0, 0, 0};
  for (size_t i = 0; i < std::size(Totals); ++i) store.WriteInteger(Totals[i], stored[i]);
  for (const auto& w : ways) {
    int resets = 0;
    Drive([&] { ShowCountersDialog(nullptr, [&] { ++resets; }); },
          {[&](HWND d) {
             EXPECT_EQ(Text(d), "Counters");
             EXPECT_EQ(GetFocus(), GetDlgItem(d, IDCANCEL));
             const std::vector<std::string> shown = {
                 Text(d, IDC_COUNTER_UPLOAD), Text(d, IDC_COUNTER_UPLOAD_SPEED), Text(d, IDC_COUNTER_DOWNLOAD),
                 Text(d, IDC_COUNTER_DOWNLOAD_SPEED), Text(d, IDC_COUNTER_TOTAL), Text(d, IDC_COUNTER_TOTAL_SPEED),
                 Text(d, IDC_COUNTER_ELAPSED)};
             EXPECT_EQ(shown, std::vector<std::string>({"1.0GB", "291.3KB/s", "-", "0B/s", "1.0GB", "291.3KB/s", "1h "}));
             ExpectCentred(d);
             w.close(d);
             return true;
           }});
    EXPECT_EQ(resets, 0) << w.way;
    EXPECT_EQ(Stored(), stored) << w.way;
  }
}

class TFixedClock : public TClock {
public:
  uint32_t Today() override { return 739956; }
  std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
};

// The program's tick: the multimedia timer posts to the main window, and the dialog's
// modal loop hands the message on, so the totals keep being stored while it is up.
struct TTicking {
  TTransferTotals totals{int64_t(5) << 30, int64_t(7) << 30, 1000};
  TRegSettings& store;
  TFixedClock clock;
  int ticks = 0;
  tk::TWindowObject* form = tk::CreateForm(nullptr, "ticks");
  tk::TMediaTimer* timer = tk::CreateMediaTimer(20);

  explicit TTicking(TRegSettings& s) : store(s) {
    form->SetVisible(false);
    timer->SetTargetWindow(form);
    timer->SetOnTimer([](void* self, tk::TMediaTimer*) {
      auto& t = *static_cast<TTicking*>(self);
      AddTransfer(t.totals, t.store, t.clock, 1000, 500);
      ++t.ticks;
    }, this);
    timer->SetEnabled(true);
  }
  ~TTicking() {
    Release(timer);
    Release(form);
  }
};

TEST_F(CountersDialog, ResetHoldsWhileTheTickRuns) {
  TTicking tick(store);
  int resets = 0;
  Drive([&] {
    ShowCountersDialog(tick.form->Handle(), [&] {
      tick.totals.UploadCounter = tick.totals.DownloadCounter = 0;
      tick.totals.ElapsedCounter = 0;
      ++resets;
    });
  }, {[&](HWND) { return tick.ticks >= 5; },
      [&](HWND d) {
        EXPECT_GT(store.ReadInteger("counter_elapsed", 0), 1004) << "the tick stores on while the dialog is up";
        SendMessageA(GetDlgItem(d, IDC_COUNTER_RESET), BM_CLICK, 0, 0);
        return true;
      }});
  EXPECT_EQ(resets, 1);
  EXPECT_EQ(Stored(), std::vector<int32_t>(5, 0)) << "five zeros stored";

  const int before = tick.ticks;
  MSG msg;
  while (tick.ticks < before + 5 && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  const int32_t n = tick.ticks - before;
  EXPECT_EQ(Stored(), std::vector<int32_t>({n, 500 * n, 0, 1000 * n, 0})) << "counting on from zero";
}

// --- the about box ---

// Whether each subclassed control had its own procedure back when it was destroyed.
std::vector<std::pair<int, bool>> g_restored;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  const int id = GetDlgCtrlID(m->hwnd);
  if (code == HC_ACTION && m->message == WM_DESTROY &&
      (id == IDC_ABOUT_TITLE || id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_MAIL || id == IDC_ABOUT_LICENCE))
    g_restored.emplace_back(id, ULONG_PTR(GetWindowLongPtrA(m->hwnd, GWLP_WNDPROC)) == GetClassLongPtrA(m->hwnd, GCLP_WNDPROC));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

HWND ChildWithText(HWND dialog, const std::string& text) {
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (Text(c) == text) return c;
  return nullptr;
}

// What the box's procedure answers a control's colour query with, on a DC holding the
// control's font; dialogFont is the box's own.
struct TColours {
  HGDIOBJ brush;
  COLORREF text;
  int bkMode;
  LOGFONTA font, dialogFont;
};
TColours ColoursFor(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  tk::unique_hdc dc(CreateCompatibleDC(nullptr));
  const auto controlFont = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  SelectObject(dc.get(), controlFont);
  SetTextColor(dc.get(), 0x123456);
  TColours c{};
  c.brush = reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_CTLCOLORSTATIC, WPARAM(dc.get()), LPARAM(control)));
  c.text = GetTextColor(dc.get());
  c.bkMode = GetBkMode(dc.get());
  GetObjectA(GetCurrentObject(dc.get(), OBJ_FONT), sizeof c.font, &c.font);
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof c.dialogFont, &c.dialogFont);
  SelectObject(dc.get(), GetStockObject(SYSTEM_FONT));
  return c;
}

TEST(AboutBox, ShowsTitleVersionLicenceAndLinks) {
  std::vector<std::string> opened;
  const long gdi = tk::LiveGdiHandles();
  g_restored.clear();
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  const std::string version = TARVELO_VERSION_TEXT;
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_HAND_CURSOR));
  Drive([&] { ShowAboutDialog(nullptr, "Tarvelo ", [&](const std::string& t) { opened.push_back(t); }); },
        {[&](HWND d) {
           EXPECT_EQ(Text(d), "About Tarvelo ");
           EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK));
           EXPECT_EQ(Text(d, IDC_ABOUT_TITLE), "Tarvelo ");
           EXPECT_EQ(Text(d, IDC_ABOUT_VERSION), "version: " + version);
           EXPECT_EQ(Text(d, IDC_ABOUT_LICENCE), LicenceText("Tarvelo "));
           EXPECT_EQ(Text(d, IDC_ABOUT_HOMEPAGE), MakerHost);
           EXPECT_NE(Text(d, IDC_ABOUT_MAIL).find(MakerEmail), std::string::npos);
           ExpectCentred(d);
           return true;
         },
         [&](HWND d) {
           const TColours title = ColoursFor(d, IDC_ABOUT_TITLE);
           EXPECT_EQ(title.brush, GetStockObject(NULL_BRUSH));
           EXPECT_EQ(title.font.lfHeight, -16);
           EXPECT_EQ(title.font.lfWeight, FW_BOLD);
           EXPECT_STREQ(title.font.lfFaceName, title.dialogFont.lfFaceName);
           for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_MAIL}) {
             const TColours link = ColoursFor(d, id);
             EXPECT_EQ(link.brush, GetStockObject(NULL_BRUSH)) << id;
             EXPECT_EQ(link.text, 0xFF0000u) << id;
             EXPECT_EQ(link.font.lfHeight, link.dialogFont.lfHeight) << id;
             EXPECT_STREQ(link.font.lfFaceName, link.dialogFont.lfFaceName) << id;
           }
           const TColours licence = ColoursFor(d, IDC_ABOUT_LICENCE);
           LOGBRUSH brush{};
           GetObjectA(licence.brush, sizeof brush, &brush);
           EXPECT_EQ(brush.lbColor, GetSysColor(COLOR_WINDOW));
           EXPECT_EQ(licence.bkMode, TRANSPARENT);
           const TColours plain = ColoursFor(d, IDC_ABOUT_VERSION);
           EXPECT_EQ(plain.text, GetSysColor(COLOR_WINDOWTEXT)) << "other statics keep the system's colours";
           EXPECT_NE(plain.brush, GetStockObject(NULL_BRUSH));
           EXPECT_EQ(tk::LiveGdiHandles() - gdi, 3) << "one brush and two fonts, each made once";
           return true;
         },
         [&](HWND d) {
           const struct { HWND control; bool hand; } cases[] = {
               {GetDlgItem(d, IDC_ABOUT_HOMEPAGE), true}, {GetDlgItem(d, IDC_ABOUT_MAIL), true},
               {GetDlgItem(d, IDC_ABOUT_TITLE), false}, {ChildWithText(d, "by: "), false}};
           for (const auto& c : cases) {
             SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
             SendMessageA(c.control, WM_SETCURSOR, WPARAM(c.control), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
             EXPECT_EQ(GetCursor() == hand, c.hand) << Text(c.control);
             Click(c.control);
           }
           EXPECT_EQ(opened, std::vector<std::string>({MakerHomePage, AboutMailTarget("Tarvelo ", version)}));
           Press(d, VK_ESCAPE);  // on Close
           return true;
         },
         [&](HWND d) {
           SetFocus(GetDlgItem(d, IDC_ABOUT_LICENCE));
           Press(d, VK_ESCAPE);
           return true;
         },
         [&](HWND d) {
           Press(d, VK_RETURN);  // still open after both Esc presses
           return true;
         }});
  // the close box
  Drive([&] { ShowAboutDialog(nullptr, "Tarvelo ", [](const std::string&) {}); }, {[](HWND d) {
          CloseBox(d);
          return true;
        }});
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(tk::LiveGdiHandles(), gdi) << "brush and fonts freed";
  ASSERT_EQ(g_restored.size(), 8u) << "four controls in each of the two boxes";
  for (size_t i = 0; i < g_restored.size(); ++i) EXPECT_TRUE(g_restored[i].second) << "control " << g_restored[i].first;
}

TEST(VersionInfo, FileVersionText) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string plain = std::string(temp) + "tarvelo_no_version.txt";
  std::ofstream(plain) << "text";
  const struct { std::string name, version; } cases[] = {
      {"", TARVELO_VERSION_TEXT},  // this program, built with the program's resources
      {ExeDir() + "tarvelo.exe", TARVELO_VERSION_TEXT},
      {ExeDir() + "version_sample.dll", "1.2.3.4"},
      {plain, ""},
      {ExeDir() + "no_such_file.exe", ""},
      {temp, ""},  // a directory
  };
  for (const auto& c : cases) EXPECT_EQ(FileVersionText(c.name), c.version) << "'" << c.name << "'";
  DeleteFileA(plain.c_str());
}

}  // namespace
