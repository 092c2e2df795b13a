// The options sheet and the colour picker under Wine: the real property sheet, pages,
// controls and registry, driven by the messages a user's clicks and keys send.
#include "toolkit/WinApi.h"

#include <set>
#include <tuple>

#include "resources/resource.h"
#include "settings/ColourPicker.h"
#include "settings/OptionsPages.h"
#include "settings/OptionsSheet.h"
#include "support/WineTest.h"
#include "toolkit/WindowMessages.h"

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

void Type(HWND page, int comboId, const std::string& text) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  GetComboBoxInfo(GetDlgItem(page, comboId), &info);
  SendMessageA(info.hwndItem, EM_SETSEL, 0, -1);
  for (char ch : text) SendMessageA(info.hwndItem, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

// The list is sorted, the automatic choice kept first: the next item is "NIC A".
TEST(OptionsSheet, OkWithoutLeavingThePageOneWritesOnlyItsThreeValues) {
  StoreValues({{"AutoHide", "1"}});
  char first[64] = {};
  RunSheet({"NIC B", "NIC A"}, [&](HWND sheet) {
    HWND page = ShowPage(sheet, 0);
    SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_SETCURSEL, 1, 0);
    Click(page, IDC_LOGGING);
    return IDOK;
  });
  EXPECT_STREQ(first, AutomaticAdapterItem);
  EXPECT_EQ(StoredValues(), (TValues{{"Adapter", "NIC A"}, {"AdapterAuto", "0"}, {"AutoHide", "1"},
                              {"EnableLogging", "1"}, {"LogFile", "transfer_log.txt"}}));
}

// Pages the user opened are applied, the others not.
TEST(OptionsSheet, ValueTypedOnTheTrayPageLandsInTrayScaleMaxOnly) {
  StoreValues({{"ScaleMax", "65000"}, {"TrayScaleMax", "4500"}});
  RunSheet({}, [&](HWND sheet) {
    ShowPage(sheet, 2);
    HWND tray = ShowPage(sheet, 3);
    Click(tray, IDC_TRAY_MANUAL);
    Type(tray, IDC_TRAY_SCALE, "100");
    return IDOK;
  });
  TValues stored = StoredValues();
  EXPECT_EQ(std::tuple(stored["TrayScaleMax"], stored["TrayAutoScale"], stored["ScaleMax"], stored["Adapter"],
                       stored.count("AutoHide")), std::tuple("102400", "0", "65000", "", 0u));
}

TEST(OptionsSheet, CancelWritesNothing) {
  StoreValues({{"ScaleMax", "32768"}});
  RunSheet({"NIC"}, [&](HWND sheet) {
    for (int i = 0; i < 4; ++i) ShowPage(sheet, i);
    return IDCANCEL;
  });
  EXPECT_EQ(StoredValues(), (TValues{{"ScaleMax", "32768"}}));
}

// The balance trackbar's scrolling reaches the page through the sheet.
TEST(OptionsSheet, TheTrackbarMovesTheLabels) {
  StoreValues({{"AutoScale", "0"}, {"ScaleBallance", "75"}});
  std::string labels;
  RunSheet({}, [&](HWND sheet) {
    HWND graph = ShowPage(sheet, 2);
    SendDlgItemMessageA(graph, IDC_GRAPH_BALANCE, WM_KEYDOWN, VK_HOME, 0);  // the trackbar sends WM_HSCROLL
    labels = Text(graph, IDC_GRAPH_DOWN_LABEL) + "|" + Text(graph, IDC_GRAPH_UP_LABEL);
    return IDOK;
  });
  EXPECT_EQ(std::tuple(labels, StoredValues()["ScaleBallance"]), std::tuple("DownLink 100%|UpLink 10%", "1"));
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

// A stored description as long as the table's field is selected whole and written back unchanged.
TEST(OptionsSheet, TheAdapterListSelectsAStoredDescriptionOfTheFieldsLengthWhole) {
  constexpr size_t Field = 256;  // the description field of GetIfTable's rows
  // each one character longer than the one before, so sorted each sits at its length's place
  const auto description = [](size_t length) {
    std::string d;
    for (size_t i = 0; i < length; ++i) d += "Adapter 0123456789 abc-XYZ "[i % 27];
    return d;
  };
  std::vector<std::string> adapters;
  for (size_t n = 1; n <= Field; ++n) adapters.push_back(description(n));
  StoreValues({{"Adapter", description(Field)}});
  int selected = -2, count = -2;
  RunSheet(adapters, [&](HWND sheet) {
    HWND page = ShowPage(sheet, 0);
    selected = int(SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_GETCURSEL, 0, 0));
    count = int(SendDlgItemMessageA(page, IDC_ADAPTER_LIST, CB_GETCOUNT, 0, 0));
    return IDOK;
  });
  // the automatic choice first
  EXPECT_EQ(std::tuple(count, selected, StoredValues()["Adapter"]), std::tuple(int(Field) + 1, int(Field), description(Field)));
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
    wc.lpfnWndProc = &ParentProc, wc.hInstance = GetModuleHandleA(nullptr), wc.lpszClassName = "PickerTestParent";
    RegisterClassA(&wc);
    parent = CreateWindowA("PickerTestParent", "", WS_POPUP | WS_VISIBLE, 50, 50, 200, 100, nullptr, nullptr, nullptr, nullptr);
    picker = CreateWindowA("ColourPicker", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 64, 20, parent,
                           reinterpret_cast<HMENU>(1027), nullptr, nullptr);
    Notes.clear();
  }
  void TearDown() override { DestroyWindow(parent); }

  // The colours of the pixels inside the etched frame.
  std::set<COLORREF> Swatch() {
    UpdateWindow(picker);
    std::set<COLORREF> colours;
    tk::TScopedGetDC dc(picker);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 60; ++x) colours.insert(GetPixel(dc.get(), x + 2, y + 2));
    return colours;
  }
};

TEST_F(TPickerFixture, ColoursRoundTripAndTheSwatchShowsTheColour) {
  ASSERT_NE(picker, nullptr);
  SendMessageA(picker, CPM_SETCOLOUR, 0, 0x123456);
  SendMessageA(picker, CPM_SETCUSTOMCOLOUR, 0, 0xABCDEF);
  EXPECT_EQ(std::pair(SendMessageA(picker, CPM_GETCOLOUR, 0, 0), SendMessageA(picker, CPM_GETCUSTOMCOLOUR, 0, 0)),
            std::pair(LRESULT{0x123456}, LRESULT{0xABCDEF}));
  EXPECT_EQ(Swatch(), std::set<COLORREF>{0x123456});
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
