// The real main form in this process, driven by a thread timer from inside its own loop.
#include "app/MainForm.h"

#include "support/WineTest.h"
#include "toolkit/WindowMessages.h"

namespace {

struct TSeen {
  int step = 0;
  POINT clientOrigin{};
  RECT menu{};
  bool menuFound = false, formAfterDestroy = true;
} g_seen;

HWND Form() { return FindWindowA("obj_Form", "StatsForm"); }
HWND App() { return FindWindowA("obj_App", "Tarvelo"); }

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
  switch (g_seen.step++) {
    case 0:  // Shift+F10 or the menu key: both coordinates -1
      ClientToScreen(Form(), &g_seen.clientOrigin);
      PostMessageA(Form(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form()), MAKELPARAM(-1, -1));
      break;
    case 1:  // inside the menu's own loop
      if (HWND menu = FindWindowA("#32768", nullptr)) g_seen.menuFound = GetWindowRect(menu, &g_seen.menu), EndMenu();
      break;
    case 2:  // the window goes while the loop runs on; then everything that might reach it
      DestroyWindow(Form());
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_LBUTTONDOWN);  // the tray's left click
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_RBUTTONUP);    // and its menu
      SendMessageA(App(), WM_QUERYENDSESSION, 0, 0);
      break;
    case 3:
      break;  // run-away, return and balloon timers have had their turn
    default:
      g_seen.formAfterDestroy = Form() != nullptr;
      PostMessageA(App(), WM_CLOSE, 0, 0);
      break;
  }
}

TEST(MainForm, KeyboardMenuAtTheWindowAndNothingRemakesAWindowThatIsGone) {
  StoreValues({{"Adapter", "lo"}, {"AutoRunAway", "1"}});
  TShellRecorder recorder;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1300, &Step);
  TMainForm program;
  EXPECT_EQ(program.Run(), 0);
  KillTimer(nullptr, timer);
  RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);

  ASSERT_TRUE(g_seen.menuFound) << "no menu for the keyboard";
  EXPECT_EQ(std::pair(g_seen.menu.left, g_seen.menu.top), std::pair(g_seen.clientOrigin.x, g_seen.clientOrigin.y))
      << "the keyboard's menu opens at the window's client corner";
  EXPECT_GE(g_seen.step, 5) << "the loop ran on after the window was gone";
  EXPECT_FALSE(g_seen.formAfterDestroy) << "a timer, the tray or a query made the window again";
}

}  // namespace
