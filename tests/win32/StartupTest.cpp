// tarvelo.exe started as a user would: first run without an adapter, a normal start,
// the two ways of ending it, and later starts while it runs.
#include "toolkit/WinApi.h"

#include <tuple>

#include "support/WineTest.h"

namespace {

// Answers the message box with OK once it has its text.
std::string AnswerMessage(HWND box) {
  std::string text;  // the static text may come a moment after the box
  for (int i = 0; i < 100 && (text = Text(box, 0xFFFF)).empty(); ++i) Sleep(50);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(50);
  return text;
}

TEST(Startup, FirstRunWithoutAnAdapterAsksTwiceThenEnds) {
  StoreValues({});
  TProgram p;
  HWND box = p.Window("#32770", "Tarvelo ");
  ASSERT_NE(box, nullptr) << "no first message";
  EXPECT_EQ(AnswerMessage(box), "Please select adapter to be monitored!");
  const HWND sheet = p.Window("#32770", "Tarvelo  - options");
  ASSERT_NE(sheet, nullptr) << "no options sheet";
  PostMessageA(sheet, WM_COMMAND, IDCANCEL, 0);
  box = p.Window("#32770", "Tarvelo ");
  // the options step saved the window state before the second message came; the first
  // load took the window off the top
  EXPECT_EQ(std::tuple(StoredDword("LeftPos"), StoredDword("TopPos"), StoredDword("Width"), StoredDword("Height"),
                       StoredDword("StayOnTop"), StoredDword("UserHide")), std::tuple(546, 205, 87, 39, 0, 0));
  ASSERT_NE(box, nullptr) << "no second message";
  EXPECT_EQ(AnswerMessage(box), "An adapter must be selected for this program to run!");
  EXPECT_EQ(p.Exit(), 0);
  EXPECT_EQ(StoredDword("upload_l"), -1) << "it never sampled, so it never stored totals";
}

TEST(Startup, NormalStartShowsTheGraphWindowAndCloseRequestDoesNotSave) {
  StoreValues({{"Adapter", "lo"}});
  TProgram p;
  const HWND form = p.Window("obj_Form", "StatsForm");
  ASSERT_NE(form, nullptr);
  Sleep(2500);  // a couple of ticks
  EXPECT_TRUE(IsWindowVisible(form) && !(GetWindowLongPtrA(form, GWL_STYLE) & WS_CAPTION));
  EXPECT_TRUE(GetWindowLongPtrA(form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no task-bar button";
  EXPECT_GE(StoredDword("counter_elapsed"), 1) << "ticks store the totals";
  PostMessageA(form, WM_CLOSE, 0, 0);  // as a log-off does
  EXPECT_NE(p.Exit(), -1);
  EXPECT_EQ(StoredDword("LeftPos"), -1) << "a close request does not store the position";
}

TEST(Startup, QuitStoresTheWindowState) {
  StoreValues({{"Adapter", "lo"}});
  TProgram p;
  const HWND form = p.Window("obj_Form", "StatsForm");
  ASSERT_NE(form, nullptr);
  SetWindowPos(form, nullptr, 300, 310, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Sleep(300);
  PostMessageA(form, WM_COMMAND, MAKEWPARAM(4096 + 19, 0), 0);  // Quit, the menu's 20th item
  EXPECT_NE(p.Exit(), -1);
  EXPECT_EQ(std::tuple(StoredDword("LeftPos"), StoredDword("TopPos")), std::tuple(300, 310));
  RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);
}

// As the sign-in entry and a double-click would: the running one shows its graph, the
// later one ends, and there is one graph.
TEST(SingleInstance, LaterStartsShowTheHiddenGraphAndEndWithoutRunning) {
  StoreValues({{"Adapter", "lo"}});
  TProgram first;
  const HWND graph = first.Window("obj_Form", "StatsForm");
  ASSERT_NE(graph, nullptr);
  for (int i = 0; i < 150 && StoredDword("counter_elapsed") < 1; ++i) Sleep(100);  // ticking
  PostMessageA(graph, WM_COMMAND, 4096 + 7, 0);  // Show graph, the menu's 8th item: the user hides it
  for (int i = 0; i < 50 && IsWindowVisible(graph); ++i) Sleep(100);
  ASSERT_FALSE(IsWindowVisible(graph));
  // Without an adapter a start that ran would sit at its first message, not end.
  RegDeleteKeyValueA(HKEY_CURRENT_USER, TarveloKeyPath, "Adapter");
  for (int i = 2; i <= 3; ++i) {
    TProgram later;
    EXPECT_EQ(later.Exit(), 0) << "start " << i;
    EXPECT_TRUE(IsWindowVisible(graph) && GetForegroundWindow() == graph) << "start " << i;
    SetForegroundWindow(GetDesktopWindow());
  }
  const auto next = [](HWND after) { return FindWindowExA(nullptr, after, "obj_Form", "StatsForm"); };
  EXPECT_EQ(std::pair(next(nullptr), next(graph)), std::pair(graph, HWND{})) << "one graph, the first start's";
  EXPECT_EQ(StoredDword("UserHide"), -1) << "the store is the running one's business";
  RegDeleteKeyA(HKEY_CURRENT_USER, TarveloKeyPath);
}

}  // namespace
