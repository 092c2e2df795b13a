// Forms on real windows (styles, painting, alpha, teardown), the program's menu on a real
// form, and the media timer posting to the loop.
#include "app/Commands.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/MediaTimer.h"
#include "toolkit/MenuObject.h"
#include "toolkit/WindowObject.h"
#include "support/WineTest.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace tk;

namespace {

TEST(Form, StylesAndSizeLimits) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "props"));
  form->SetHasCaption(false);
  form->SetStayOnTop(true);
  form->SetVisible(false);
  form->SetSizeLimit(TSizeLimit::MinWidth, 30);
  form->SetSizeLimit(TSizeLimit::MaxHeight, 180);
  HWND wnd = form->Handle();
  MINMAXINFO info{};
  SendMessageA(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(std::tuple(GetWindowLongA(wnd, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
                       GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST, info.ptMinTrackSize.x, info.ptMaxTrackSize.y),
            std::tuple(LONG(WS_POPUP), LONG{WS_EX_TOPMOST}, 30L, 180L))
      << "a hidden topmost popup, set before creation; minimum width 30, maximum height 180";
  form->SetStayOnTop(false);
  int events[2] = {0, 0};
  form->SetOnResize([](void* d, TWindowObject*) { ++static_cast<int*>(d)[0]; }, events);
  form->SetOnMove([](void* d, TWindowObject*) { ++static_cast<int*>(d)[1]; }, events);
  form->SetLeft(120);
  form->SetWidth(150);
  EXPECT_TRUE(!(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) && events[0] >= 1 && events[1] >= 1)
      << "topmost cleared on the live window; OnResize " << events[0] << ", OnMove " << events[1];
}

TEST(Form, DoubleBufferedPaintCoversTheClientAreaAndEraseDoesNothing) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "buffered"));
  form->SetPosition(100, 100);
  form->SetHasCaption(false);
  form->SetDoubleBuffered(true);
  form->SetOnPaint([](void*, TWindowObject*, HDC dc) {
    RECT r{0, 0, 40, 30};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }, nullptr);
  form->SetClientSize(80, 60);
  form->Show();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  TScopedGetDC screen(form->Handle());
  EXPECT_EQ(std::tuple(GetPixel(screen.get(), 39, 29), GetPixel(screen.get(), 79, 59), GetPixel(screen.get(), 40, 5)),
            std::tuple(COLORREF{0}, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)))
      << "the buffer covers the client area; the form background fills the rest";
  // An erase sent by the system, into a DC we can read back.
  TOwned<TDrawBitmap> probe(CreateDrawBitmap(8, 8));
  HDC dc = probe->Canvas()->Handle();
  SetPixel(dc, 2, 2, RGB(0, 0, 255));
  SendMessageA(form->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 255)) << "nothing erased";
}

TEST(Form, AlphaSetsAndClearsLayering) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "alpha"));
  HWND wnd = form->Handle();
  std::vector<int> seen;  // the layered alpha, -1 when not layered
  for (int a : {254, 255, 200}) {
    form->SetAlpha(a);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED)) seen.push_back(-1);
    else seen.push_back(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) && flags == LWA_ALPHA ? alpha : -2);
  }
  EXPECT_EQ(seen, (std::vector<int>{254, -1, 200}));
}

TEST(Form, ManyWithTheProgramsMenuLeaveNoHandles) {
  const THandleBaseline before;
  std::vector<HWND> made;
  for (int i = 0; i < 4; ++i) {
    TWindowObject* form = CreateForm(nullptr, "many");
    form->SetDoubleBuffered(true);
    form->SetOnPaint([](void*, TWindowObject*, HDC) {}, nullptr);
    form->SetOnMouseLeave([](void*, TWindowObject*) {}, nullptr);
    form->SetIcon(MakeIcon());
    BuildMenu(form, {});
    TMenuObject* menu = BuildMenu(form, StatsMenuTemplate());
    menu->SetItemAccelerator(static_cast<int>(TMenuCommand::About), FVIRTKEY, VK_F1);
    menu->SetItemVisible(static_cast<int>(TMenuCommand::NetworkConnections), false);
    CreateForm(form, "child")->Handle();
    form->Show();
    UpdateWindow(form->Handle());
    form->Canvas()->Handle();  // a window DC held by the canvas until the form dies
    made.push_back(form->Handle());
    if (i % 2) SendMessageA(form->Handle(), WM_CLOSE, 0, 0);  // the system destroys the window first
    Release(form);
  }
  PumpFor();
  EXPECT_EQ(before.Leaked(), "");
  for (HWND w : made) EXPECT_FALSE(IsWindow(w));
}

