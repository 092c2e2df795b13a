// tarvelo.exe started again while it runs, as the sign-in entry and a double-click would:
// the running one shows its graph, the later one ends, and there is always one graph.
#include <gtest/gtest.h>


#include "toolkit/WinApi.h"
#include "toolkit/WindowMessages.h"

#include "support/WineTest.h"

namespace {

constexpr UINT FirstCommand = 4096;  // the menu's first item; Show graph is its 8th, Quit its 18th

// Every graph window of any process, and its owner.
std::vector<std::pair<HWND, DWORD>> Graphs() {
  std::vector<std::pair<HWND, DWORD>> out;
  for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "obj_Form", "StatsForm"));) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    out.emplace_back(w, pid);
  }
  return out;
}

// The graph of that process once it has stored a tick or two, or null after 15 s.
HWND Ticking(const TProgram& p) {
  const int64_t from = StoredDword("counter_elapsed");
  for (int i = 0; i < 150; ++i, Sleep(100))
    for (const auto& [w, pid] : Graphs())
      if (pid == p.pi.dwProcessId && StoredDword("counter_elapsed") > from + 1) return w;
  return nullptr;
}

TEST(SingleInstance, LaterStartsShowTheHiddenGraphAndEndWithoutRunning) {
  FreshStore("lo");
  TProgram first;
  const HWND graph = Ticking(first);
  ASSERT_NE(graph, nullptr);
  PostMessageA(graph, WM_COMMAND, FirstCommand + 7, 0);  // the user hides it
  for (int i = 0; i < 50 && IsWindowVisible(graph); ++i) Sleep(100);
  ASSERT_FALSE(IsWindowVisible(graph));
  // Without an adapter a start that ran would sit at its first message, not end.
  RegDeleteKeyValueA(HKEY_CURRENT_USER, TarveloKeyPath, "Adapter");
  for (int i = 0; i < 2; ++i) {
    TProgram later;
    EXPECT_EQ(later.Exit(), 0) << "start " << i + 2;
    EXPECT_TRUE(IsWindowVisible(graph)) << "start " << i + 2;
    EXPECT_EQ(GetForegroundWindow(), graph) << "start " << i + 2;
    SetForegroundWindow(GetDesktopWindow());
  }
  EXPECT_TRUE(first.Running());
  EXPECT_EQ(Graphs(), (std::vector<std::pair<HWND, DWORD>>{{graph, first.pi.dwProcessId}}));
  EXPECT_EQ(StoredDword("UserHide"), -1) << "the store is the running one's business";
  RegDeleteKeyA(HKEY_CURRENT_USER, TarveloKeyPath);
}

// A program on its way out does not answer, so a start meeting it waits for its lock
// and runs instead of ending too: there is always one graph.
TEST(SingleInstance, AProgramThatIsEndingLeavesTheGraphToALaterStart) {
  FreshStore("lo");
  TProgram first;
  const HWND graph = Ticking(first);
  ASSERT_NE(graph, nullptr);
  // the quit is queued before the question, which the thread still answers first
  ASSERT_TRUE(PostThreadMessageA(GetWindowThreadProcessId(graph, nullptr), WM_QUIT, 0, 0));
  DWORD_PTR reply = 0;
  SendMessageTimeoutA(graph, WM_STATS_SHOWGRAPH, 0, 0, SMTO_ABORTIFHUNG, 2000, &reply);
  EXPECT_NE(reply, DWORD_PTR(StatsShowGraphReply));
  EXPECT_NE(first.Exit(), -1);
  TProgram later;
  EXPECT_NE(Ticking(later), nullptr) << "no graph left";
  EXPECT_TRUE(later.Running());
  RegDeleteKeyA(HKEY_CURRENT_USER, TarveloKeyPath);
}

}  // namespace
