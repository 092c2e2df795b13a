// The counters dialog and the about box from the program's own templates, with the
// real registry, driven from their modal loops by the messages a user's actions send.
#include "toolkit/WinApi.h"

#include "Version.h"
#include "base/Maker.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/LicenceText.h"
#include "dialogs/VersionInfo.h"
#include "resources/resource.h"
#include "settings/RegSettings.h"
#include "support/FakeTick.h"
#include "support/WineTest.h"
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

// Return presses the focused Close, never Reset.
TEST_F(CountersDialog, ShowsTheStoredTotalsAndReturnClosesWithoutWriting) {
  const std::vector<int32_t> stored = {3600, 1 << 30, 0, 0, 0};  // 1 GiB sent in an hour
  for (size_t i = 0; i < stored.size(); ++i) store.WriteInteger(Totals[i], stored[i]);
  int resets = 0;
  DriveModal([&] { ShowCountersDialog(nullptr, [&] { ++resets; }); }, {[&](HWND d) {
               std::vector<std::string> shown = {Text(d)};
               for (int id : {IDC_COUNTER_UPLOAD, IDC_COUNTER_UPLOAD_SPEED, IDC_COUNTER_DOWNLOAD, IDC_COUNTER_DOWNLOAD_SPEED,
                              IDC_COUNTER_TOTAL, IDC_COUNTER_TOTAL_SPEED, IDC_COUNTER_ELAPSED})
                 shown.push_back(Text(d, id));
               EXPECT_EQ(shown, std::vector<std::string>(
                                    {"Counters", "1.0GB", "291.3KB/s", "-", "0B/s", "1.0GB", "291.3KB/s", "1h "}));
               EXPECT_EQ(GetFocus(), GetDlgItem(d, IDCANCEL));
               ExpectCentred(d);
               return Press(VK_RETURN), true;
             }});
  EXPECT_EQ(std::pair(resets, Stored(store)), std::pair(0, stored));
}

// The tick's messages reach it through the dialog's modal loop; a reset zeroes the store
// and the running totals alike.
TEST_F(CountersDialog, ResetHoldsWhileTheTickRuns) {
  static struct TTick {
    TTransferTotals totals;
    TSettings* store;
    TFixedClock clock;
    int count;
  } tick;
  tick = {{int64_t(5) << 30, int64_t(7) << 30, 1000}, &store, {}, 0};
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, [](HWND, UINT, UINT_PTR, DWORD) {
    AddTransfer(tick.totals, *tick.store, tick.clock, 1000, 500), ++tick.count;
  });
  DriveModal([&] { ShowCountersDialog(nullptr, [&] { tick.totals = {0, 0, 0}; }); },
             {[&](HWND) { return tick.count >= 5; },
              [&](HWND d) {
                EXPECT_GT(store.ReadInteger("counter_elapsed", 0), 1004) << "the tick stores on while the dialog is up";
                return SendMessageA(GetDlgItem(d, IDC_COUNTER_RESET), BM_CLICK, 0, 0), true;
              }});
  EXPECT_EQ(Stored(store), std::vector<int32_t>(5, 0)) << "five zeros stored";
  const int before = tick.count;
  for (MSG msg; tick.count < before + 5 && GetMessageA(&msg, nullptr, 0, 0);) DispatchMessageA(&msg);
  const int32_t n = tick.count - before;
  EXPECT_EQ(Stored(store), std::vector<int32_t>({n, 500 * n, 0, 1000 * n, 0})) << "counting on from zero";
  KillTimer(nullptr, timer);
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
                 for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_MAIL, IDC_ABOUT_TITLE}) {
                   HWND c = GetDlgItem(d, id);
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
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string dir = std::string(self).substr(0, std::string(self).find_last_of('\\') + 1);
  const struct { std::string name, version; } cases[] = {
      {"", TARVELO_VERSION_TEXT},  // this program carries the program's resources
      {dir + "version_sample.dll", "1.2.3.4"}, {dir + "no_such_file.exe", ""}};
  for (const auto& c : cases) EXPECT_EQ(FileVersionText(c.name), c.version) << "'" << c.name << "'";
}

}  // namespace
