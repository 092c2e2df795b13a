// Menus on a real form: ids, check toggling, accelerators, hidden items, Popup.
#include "toolkit/MenuObject.h"
#include "support/WineTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

const std::vector<std::string> ProgramMenuTexts = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

class ProgramMenu : public ::testing::Test {
protected:
  void SetUp() override {
    form->SetOnMessage([](void* d, TWindowObject*, TMessageRecord& m, LRESULT&) {
      if (m.Msg == WM_COMMAND) static_cast<ProgramMenu*>(d)->commands.push_back(m.WParam);
      return false;
    }, this);
    empty = BuildMenu(form.get(), {});
    menu = BuildMenu(form.get(), ProgramMenuTexts, [](void* d, TMenuObject* menu, int index) {
      static_cast<ProgramMenu*>(d)->chosen.push_back(index * (menu->ItemChecked(index) ? -1 : 1));
    }, this);
  }

  UINT Id(int index) { return menu->ItemAt(index)->CommandId(); }
  UINT State(int index) {
    TMenuObject* parent = menu->ItemAt(index)->ParentItem();
    return GetMenuState(parent ? parent->Handle() : menu->Handle(), Id(index), MF_BYCOMMAND);
  }
  void Command(UINT id, WPARAM high = 0, LPARAM control = 0) {
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(id, high), control);
  }

  TOwned<TWindowObject> form{CreateForm(nullptr, "menu host")};
  TMenuObject* empty = nullptr;
  TMenuObject* menu = nullptr;
  std::vector<int> chosen;  // index of each item chosen, negative when it was checked at its event
  std::vector<WPARAM> commands;
};

TEST_F(ProgramMenu, IndicesIdsAndLayout) {
  EXPECT_EQ(std::tuple(empty->Handle(), GetMenu(form->Handle())), std::tuple(HMENU{}, HMENU{}))
      << "an empty template makes no HMENU, so the window gets no menu bar";
  ASSERT_EQ(menu->ItemCount(), 18);
  std::string kinds;
  for (int i = 0; i < 18; ++i) {
    EXPECT_TRUE(Id(i) == Id(0) + i && menu->ItemAt(int(Id(i))) == menu->ItemAt(i)) << "ids in order, by id: " << i;
    const UINT state = State(i);
    kinds += state & MF_SEPARATOR ? '-' : state & MF_POPUP ? 's' : state & MF_CHECKED ? 'c' : '.';
  }
  EXPECT_EQ(kinds, ".-s..-.ccs..-.-.-.") << "separators, submenus, checked items";
  EXPECT_EQ(std::tuple(menu->ItemAt(18), GetMenuItemCount(menu->Handle())), std::tuple(nullptr, 12));
}

TEST_F(ProgramMenu, CommandsToggleChecksBeforeTheEventAndF1ChoosesAbout) {
  Command(Id(7));
  Command(Id(7));
  Command(Id(6));
  Command(Id(6), 0, reinterpret_cast<LPARAM>(form->Handle()));  // from a control: not the menu's
  Command(60000);                                               // no such item
  menu->SetItemAccelerator(10, FVIRTKEY, VK_F1);
  EXPECT_EQ(CopyAcceleratorTableA(form->AcceleratorTable(), nullptr, 0), 1);
  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F2, 0x003C0001);
  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
  EXPECT_EQ(chosen, (std::vector<int>{7, -7, 6, 10})) << "ShowGraph seen unchecked, then checked; F1 chose About";
  EXPECT_FALSE(State(6) & MF_CHECKED) << "a plain item is not toggled";
  EXPECT_EQ(commands.back(), MAKEWPARAM(Id(10), 1)) << "the accelerator's WM_COMMAND has high word 1";
}

TEST_F(ProgramMenu, HiddenItemsAndStateWords) {
  menu->SetItemVisible(15, false), menu->SetItemVisible(16, false);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 10) << "two items hidden";
  menu->SetItemVisible(15, true);
  EXPECT_EQ(std::tuple(GetMenuItemID(menu->Handle(), 9), GetMenuItemID(menu->Handle(), 10)), std::tuple(Id(15), Id(17)))
      << "shown again at its place, before Quit";
  // Hiding a submenu item keeps its submenu alive for when it comes back.
  HMENU sub9 = menu->ItemAt(9)->Handle();
  menu->SetItemVisible(9, false), menu->SetItemVisible(9, true);
  EXPECT_EQ(GetSubMenu(menu->Handle(), 7), sub9) << "the same submenu back at its place";
  menu->SetItemEnabled(0, false), menu->SetItemDefault(7, true), menu->SetItemChecked(8, false);
  EXPECT_EQ(std::tuple(State(0) & MF_GRAYED, GetMenuDefaultItem(menu->Handle(), FALSE, 0), State(8) & MF_CHECKED),
            std::tuple(UINT(MF_GRAYED), Id(7), 0u));
}

TEST(Menu, MenuBarsAndManyMenusLeaveNoHandles) {
  const THandleBaseline before;
  for (int i = 0; i < 4; ++i) {  // each of the four ways once
    TWindowObject* form = CreateForm(nullptr, "many menus");
    TMenuObject* bar = BuildMenu(form, {"File", "(", "Open", "-", "Exit", ")"});
    EXPECT_EQ(GetMenu(form->Handle()), bar->Handle()) << "the first menu with items is the menu bar";
    TMenuObject* popup = BuildMenu(form, ProgramMenuTexts);
    popup->SetItemAccelerator(10, FVIRTKEY, VK_F1);
    popup->SetItemVisible(9, false);  // a hidden submenu is still destroyed with its menu
    if (i % 3 == 0) {
      Release(popup);  // released early: the table drops its accelerator
      EXPECT_EQ(form->AcceleratorTable(), nullptr);
    }
    if (i % 2) {
      SendMessageA(form->Handle(), WM_CLOSE, 0, 0);  // the system destroys the window, not our menu bar
      EXPECT_TRUE(IsMenu(bar->Handle()));
    }
    Release(form);
  }
  EXPECT_EQ(before.Leaked(), "");
}

}  // namespace
