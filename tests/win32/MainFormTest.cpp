// The real main form in this process, driven by a thread timer from inside its own loop.
#include "app/MainForm.h"

#include <filesystem>
#include <fstream>

#include "support/WineTest.h"
#include "toolkit/WindowMessages.h"

namespace {

struct TSeen {
  int step = 0;
  POINT clientOrigin{};
  RECT menu{};
  bool menuFound = false, formAfterDestroy = true, clicksPass = false, balloon = true;
  int editorShown = -1;  // the log's editor: 1 shown, 0 started hidden
} g_seen;

HWND Form() { return FindWindowA("obj_Form", "StatsForm"); }
HWND App() { return FindWindowA("obj_App", "Tarvelo"); }
std::string LogFile() { return (std::filesystem::temp_directory_path() / "tarvelo_main_form.txt").string(); }

// The shell's editor for the log: whether it shows, then it is ended.
bool EditorSeen() {
  HWND editor = FindWindowA("Notepad", nullptr);
  if (!editor) return false;
  g_seen.editorShown = IsWindowVisible(editor) ? 1 : 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(editor, &pid);
  const tk::unique_handle process(OpenProcess(PROCESS_TERMINATE, FALSE, pid));
  if (process) TerminateProcess(process.get(), 0);
  return true;
}

void CALLBACK Step(HWND, UINT, UINT_PTR, DWORD) {
  const int step = g_seen.step++;
  if (step >= 5 && step < 12) {  // the editor takes its time to start
    if (EditorSeen()) g_seen.step = 12;
    return;
  }
  switch (step) {
    case 0: {  // the focus goes elsewhere: opaque, yet clicks pass to what is below
      SendMessageA(Form(), WM_ACTIVATE, WA_INACTIVE, 0);
      RECT r{};
      GetWindowRect(Form(), &r);
      g_seen.clicksPass = WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2}) != Form();
      // the cursor rests on the tray icon, then a right click: the menu opens there
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_MOUSEMOVE);
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_RBUTTONUP);
      break;
    }
    case 1:  // inside the tray's menu
      EndMenu();
      break;
    case 2:  // a rest that began with a click is past its second, and gave no balloon
      g_seen.balloon = false;
      for (const TShellRequest& r : ShellRequests()) g_seen.balloon |= (r.d.uFlags & NIF_INFO) != 0;
      // Shift+F10 or the menu key: both coordinates -1
      ClientToScreen(Form(), &g_seen.clientOrigin);
      PostMessageA(Form(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Form()), MAKELPARAM(-1, -1));
      break;
    case 3:  // inside the menu's own loop
      if (HWND menu = FindWindowA("#32768", nullptr)) g_seen.menuFound = GetWindowRect(menu, &g_seen.menu), EndMenu();
      break;
    case 4:  // Transfer Log, the menu's fifth item
      PostMessageA(Form(), WM_COMMAND, MAKEWPARAM(4096 + 4, 0), 0);
      break;
    case 12:  // the window goes while the loop runs on; then everything that might reach it
      DestroyWindow(Form());
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_LBUTTONDOWN);  // the tray's left click
      PostMessageA(App(), WM_TK_NOTIFYICON, 1, WM_RBUTTONUP);    // and its menu
      SendMessageA(App(), WM_QUERYENDSESSION, 0, 0);
      break;
    case 13:
      break;  // run-away, return and balloon timers have had their turn
    default:
      g_seen.formAfterDestroy = Form() != nullptr;
      PostMessageA(App(), WM_CLOSE, 0, 0);
      break;
  }
}

TEST(MainForm, ClickThroughMenusTheLogAndNothingRemakesAWindowThatIsGone) {
  std::ofstream(LogFile()) << "day\r\n";
  // as on Windows, a text file opens in Notepad (Wine's prefix says nothing of .txt)
  const bool made = RegGetValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) != 0;
  if (made) RegSetKeyValueA(HKEY_CLASSES_ROOT, ".txt", nullptr, REG_SZ, "txtfile", 8);
  StoreValues({{"Adapter", "lo"}, {"AutoRunAway", "1"}, {"UseTransparency", "1"}, {"MouseClickThru", "1"},
               {"LogFile", LogFile()}});
  TShellRecorder recorder;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1300, &Step);
  TMainForm program;
  EXPECT_EQ(program.Run(), 0);
  KillTimer(nullptr, timer);
  RegDeleteTreeA(HKEY_CURRENT_USER, TarveloKeyPath);
  std::filesystem::remove(LogFile());
  if (made) RegDeleteTreeA(HKEY_CLASSES_ROOT, ".txt");

  EXPECT_TRUE(g_seen.clicksPass) << "click-through at full opacity";
  EXPECT_FALSE(g_seen.balloon) << "no balloon from a rest that began with the click opening the tray's menu";
  EXPECT_EQ(g_seen.editorShown, 1) << "the log's editor is shown, not started hidden";
  ASSERT_TRUE(g_seen.menuFound) << "no menu for the keyboard";
  EXPECT_EQ(std::pair(g_seen.menu.left, g_seen.menu.top), std::pair(g_seen.clientOrigin.x, g_seen.clientOrigin.y))
      << "the keyboard's menu opens at the window's client corner";
  EXPECT_GE(g_seen.step, 15) << "the loop ran on after the window was gone";
  EXPECT_FALSE(g_seen.formAfterDestroy) << "a timer, the tray or a query made the window again";
}

}  // namespace
