// Menus on a real form: ids, check toggling, accelerators, hidden items, Popup.
// The first test must build the first menu with items in this process (ids from 4096).
#include "toolkit/MenuObject.h"
#include "support/ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

const std::vector<std::string> ProgramMenuTexts = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

struct Chosen {
  std::vector<int> indices;
  std::vector<bool> checkedWhenRaised;
  std::vector<WPARAM> commands;
};

class ProgramMenu : public ::testing::Test {
protected:
  void SetUp() override {
    form = CreateForm(nullptr, "menu host");
    form->SetOnMessage([](void* d, TWindowObject*, TMessageRecord& m, LRESULT&) {
      if (m.Msg == WM_COMMAND) static_cast<Chosen*>(d)->commands.push_back(m.WParam);
      return false;
    }, &chosen);
    empty = BuildMenu(form, {}, nullptr, nullptr);
    menu = BuildMenu(form, ProgramMenuTexts, [](void* d, TMenuObject* menu, int index) {
      static_cast<Chosen*>(d)->indices.push_back(index);
      static_cast<Chosen*>(d)->checkedWhenRaised.push_back(menu->ItemChecked(index));
    }, &chosen);
  }
  void TearDown() override { Release(form); }

  UINT Id(int index) { return menu->ItemAt(index)->CommandId(); }
  UINT State(int index) {
    TMenuObject* parent = menu->ItemAt(index)->ParentItem();
    return GetMenuState(parent ? parent->Handle() : menu->Handle(), Id(index), MF_BYCOMMAND);
  }
  void Choose(int index) { SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(index), 0), 0); }

  TWindowObject* form = nullptr;
  TMenuObject* empty = nullptr;
  TMenuObject* menu = nullptr;
  Chosen chosen;
};

TEST_F(ProgramMenu, IndicesIdsAndLayout) {
  EXPECT_EQ(empty->Handle(), nullptr) << "an empty template makes no HMENU";
  EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "so the window gets no menu bar";
  ASSERT_EQ(menu->ItemCount(), 18);
  std::string kinds;
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(menu->ItemAt(i)->CommandId(), 4096u + i) << "index " << i;
    EXPECT_EQ(menu->ItemAt(4096 + i), menu->ItemAt(i)) << "command id " << 4096 + i;
    const UINT state = State(i);
    kinds += state & MF_SEPARATOR ? '-' : state & MF_POPUP ? 's' : state & MF_CHECKED ? 'c' : '.';
  }
  EXPECT_EQ(kinds, ".-s..-.ccs..-.-.-.") << "separators, submenus, checked items";
  EXPECT_EQ(menu->ItemAt(18), nullptr);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 12) << "top level: 0 1 2 5 6 7 8 9 14 15 16 17";
  EXPECT_EQ(GetMenuItemCount(menu->ItemAt(9)->Handle()), 4);
  char text[64] = {};
  GetMenuStringA(menu->ItemAt(9)->Handle(), Id(10), text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "About\tF1");
  GetMenuStringA(menu->Handle(), Id(7), text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "ShowGraph") << "the check marker is not shown";
}

TEST_F(ProgramMenu, ChoosingACheckedItemUnchecksItBeforeItsEvent) {
  Choose(7);
  EXPECT_FALSE(State(7) & MF_CHECKED);
  Choose(7);
  Choose(6);
  EXPECT_EQ(chosen.indices, (std::vector<int>{7, 7, 6}));
  EXPECT_EQ(chosen.checkedWhenRaised, (std::vector<bool>{false, true, false})) << "each event sees the new state";
  EXPECT_FALSE(State(6) & MF_CHECKED) << "a plain item is not toggled";

  // Commands from a control (lParam) or of an unknown id are not the menu's.
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(6), 0), reinterpret_cast<LPARAM>(form->Handle()));
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(60000, 0), 0);
  EXPECT_EQ(chosen.indices.size(), 3u);
}

TEST_F(ProgramMenu, F1ReachesAboutThroughTheAcceleratorTable) {
  menu->SetItemAccelerator(10, FVIRTKEY, VK_F1);
  ASSERT_NE(form->AcceleratorTable(), nullptr);
  EXPECT_EQ(CopyAcceleratorTableA(form->AcceleratorTable(), nullptr, 0), 1);
  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F2, 0x003C0001);
  EXPECT_EQ(chosen.indices, std::vector<int>{10}) << "F1 chose About, F2 nothing";
  EXPECT_EQ(chosen.commands, std::vector<WPARAM>{MAKEWPARAM(Id(10), 1)}) << "WM_COMMAND with high word 1";
}

