// The options sheet and the colour picker under Wine: the real property sheet, pages,
// controls and registry, driven by the messages a user's clicks and keys send.
#include "toolkit/WinApi.h"

#include <algorithm>
#include <set>

#include "resources/resource.h"
#include "settings/ColourPicker.h"
#include "settings/OptionsSheet.h"
#include "support/WineTest.h"
#include "toolkit/WindowMessages.h"
#include "traffic/IfTableReader.h"

namespace {

constexpr const char* Caption = "Tarvelo  - options";

// Presses the button that `user` answers, after it has done its part.
TStep Answer(const std::function<int(HWND)>& user) {
  return [user](HWND d) { return PostMessageA(d, WM_COMMAND, MAKEWPARAM(user(d), BN_CLICKED), 0), true; };
}

// The program registers the picker at start-up, before any sheet.
void RunSheet(const std::vector<std::string>& adapters, const std::function<int(HWND)>& user) {
  RegisterColourPicker(GetModuleHandleA(nullptr));
  DriveModal([&] { ShowOptionsDialog(nullptr, Caption, adapters); }, {Answer(user)}, [] { return FindDialog(Caption); });
}

HWND ShowPage(HWND sheet, int index) {
  SendMessageA(sheet, PSM_SETCURSEL, index, 0);  // as a click on its tab
  return reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

void Click(HWND page, int id) { SendDlgItemMessageA(page, id, BM_CLICK, 0, 0); }
bool Enabled(HWND page, int id) { return IsWindowEnabled(GetDlgItem(page, id)) != 0; }

void Type(HWND page, int comboId, const std::string& text) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(GetDlgItem(page, comboId), &info);
  SendMessageA(info.hwndItem, EM_SETSEL, 0, -1);
  for (char ch : text) SendMessageA(info.hwndItem, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

std::vector<std::string> Items(HWND combo) {
  std::vector<std::string> out;
  for (int i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
    char text[260] = {};
    SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

// The adapters as the main form hands them in: this machine's, through Wine's GetIfTable.
TEST(OptionsSheet, OkWithoutLeavingThePageOneWritesOnlyItsThreeValuesFromTheOfferedAdapters) {
  TIfTableReader reader;
  std::vector<TIfRow> rows;
  ASSERT_TRUE(reader.Read(rows));
  std::vector<std::string> adapters, want, offered;
  ListAdapters(reader, [&](const std::string& d) { adapters.push_back(d); });
  for (const TIfRow& row : rows)
    if (row.Type == 6 || row.Type == 23 || row.Type == 71) want.push_back(row.Descr);
  std::sort(want.begin(), want.end());
  ASSERT_FALSE(want.empty());

  StoreValues({{"AutoHide", "1"}});
  RunSheet(adapters, [&](HWND sheet) {
    HWND page = ShowPage(sheet, 0);
    offered = Items(GetDlgItem(page, IDC_ADAPTER_LIST));
    SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_SETCURSEL, 0, 0);
    Click(page, IDC_LOGGING);
    return IDOK;
  });
  EXPECT_EQ(offered, want) << "Ethernet, PPP and wireless, sorted";
  EXPECT_EQ(std::count(offered.begin(), offered.end(), "lo"), 0) << "loopback is not offered";
  EXPECT_EQ(StoredValues(), (TValues{{"Adapter", want[0]}, {"AutoHide", "1"}, {"EnableLogging", "1"},
                              {"LogFile", "transfer_log.txt"}}));
}

TEST(OptionsSheet, ValueTypedOnTheTrayPageLandsInTrayScaleMaxOnly) {
  StoreValues({{"ScaleMax", "65000"}, {"TrayScaleMax", "4500"}});
  bool enabledBefore = true, enabledAfter = false;
  RunSheet({}, [&](HWND sheet) {
    ShowPage(sheet, 2);
    HWND tray = ShowPage(sheet, 3);
    enabledBefore = Enabled(tray, IDC_TRAY_SCALE);
    Click(tray, IDC_TRAY_MANUAL);
    enabledAfter = Enabled(tray, IDC_TRAY_SCALE) && Enabled(tray, IDC_TRAY_BALANCE);
    Type(tray, IDC_TRAY_SCALE, "100");
    return IDOK;
  });
  EXPECT_FALSE(enabledBefore) << "the scale follows Auto";
  EXPECT_TRUE(enabledAfter) << "and Manual";
  TValues stored = StoredValues();
  EXPECT_EQ(stored["TrayScaleMax"], "102400");
  EXPECT_EQ(stored["TrayAutoScale"], "0");
  EXPECT_EQ(stored["ScaleMax"], "65000") << "the Graph page wrote back what it showed";
  EXPECT_EQ(stored["Adapter"], "") << "page 1, shown first, is applied too";
  EXPECT_EQ(stored.count("AutoHide"), 0u) << "the Window page was never shown";
}

TEST(OptionsSheet, CancelWritesNothing) {
  const TValues before = {{"AlphaValue", "128"}, {"AutoScale", "0"}, {"ScaleMax", "32768"}};
  StoreValues(before);
  RunSheet({"NIC"}, [&](HWND sheet) {
    for (int i = 0; i < 4; ++i) ShowPage(sheet, i);
    HWND graph = ShowPage(sheet, 2);
    EXPECT_EQ(Text(graph, IDC_GRAPH_SCALE), "32");
    Type(graph, IDC_GRAPH_SCALE, "7");
    Click(graph, IDC_SHOW_GRID);
    return IDCANCEL;
  });
  EXPECT_EQ(StoredValues(), before);
}

TEST(OptionsSheet, DisabledControlsFollowTheirSourcesAndAreStillWritten) {
  StoreValues({{"UseTransparency", "0"}, {"AlphaValue", "128"}, {"MouseClickThru", "1"}, {"AutoScale", "0"},
         {"ScaleBallance", "75"}});
  std::vector<bool> states;
  std::vector<std::string> labels;
  RunSheet({}, [&](HWND sheet) {
    HWND window = ShowPage(sheet, 1);
    for (int i = 0; i < 3; ++i) {
      states.push_back(Enabled(window, IDC_OPACITY) && Enabled(window, IDC_CLICK_THRU));
      if (i < 2) Click(window, IDC_TRANSPARENCY);
    }
    HWND graph = ShowPage(sheet, 2);
    states.push_back(Enabled(graph, IDC_DENSE_LINES) || Enabled(graph, IDC_GRAPH_UP_LABEL));
    labels.push_back(Text(graph, IDC_GRAPH_DOWN_LABEL) + "|" + Text(graph, IDC_GRAPH_UP_LABEL));
    SendDlgItemMessageA(graph, IDC_GRAPH_BALANCE, WM_KEYDOWN, VK_HOME, 0);  // the trackbar sends WM_HSCROLL
    labels.push_back(Text(graph, IDC_GRAPH_DOWN_LABEL) + "|" + Text(graph, IDC_GRAPH_UP_LABEL));
    return IDOK;
  });
  EXPECT_EQ(states, (std::vector<bool>{false, true, false, false})) << "transparency off, on, off; dense lines";
  EXPECT_EQ(labels, (std::vector<std::string>{"DownLink 53%|UpLink 100%", "DownLink 100%|UpLink 10%"}));
  TValues stored = StoredValues();
  EXPECT_EQ((std::vector<std::string>{stored["UseTransparency"], stored["AlphaValue"], stored["MouseClickThru"],
                                      stored["ScaleBallance"]}),
            (std::vector<std::string>{"0", "128", "1", "1"}));
}

TEST(OptionsSheet, TheBrowseButtonFillsTheLogFileFromTheFileChooser) {
  constexpr int ChooserFileName = 0x47c;  // the chooser's file name box (cmb13)
  StoreValues({});
  std::string offered, chosen;
  RunSheet({}, [&](HWND sheet) {
    HWND page = ShowPage(sheet, 0);
    DriveModal([&] { Click(page, IDC_BROWSE_LOG_FILE); }, {Answer([&](HWND chooser) {
                 offered = Text(chooser, ChooserFileName);
                 SetDlgItemTextA(chooser, ChooserFileName, "mine.txt");
                 return IDOK;
               })},
               [sheet] { return FindDialog(nullptr, sheet); });
    chosen = Text(page, IDC_LOG_FILE);
    return IDCANCEL;
  });
  EXPECT_EQ(offered, "transfer_log.txt");
  EXPECT_TRUE(chosen.size() > 9 && chosen.ends_with("\\mine.txt")) << chosen;
}

// --- the colour picker on its own, in a plain parent that notes its WM_COMMANDs ---

std::vector<LPARAM> Notes;

LRESULT CALLBACK ParentProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_COMMAND) Notes.push_back(static_cast<LPARAM>(wParam));
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

struct TPickerFixture : testing::Test {
  HWND parent = nullptr, picker = nullptr;
  void SetUp() override {
    RegisterColourPicker(GetModuleHandleA(nullptr));
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PickerTestParent";
    RegisterClassA(&wc);
    parent = CreateWindowA("PickerTestParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr,
                           nullptr, nullptr);
    picker = CreateWindowA("ColourPicker", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 64, 20, parent,
                           reinterpret_cast<HMENU>(1027), nullptr, nullptr);
    Notes.clear();
  }
  void TearDown() override { DestroyWindow(parent); }

  // The pixels inside the etched frame, row by row.
  std::vector<std::vector<COLORREF>> Swatch() {
    UpdateWindow(picker);
    std::vector<std::vector<COLORREF>> rows(16, std::vector<COLORREF>(60));
    HDC dc = GetDC(picker);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 60; ++x) rows[y][x] = GetPixel(dc, x + 2, y + 2);
    ReleaseDC(picker, dc);
    return rows;
  }
  std::set<COLORREF> Colours() {
    std::set<COLORREF> seen;
    for (const auto& row : Swatch()) seen.insert(row.begin(), row.end());
    return seen;
  }
};

TEST_F(TPickerFixture, ColoursRoundTripAndADisabledPickerShowsTheHatch) {
  ASSERT_NE(picker, nullptr);
  EXPECT_EQ(SendMessageA(picker, CPM_GETCOLOUR, 0, 0), 0);
  SendMessageA(picker, CPM_SETCOLOUR, 0, 0x123456);
  SendMessageA(picker, CPM_SETCUSTOMCOLOUR, 0, 0xABCDEF);
  EXPECT_EQ(SendMessageA(picker, CPM_GETCOLOUR, 0, 0), 0x123456);
  EXPECT_EQ(SendMessageA(picker, CPM_GETCUSTOMCOLOUR, 0, 0), 0xABCDEF);
  EXPECT_EQ(Colours(), std::set<COLORREF>{0x123456});

  EnableWindow(picker, FALSE);
  EXPECT_EQ(Colours(), (std::set<COLORREF>{GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_BTNFACE)}));
  const auto hatch = Swatch();
  for (int y = 1; y < 16; ++y)
    for (int x = 0; x < 59; ++x)
      if (hatch[y][x] == GetSysColor(COLOR_GRAYTEXT)) {
        ASSERT_EQ(hatch[y - 1][x + 1], hatch[y][x]) << "lines rise to the right, at " << x << "," << y;
      }
  EnableWindow(picker, TRUE);
  EXPECT_EQ(Colours(), std::set<COLORREF>{0x123456});

  HDC dc = GetDC(picker);
  EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNSHADOW)) << "the etched frame";
  ReleaseDC(picker, dc);

  SendMessageA(picker, WM_SETCURSOR, reinterpret_cast<WPARAM>(picker), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_HAND_CURSOR)));
}

TEST_F(TPickerFixture, ReleasingTheButtonOpensTheChooserAndOnlyOkNotifies) {
  SendMessageA(picker, CPM_SETCOLOUR, 0, 0x00C08040);
  for (const int button : {IDCANCEL, IDOK}) {
    Notes.clear();
    DriveModal([&] { SendMessageA(picker, WM_LBUTTONUP, 0, MAKELPARAM(5, 5)); }, {Answer([&](HWND) { return button; })});
    EXPECT_EQ(Notes, button == IDOK ? std::vector<LPARAM>{MAKEWPARAM(1027, 1)} : std::vector<LPARAM>{}) << button;
    EXPECT_EQ(SendMessageA(picker, CPM_GETCOLOUR, 0, 0), 0x00C08040) << "the preselected colour comes back";
  }
}

}  // namespace