class ProgramMenu : public ::testing::Test {
protected:
  void SetUp() override {
    empty = BuildMenu(form.get(), {});
    menu = BuildMenu(form.get(), StatsMenuTemplate(), [](void* d, TMenuObject* menu, int index) {
      static_cast<ProgramMenu*>(d)->chosen.push_back(index * (menu->ItemChecked(index) ? -1 : 1));
    }, this);
  }

  UINT Id(int index) { return menu->ItemAt(index)->CommandId(); }
  UINT State(int index) {
    TMenuObject* parent = menu->ItemAt(index)->ParentItem();
    return GetMenuState(parent ? parent->Handle() : menu->Handle(), Id(index), MF_BYCOMMAND);
  }
  void Command(UINT id) { SendMessageA(form->Handle(), WM_COMMAND, id, 0); }

  TOwned<TWindowObject> form{CreateForm(nullptr, "menu host")};
  TMenuObject* empty = nullptr;
  TMenuObject* menu = nullptr;
  std::vector<int> chosen;  // index of each item chosen, negative when it was checked at its event
};

TEST_F(ProgramMenu, IndicesIdsAndLayout) {
  EXPECT_EQ(std::tuple(empty->Handle(), GetMenu(form->Handle())), std::tuple(HMENU{}, HMENU{}))
      << "an empty template makes no HMENU, so the window gets no menu bar";
  ASSERT_EQ(menu->ItemCount(), 20);
  std::string kinds;
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(Id(i) == Id(0) + i && menu->ItemAt(int(Id(i))) == menu->ItemAt(i)) << "ids in order, by id: " << i;
    const UINT state = State(i);
    kinds += state & MF_SEPARATOR ? '-' : state & MF_POPUP ? 's' : state & MF_CHECKED ? 'c' : '.';
  }
  EXPECT_EQ(kinds, ".-s..-.ccs..-.-.-.-.") << "separators, submenus, checked items";
  EXPECT_EQ(std::tuple(menu->ItemAt(20), GetMenuItemCount(menu->Handle())), std::tuple(nullptr, 14));
}

TEST_F(ProgramMenu, CommandsToggleChecksBeforeTheEvent) {
  Command(Id(7));
  Command(Id(7));
  Command(Id(6));
  EXPECT_EQ(chosen, (std::vector<int>{7, -7, 6})) << "ShowGraph seen unchecked, then checked";
  EXPECT_FALSE(State(6) & MF_CHECKED) << "a plain item is not toggled";
}

TEST_F(ProgramMenu, HiddenItemsAndStateWords) {
  menu->SetItemVisible(15, false), menu->SetItemVisible(16, false);
  EXPECT_EQ(GetMenuItemCount(menu->Handle()), 12) << "two items hidden";
  menu->SetItemEnabled(0, false), menu->SetItemDefault(7, true), menu->SetItemChecked(8, false);
  EXPECT_EQ(std::tuple(State(0) & MF_GRAYED, GetMenuDefaultItem(menu->Handle(), FALSE, 0), State(8) & MF_CHECKED),
            std::tuple(UINT(MF_GRAYED), Id(7), 0u));
}

TEST(MediaTimer, PostedToTheLoopAboutOncePerIntervalWithoutPilingUp) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "ticks"));
  form->SetVisible(false);
  static int ticks = 0;
  static DWORD thread = 0;
  TMediaTimer* timer = CreateMediaTimer(100);
  timer->SetOnTimer([](void*, TMediaTimer*) { ++ticks, thread = GetCurrentThreadId(); }, nullptr);
  timer->SetTargetWindow(form.get());
  timer->SetEnabled(true);
  PumpFor(1050);
  EXPECT_TRUE(ticks >= 6 && ticks <= 14 && thread == GetCurrentThreadId()) << ticks << " ticks in 1050 ms";
  ticks = 0;
  Sleep(600);
  EXPECT_EQ(ticks, 0) << "none while the loop is busy";
  PumpFor();
  EXPECT_EQ(ticks, 1) << "a stall of six periods delivers one tick";
  Sleep(250);
  Release(timer);
  PumpFor(100);
  EXPECT_EQ(ticks, 1) << "a tick still queued for a released timer is dropped";
}

}  // namespace
