// Menus on a real form: ids, check toggling, accelerators, hidden items, Popup.
// The first test must build the first menu with items in this process (ids from 4096).
#include "toolkit/Menu.h"
#include "ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> kProgramMenu = {
    "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-", "Options",
    "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-", "Bugtracker", ")", "-",
    "Network Connections", "-", "Quit", ""};

struct Chosen {
  std::vector<int> indices;
  std::vector<bool> checkedWhenRaised;
  std::vector<WPARAM> commandWParams;
};

void OnItem(void* data, TMenuObject* menu, int index) {
  auto* c = static_cast<Chosen*>(data);
  c->indices.push_back(index);
  c->checkedWhenRaised.push_back(menu->ItemChecked(index));
}

bool NoteCommand(void* data, TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_COMMAND) static_cast<Chosen*>(data)->commandWParams.push_back(m.WParam);
  return false;
}

class ProgramMenu : public ::testing::Test {
protected:
  void SetUp() override {
    form = CreateForm(nullptr, "menu host");
    form->SetPosition(300, 300);
    form->SetClientSize(120, 90);
    form->SetOnMessage(&NoteCommand, &chosen);
    empty = BuildMenu(form, {}, nullptr, nullptr);
    menu = BuildMenu(form, kProgramMenu, &OnItem, &chosen);
    sub9 = menu->ItemAt(9)->Handle();
  }
  void TearDown() override { Release(form); }

  UINT Id(int index) { return menu->ItemAt(index)->CommandId(); }
  UINT State(int index) {
    TMenuObject* item = menu->ItemAt(index);
    HMENU container = item->ParentItem() ? item->ParentItem()->Handle() : menu->Handle();
    return GetMenuState(container, item->CommandId(), MF_BYCOMMAND);
  }

  TWindowObject* form = nullptr;
  TMenuObject* empty = nullptr;
  TMenuObject* menu = nullptr;
  HMENU sub9 = nullptr;
  Chosen chosen;
};

TEST_F(ProgramMenu, IndicesIdsAndLayout) {
  EXPECT_EQ(empty->Handle(), nullptr) << "an empty template makes no HMENU";
  EXPECT_EQ(GetMenu(form->Handle()), nullptr) << "so the window gets no menu bar";
  ASSERT_EQ(menu->ItemCount(), 18);
  for (int i = 0; i < 18; ++i) {
    EXPECT_EQ(menu->ItemAt(i)->CommandId(), 4096u + i) << "index " << i;
    EXPECT_EQ(menu->ItemAt(4096 + i), menu->ItemAt(i)) << "command id " << 4096 + i;
  }
  EXPECT_EQ(menu->ItemAt(-1), menu);
  EXPECT_EQ(menu->ItemAt(18), nullptr);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 12) << "top level: 0 1 2 5 6 7 8 9 14 15 16 17";
  EXPECT_EQ(GetMenuItemCount(menu->ItemAt(2)->Handle()), 2);
  EXPECT_EQ(GetMenuItemCount(sub9), 4);
  char text[64] = {};
  GetMenuStringA(sub9, 4096 + 10, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "About\tF1");
  GetMenuStringA(menu->Handle(), 4096 + 7, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "ShowGraph") << "the check marker is not shown";
  EXPECT_TRUE(State(7) & MF_CHECKED);
  EXPECT_TRUE(State(8) & MF_CHECKED);
  EXPECT_FALSE(State(6) & MF_CHECKED);
  EXPECT_TRUE(State(1) & MF_SEPARATOR);
  EXPECT_TRUE(State(12) & MF_SEPARATOR);
  EXPECT_EQ(menu->ItemAt(13)->ParentItem(), menu->ItemAt(9));
}

TEST_F(ProgramMenu, ChoosingACheckedItemUnchecksItBeforeItsEvent) {
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(7), 0), 0);
  ASSERT_EQ(chosen.indices, std::vector<int>{7});
  EXPECT_FALSE(chosen.checkedWhenRaised[0]) << "the handler sees the new state";
  EXPECT_FALSE(State(7) & MF_CHECKED);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(7), 0), 0);
  EXPECT_TRUE(chosen.checkedWhenRaised[1]);
  EXPECT_TRUE(State(7) & MF_CHECKED);

  // A plain item is not toggled; an item with its own event skips the menu's.
  int own = 0;
  menu->SetItemEvents(3, {{[](void* d, TMenuObject*, int i) { *static_cast<int*>(d) = i; }, &own}});
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(3), 0), 0);
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(6), 0), 0);
  EXPECT_EQ(own, 3);
  EXPECT_EQ(chosen.indices, (std::vector<int>{7, 7, 6}));
  EXPECT_FALSE(State(6) & MF_CHECKED);

  // Commands from a control (lParam) or of an unknown id are not the menu's.
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(Id(6), 0), reinterpret_cast<LPARAM>(form->Handle()));
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(60000, 0), 0);
  EXPECT_EQ(chosen.indices.size(), 3u);
}

TEST_F(ProgramMenu, F1ReachesAboutThroughTheAcceleratorTable) {
  menu->SetItemAccelerator(10, FVIRTKEY, VK_F1);
  EXPECT_EQ(menu->ItemAt(10)->Accelerator(), 0x7001u);
  ASSERT_NE(form->AcceleratorTable(), nullptr);
  EXPECT_EQ(CopyAcceleratorTableA(form->AcceleratorTable(), nullptr, 0), 1);
  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F1, 0x003B0001);
  ASSERT_EQ(chosen.indices, std::vector<int>{10});
  bool sawAccelerator = false;
  for (WPARAM w : chosen.commandWParams)
    sawAccelerator = sawAccelerator || (LOWORD(w) == Id(10) && HIWORD(w) == 1);
  EXPECT_TRUE(sawAccelerator) << "WM_COMMAND with high word 1";

  SendMessageA(form->Handle(), WM_KEYDOWN, VK_F2, 0x003C0001);
  EXPECT_EQ(chosen.indices.size(), 1u) << "other keys are no command";
}

