// tarvelo.exe started again while it runs, as the sign-in entry and a double-click would:
// the running one shows its graph, the later one ends, and there is one graph.
#include <gtest/gtest.h>

#include "support/WineTest.h"

namespace {

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
