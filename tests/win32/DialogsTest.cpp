// The counters dialog and the about box from the program's own templates, with the
// real registry, driven from their modal loops by the messages a user's actions send.
#include "toolkit/WinApi.h"

#include <fstream>

#include "Version.h"
#include "base/Maker.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/LicenceText.h"
#include "dialogs/VersionInfo.h"
#include "resources/resource.h"
#include "settings/RegSettings.h"
#include "support/WineTest.h"
#include "toolkit/MediaTimer.h"
#include "traffic/Clock.h"
#include "traffic/TransferTotals.h"

namespace {

void ExpectCentred(HWND dialog) {
  RECT work{}, r{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(dialog, &r);
  EXPECT_EQ(std::pair(r.left, r.top), std::pair((work.right - r.right + r.left) / 2, (work.bottom - r.bottom + r.top) / 2));
}

const char* const Totals[] = {"counter_elapsed", "upload_l", "upload_h", "download_l", "download_h"};
std::vector<int32_t> Stored(TSettings& store) {
  std::vector<int32_t> values;
  for (const char* name : Totals) values.push_back(store.ReadInteger(name, -1));
  return values;
}

struct CountersDialog : ::testing::Test {
  TRegSettings store;
  void SetUp() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);
    store.KeyPath = TarveloKeyPath;
    store.Open();
  }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath); }
};

TEST_F(CountersDialog, ShowsTheStoredTotalsAndClosesEveryWayWithoutWriting) {
  const std::vector<int32_t> stored = {3600, 1 << 30, 0, 0, 0};  // 1 GiB sent in an hour
  for (size_t i = 0; i < stored.size(); ++i) store.WriteInteger(Totals[i], stored[i]);
  const std::function<void(HWND)> ways[] = {
      [](HWND d) { SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }, [](HWND) { Press(VK_ESCAPE); },
      [](HWND) { Press(VK_RETURN); }, [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }};
  for (const auto& close : ways) {
    int resets = 0;
    DriveModal([&] { ShowCountersDialog(nullptr, [&] { ++resets; }); }, {[&](HWND d) {
            const std::vector<int> ids = {IDC_COUNTER_UPLOAD, IDC_COUNTER_UPLOAD_SPEED, IDC_COUNTER_DOWNLOAD,
                                          IDC_COUNTER_DOWNLOAD_SPEED, IDC_COUNTER_TOTAL, IDC_COUNTER_TOTAL_SPEED,
                                          IDC_COUNTER_ELAPSED};
            std::vector<std::string> shown = {Text(d)};
            for (int id : ids) shown.push_back(Text(d, id));
            EXPECT_EQ(shown, std::vector<std::string>(
                                 {"Counters", "1.0GB", "291.3KB/s", "-", "0B/s", "1.0GB", "291.3KB/s", "1h "}));
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDCANCEL));
            ExpectCentred(d);
            close(d);
            return true;
          }});
    EXPECT_EQ(resets, 0);
    EXPECT_EQ(Stored(store), stored);
  }
}

struct TFixedClock : TClock {
  uint32_t Today() override { return 739956; }
  std::string FormatShortDate(uint32_t) override { return "12/6/2026"; }
};