TEST_F(ProgramMenu, HiddenItemsStateWordsAndDefault) {
  menu->SetItemVisible(15, false);
  menu->SetItemVisible(16, false);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 10);
  menu->SetItemVisible(15, true);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 11);
  EXPECT_EQ(GetMenuItemID(menu->Handle(), 9), Id(15)) << "shown again at its place, before Quit";
  EXPECT_EQ(GetMenuItemID(menu->Handle(), 10), Id(17));

  // Hiding a submenu item keeps its submenu alive for when it comes back.
  menu->SetItemVisible(9, false);
  EXPECT_TRUE(IsMenu(sub9));
  menu->SetItemVisible(9, true);
  EXPECT_EQ(GetSubMenu(menu->Handle(), 7), sub9);

  menu->SetItemEnabled(0, false);
  EXPECT_TRUE(State(0) & MF_GRAYED);
  EXPECT_FALSE(menu->ItemEnabled(0));
  menu->SetItemEnabled(0, true);
  EXPECT_FALSE(State(0) & (MF_GRAYED | MF_DISABLED));
  menu->SetItemDefault(7, true);
  EXPECT_EQ(GetMenuDefaultItem(menu->Handle(), FALSE, 0), Id(7));
  menu->SetItemChecked(8, false);
  EXPECT_FALSE(State(8) & MF_CHECKED);
  EXPECT_FALSE(menu->ItemChecked(8));
}

TEST(Menu, RadioGroupsSelectWithinTheirRun) {
  TWindowObject* form = CreateForm(nullptr, "radio");
  BuildMenu(form, {}, nullptr, nullptr);
  TMenuObject* menu = BuildMenu(form, {"-!A", "-!B", "+!C", "-!!D", "+!E"}, nullptr, nullptr);
  auto checked = [&](int i) {
    return (GetMenuState(menu->Handle(), menu->ItemAt(i)->CommandId(), MF_BYCOMMAND) & MF_CHECKED) != 0;
  };
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(menu->ItemAt(0)->CommandId(), 0), 0);
  const bool expected[] = {true, false, false, false, true};
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(checked(i), expected[i]) << "item " << i;
    EXPECT_EQ(menu->ItemChecked(i), expected[i]) << "state word of item " << i;
  }
  SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(menu->ItemAt(0)->CommandId(), 0), 0);
  EXPECT_TRUE(checked(0)) << "choosing the selected radio item keeps it selected";
  Release(form);
}

struct PopupLog {
  TWindowObject* form = nullptr;
  bool visibleDuring = false;
  int topDuring = 0;
  bool raised = false;
};
PopupLog* g_popup = nullptr;

void CALLBACK CloseMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EndMenu();
}

TEST(Menu, PopupOnAHiddenFormHidesItAgainAtItsPlace) {
  TWindowObject* form = CreateForm(nullptr, "popup");
  form->SetHasCaption(false);
  form->SetPosition(150, 160);
  form->SetClientSize(90, 70);
  form->Hide();
  ASSERT_FALSE(form->Visible());
  const int width = form->Width(), height = form->Height();
  BuildMenu(form, {}, nullptr, nullptr);
  TMenuObject* menu = BuildMenu(form, {"One", "Two"}, nullptr, nullptr);
  PopupLog log;
  log.form = form;
  g_popup = &log;
  menu->SetOnBeforePopup([](void*, TMenuObject*) {
    g_popup->raised = true;
    g_popup->visibleDuring = g_popup->form->Visible();
    g_popup->topDuring = g_popup->form->Top();
  }, nullptr);
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  menu->Popup(400, 400);
  EXPECT_TRUE(log.raised);
  EXPECT_TRUE(log.visibleDuring) << "the form is shown so that it can be the foreground window";
  EXPECT_EQ(log.topDuring, GetSystemMetrics(SM_CYSCREEN) + 50) << "below the screen";
  EXPECT_FALSE(form->Visible());
  EXPECT_EQ(form->Left(), 150);
  EXPECT_EQ(form->Top(), 160);
  EXPECT_EQ(form->Width(), width);
  EXPECT_EQ(form->Height(), height);

  // A visible form stays where it is and stays visible.
  form->Show();
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  menu->Popup(400, 400);
  EXPECT_EQ(log.topDuring, 160);
  EXPECT_TRUE(form->Visible());

  // The context menu opens from WM_CONTEXTMENU, also from the keyboard.
  form->SetPopupMenu(menu);
  SetTimer(nullptr, 0, 300, &CloseMenuSoon);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(form->Handle()), -1), 0);
  g_popup = nullptr;
  Release(form);
}

TEST(Menu, MenuBarsAndManyMenusLeaveNoHandles) {
  const long user = tk::LiveUserHandles();
  for (int i = 0; i < 30; ++i) {
    TWindowObject* form = CreateForm(nullptr, "many menus");
    TMenuObject* bar = BuildMenu(form, {"File", "(", "Open", "-", "Exit", ")"}, nullptr, nullptr);
    EXPECT_EQ(GetMenu(form->Handle()), bar->Handle()) << "the first menu with items is the menu bar";
    TMenuObject* popup = BuildMenu(form, kProgramMenu, nullptr, nullptr);
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
