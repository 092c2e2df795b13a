// The counters dialog and the about box from the program's own templates, with the
// real registry, driven from their modal loops by the messages a user's actions send.
#include "toolkit/WinApi.h"

#include "Version.h"
#include "base/Maker.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/LicenceText.h"
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
  const std::vector<int32_t> stored = {3600, -1, 1, 0, 0};  // 2^33 - 1 sent in an hour: the low half taken unsigned
  for (size_t i = 0; i < stored.size(); ++i) store.WriteInteger(Totals[i], stored[i]);
  int resets = 0;
  DriveModal([&] { ShowCountersDialog(nullptr, [&] { ++resets; }); }, {[&](HWND d) {
               std::vector<std::string> shown = {Text(d)};
               for (int id : {IDC_COUNTER_UPLOAD, IDC_COUNTER_UPLOAD_SPEED, IDC_COUNTER_DOWNLOAD, IDC_COUNTER_DOWNLOAD_SPEED,
                              IDC_COUNTER_TOTAL, IDC_COUNTER_TOTAL_SPEED, IDC_COUNTER_ELAPSED})
                 shown.push_back(Text(d, id));
               EXPECT_EQ(shown, std::vector<std::string>(
                                    {"Counters", "8.0GB", "2.3MB/s", "-", "0B/s", "8.0GB", "2.3MB/s", "1h "}));
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

TEST(AboutBox, ShowsTheVersionOpensTheLinksAndLeavesNoHandles) {
  std::vector<std::string> opened;
  const THandleBaseline handles;
  const auto show = [&] { ShowAboutDialog(nullptr, "Tarvelo ", [&](const std::string& t) { opened.push_back(t); }); };
  DriveModal(show, {[&](HWND d) {
                 EXPECT_EQ(Text(d, IDC_ABOUT_VERSION), "version: " TARVELO_VERSION_TEXT);
                 ExpectCentred(d);
                 for (int id : {IDC_ABOUT_HOMEPAGE, IDC_ABOUT_MAIL, IDC_ABOUT_TITLE}) {
                   SendDlgItemMessageA(d, id, WM_LBUTTONDOWN, MK_LBUTTON, 0);
                   SendDlgItemMessageA(d, id, WM_LBUTTONUP, 0, 0);
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
  EXPECT_EQ(handles.Leaked(), "");
}

}  // namespace