TEST_F(CountersDialog, ResetHoldsWhileTheTickRuns) {
  // The program's tick: the multimedia timer posts to the main window, and the
  // dialog's modal loop hands the message on.
  struct TTick {
    TTransferTotals totals{int64_t(5) << 30, int64_t(7) << 30, 1000};
    TRegSettings* store = nullptr;
    TFixedClock clock;
    int count = 0;
  } tick;
  tick.store = &store;
  tk::TWindowObject* form = tk::CreateForm(nullptr, "ticks");
  form->SetVisible(false);
  tk::TMediaTimer* timer = tk::CreateMediaTimer(20);
  timer->SetTargetWindow(form);
  timer->SetOnTimer([](void* p, tk::TMediaTimer*) {
    auto& t = *static_cast<TTick*>(p);
    AddTransfer(t.totals, *t.store, t.clock, 1000, 500);
    ++t.count;
  }, &tick);
  timer->SetEnabled(true);

  DriveModal([&] {
    ShowCountersDialog(form->Handle(), [&] { tick.totals = {0, 0, 0}; });
  }, {[&](HWND) { return tick.count >= 5; },
      [&](HWND d) {
        EXPECT_GT(store.ReadInteger("counter_elapsed", 0), 1004) << "the tick stores on while the dialog is up";
        SendMessageA(GetDlgItem(d, IDC_COUNTER_RESET), BM_CLICK, 0, 0);
        return true;
      }});
  EXPECT_EQ(Stored(store), std::vector<int32_t>(5, 0)) << "five zeros stored";
  const int before = tick.count;
  MSG msg;
  while (tick.count < before + 5 && GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
  const int32_t n = tick.count - before;
  EXPECT_EQ(Stored(store), std::vector<int32_t>({n, 500 * n, 0, 1000 * n, 0})) << "counting on from zero";
  Release(timer);
  Release(form);
}

// Whether each subclassed control had its own procedure back when it was destroyed.
std::vector<bool> g_restored;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  const int id = GetDlgCtrlID(m->hwnd);
  if (m->message == WM_DESTROY && (id == IDC_ABOUT_TITLE || id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_MAIL ||
                                   id == IDC_ABOUT_LICENCE))
    g_restored.push_back(ULONG_PTR(GetWindowLongPtrA(m->hwnd, GWLP_WNDPROC)) == GetClassLongPtrA(m->hwnd, GCLP_WNDPROC));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(AboutBox, ShowsTitleVersionLicenceAndLinks) {
  std::vector<std::string> opened;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_HAND_CURSOR));
  const auto show = [&] { ShowAboutDialog(nullptr, "Tarvelo ", [&](const std::string& t) { opened.push_back(t); }); };
  DriveModal(show, {[&](HWND d) {
                 EXPECT_EQ(std::vector<std::string>({Text(d), Text(d, IDC_ABOUT_TITLE), Text(d, IDC_ABOUT_VERSION),
                                                     Text(d, IDC_ABOUT_LICENCE), Text(d, IDC_ABOUT_HOMEPAGE)}),
                           std::vector<std::string>({"About Tarvelo ", "Tarvelo ", "version: " TARVELO_VERSION_TEXT,
                                                     LicenceText("Tarvelo "), MakerHost}));
                 ExpectCentred(d);
                 LOGFONTA title{};
                 GetObjectA(HFONT(SendDlgItemMessageA(d, IDC_ABOUT_TITLE, WM_GETFONT, 0, 0)), sizeof title, &title);
                 EXPECT_EQ(std::pair(title.lfHeight, title.lfWeight), std::pair(-16L, 700L));
                 tk::TScopedGetDC dc(d);
                 EXPECT_EQ(SendMessageA(d, WM_CTLCOLORSTATIC, WPARAM(dc.get()), LPARAM(GetDlgItem(d, IDC_ABOUT_MAIL))),
                           LRESULT(GetStockObject(NULL_BRUSH)));
                 EXPECT_EQ(GetTextColor(dc.get()), 0xFF0000u) << "blue links";
                 return true;
               },
               [&](HWND d) {
                 for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_MAIL, IDC_ABOUT_TITLE, -1}) {
                   HWND c = GetDlgItem(d, id);  // -1: the first label, "by: "
                   EXPECT_TRUE(c) << id;
                   SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
                   SendMessageA(c, WM_SETCURSOR, WPARAM(c), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
                   EXPECT_EQ(GetCursor() == hand, id == IDC_ABOUT_HOMEPAGE || id == IDC_ABOUT_MAIL) << id;
                   SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                   SendMessageA(c, WM_LBUTTONUP, 0, 0);
                 }
                 EXPECT_EQ(opened, std::vector<std::string>(
                                       {MakerHomePage, AboutMailTarget("Tarvelo ", TARVELO_VERSION_TEXT)}));
                 EXPECT_EQ(GetFocus(), GetDlgItem(d, IDOK));
                 Press(VK_ESCAPE);
                 return true;
               },
               [&](HWND d) {  // a multi-line edit would close its dialog on Esc
                 SetFocus(GetDlgItem(d, IDC_ABOUT_LICENCE));
                 Press(VK_ESCAPE);
                 return true;
               },
               [&](HWND) { return Press(VK_RETURN), true; }});
  DriveModal(show, {[](HWND d) { return SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0), true; }});
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(g_restored, std::vector<bool>(8, true)) << "four controls in each of the two boxes";
}

TEST(VersionInfo, FileVersionText) {
  char temp[MAX_PATH] = {}, self[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string dir = std::string(self).substr(0, std::string(self).find_last_of('\\') + 1);
  const std::string plain = std::string(temp) + "tarvelo_no_version.txt";
  std::ofstream(plain) << "text";
  const struct { std::string name, version; } cases[] = {
      {"", TARVELO_VERSION_TEXT},  // this program carries the program's resources
      {dir + "tarvelo.exe", TARVELO_VERSION_TEXT}, {dir + "version_sample.dll", "1.2.3.4"},
      {plain, ""}, {dir + "no_such_file.exe", ""}, {temp, ""}};
  for (const auto& c : cases) EXPECT_EQ(FileVersionText(c.name), c.version) << "'" << c.name << "'";
  DeleteFileA(plain.c_str());
}

}  // namespace