TEST_F(ProgramMenu, HiddenItemsStateWordsAndDefault) {
  menu->SetItemVisible(15, false);
  menu->SetItemVisible(16, false);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 10) << "two items hidden";
  menu->SetItemVisible(15, true);
  EXPECT_EQ(GetMenuItemID(menu->Handle(), 9), Id(15)) << "shown again at its place, before Quit";
  EXPECT_EQ(GetMenuItemID(menu->Handle(), 10), Id(17));

  // Hiding a submenu item keeps its submenu alive for when it comes back.
  HMENU sub9 = menu->ItemAt(9)->Handle();
  menu->SetItemVisible(9, false);
  EXPECT_TRUE(IsMenu(sub9));
  menu->SetItemVisible(9, true);
  EXPECT_EQ(GetSubMenu(menu->Handle(), 7), sub9) << "the same submenu back at its place";

  menu->SetItemEnabled(0, false);
  menu->SetItemDefault(7, true);
  EXPECT_TRUE(State(0) & MF_GRAYED) << "disabled";
  EXPECT_EQ(GetMenuDefaultItem(menu->Handle(), FALSE, 0), Id(7)) << "default item";
}

TEST_F(ProgramMenu, RadioGroupsSelectWithinTheirRun) {
  TMenuObject* radio = BuildMenu(form, {"-!A", "-!B", "+!C", "-!!D", "+!E"}, nullptr, nullptr);
  const UINT first = radio->ItemAt(0)->CommandId();
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(first, 0), 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(first, 0), 0);  // choosing it again keeps it
  const bool expected[] = {true, false, false, false, true};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ((GetMenuState(radio->Handle(), first + i, MF_BYCOMMAND) & MF_CHECKED) != 0, expected[i]) << "item " << i;
    EXPECT_EQ(radio->ItemChecked(i), expected[i]) << "state word of item " << i;
  }
}

struct { TWindowObject* form; int raised, topDuring; bool visibleDuring; } g_popup;

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

TEST(Menu, PopupOnAHiddenFormHidesItAgainAtItsPlace) {
  TWindowObject* form = g_popup.form = CreateForm(nullptr, "popup");
  form->SetHasCaption(false);
  form->SetPosition(150, 160);
  form->SetClientSize(90, 70);
  form->Hide();
  RECT before{}, after{};
  GetWindowRect(form->Handle(), &before);
  BuildMenu(form, {}, nullptr, nullptr);
  TMenuObject* menu = BuildMenu(form, {"One", "Two"}, nullptr, nullptr);
  menu->SetOnBeforePopup([](void*, TMenuObject*) {
    ++g_popup.raised;
    g_popup.visibleDuring = g_popup.form->Visible();
    g_popup.topDuring = g_popup.form->Top();
  }, nullptr);
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  menu->Popup(400, 400);
  EXPECT_TRUE(g_popup.visibleDuring) << "the form is shown so that it can be the foreground window";
  EXPECT_EQ(g_popup.topDuring, GetSystemMetrics(SM_CYSCREEN) + 50) << "below the screen";
  EXPECT_FALSE(form->Visible());
  GetWindowRect(form->Handle(), &after);
  EXPECT_TRUE(EqualRect(&before, &after)) << "back at its place and size";

  form->Show();
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  menu->Popup(400, 400);
  EXPECT_EQ(g_popup.raised, 2);
  EXPECT_EQ(g_popup.topDuring, 160) << "a visible form stays where it is";
  EXPECT_TRUE(form->Visible());

  form->SetPopupMenu(menu);  // the context menu also opens from the keyboard
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), -1), 0);
  Release(form);
}

TEST(Menu, MenuBarsAndManyMenusLeaveNoHandles) {
  const long user = tk::LiveUserHandles();
  for (int i = 0; i < 30; ++i) {
    TWindowObject* form = CreateForm(nullptr, "many menus");
    TMenuObject* bar = BuildMenu(form, {"File", "(", "Open", "-", "Exit", ")"}, nullptr, nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), bar->Handle()) << "the first menu with items is the menu bar";
    TMenuObject* popup = BuildMenu(form, ProgramMenuTexts, nullptr, nullptr);
    popup->SetItemAccelerator(10, FVIRTKEY, VK_F1);
    popup->SetItemVisible(9, false);  // a hidden submenu is still destroyed with its menu
    if (i % 3 == 0) {
      Release(popup);  // released early: the table drops its accelerator
      EXPECT_EQ(form->AcceleratorTable(), nullptr);
    }
    if (i % 2) SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    Release(form);
  }
  EXPECT_EQ(tk::LiveUserHandles(), user);
}

}  // namespace
