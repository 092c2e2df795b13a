// Forms on real windows: placement, the handler chain, painting, alpha, mouse events.
#include "toolkit/DrawCanvas.h"
#include "toolkit/WindowObject.h"
#include "support/WineTest.h"
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include <vector>

using namespace tk;

namespace {

std::vector<std::string> g_calls;

TEST(Form, PlacementStylesAndSizeLimits) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "placement"));
  form->SetPosition(546, 205);
  ASSERT_EQ(form->HandleIfCreated(), nullptr) << "setting the position does not create the window";
  RECT r{};
  GetWindowRect(form->Handle(), &r);
  EXPECT_TRUE(r.left == 546 && r.top == 205 && r.right > r.left && r.bottom > r.top)
      << "created where it was placed, a size of 0 the system's default";
  form->SetClientSize(263, 174);
  GetClientRect(form->Handle(), &r);
  EXPECT_EQ(std::tuple(r.right, r.bottom, form->Left(), GetClassLongA(form->Handle(), GCL_STYLE) & CS_DBLCLKS),
            std::tuple(263L, 174L, 546, DWORD{CS_DBLCLKS})) << "client size; left kept; double clicks reach the form";

  form.reset(CreateForm(nullptr, "props"));
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

TEST(Form, HandlerChainNewestFirstAttachedOnce) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "chain"));
  const TMessageHandler first = [](TWindowObject*, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_APP) g_calls.push_back("first");
    return false;
  };
  form->AttachHandler(first);
  form->AttachHandler([](TWindowObject*, TMessageRecord& m, LRESULT& r) {
    if (m.Msg == WM_APP) g_calls.push_back("second");
    r = 42;
    return m.Msg == WM_APP && m.WParam == 1;
  });
  form->AttachHandler(first);  // already there: not attached again
  EXPECT_EQ(form->Perform(WM_APP, 0, 0) * 100 + form->Perform(WM_APP, 1, 0), 42);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"second", "first", "second"})) << "newest first, once each";
  form->SetOnMessage([](void*, TWindowObject*, TMessageRecord& m, LRESULT& r) {
    r = 7;
    return m.Msg == WM_APP;
  }, nullptr);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_APP, 1, 0), 7);
  EXPECT_EQ(g_calls.size(), 3u) << "OnMessage comes before the chain";
}

TEST(Form, DoubleBufferedPaintGetsMemoryDcAndEraseDoesNothing) {
  struct PaintLog { DWORD dcType = 0; bool canvasOnPaintDc = false; } log;
  TOwned<TWindowObject> form(CreateForm(nullptr, "buffered"));
  form->SetPosition(100, 100);
  form->SetHasCaption(false);
  form->SetDoubleBuffered(true);
  form->SetOnPaint([](void* d, TWindowObject* w, HDC dc) {
    *static_cast<PaintLog*>(d) = {GetObjectType(dc), w->Canvas()->Handle() == dc};
    RECT r{0, 0, 40, 30};
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }, &log);
  // A handler attached later must not get in front of the buffer.
  form->AttachHandler([](TWindowObject*, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_ERASEBKGND && GetObjectType(reinterpret_cast<HDC>(m.WParam)) != OBJ_MEMDC)
      g_calls.push_back("erase");
    return false;
  });
  form->SetClientSize(80, 60);
  form->Show();
  g_calls.clear();
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  EXPECT_EQ(std::tuple(log.dcType, log.canvasOnPaintDc, form->PaintDC(), GetObjectType(form->Canvas()->Handle())),
            std::tuple(DWORD(OBJ_MEMDC), true, HDC{}, DWORD(OBJ_DC)))
      << "OnPaint and the canvas draw into the buffer; outside OnPaint the canvas is on the window";
  TScopedGetDC screen(form->Handle());
  EXPECT_EQ(std::tuple(GetPixel(screen.get(), 39, 29), GetPixel(screen.get(), 79, 59), GetPixel(screen.get(), 40, 5)),
            std::tuple(COLORREF{0}, GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)))
      << "the buffer covers the client area; the form background fills the rest";
  // An erase sent by the system, into a DC we can read back.
  TOwned<TDrawBitmap> probe(CreateDrawBitmap(8, 8));
  HDC dc = probe->Canvas()->Handle();
  SetPixel(dc, 2, 2, RGB(0, 0, 255));
  EXPECT_NE(SendMessageA(form->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 255)) << "nothing erased";
  EXPECT_TRUE(g_calls.empty()) << "an erase reached the chain before the buffer";
}

TEST(Form, AlphaSetsAndClearsLayering) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "alpha"));
  HWND wnd = form->Handle();
  std::vector<int> seen;  // the layered alpha, -1 when not layered
  for (int a : {254, 255, 200, 200}) {
    if (seen.size() == 3) SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    form->SetAlpha(a);  // the same value again does nothing
    BYTE alpha = 0;
    DWORD flags = 0;
    if (!(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED)) seen.push_back(-1);
    else seen.push_back(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags) && flags == LWA_ALPHA ? alpha : -2);
  }
  EXPECT_EQ(seen, (std::vector<int>{254, -1, 200, -1}));
}

TEST(Form, MouseEventsAndLeaveOnce) {
  using TRecords = std::vector<std::tuple<char, UINT, int, int, int>>;  // event, shift, button, x, y
  struct TSink { TRecords* records; char event; };
  TRecords records;
  TSink down{&records, 'd'}, up{&records, 'u'}, dbl{&records, '2'};
  int leaves = 0;
  TOwned<TWindowObject> form(CreateForm(nullptr, "mouse"));
  form->SetPosition(200, 200);
  form->SetHasCaption(false);
  form->SetOnMouseLeave([](void* d, TWindowObject*) { ++*static_cast<int*>(d); }, &leaves);
  const TMouseEvent note = [](void* d, TWindowObject*, const TMouseRecord& m) {
    auto* sink = static_cast<TSink*>(d);
    sink->records->emplace_back(sink->event, UINT(m.Shift), m.Button, m.X, m.Y);
  };
  form->SetOnMouseDown(note, &down);
  form->SetOnMouseUp(note, &up);
  form->SetOnMouseDblClk(note, &dbl);
  form->SetClientSize(100, 80);
  form->Show();
  HWND wnd = form->Handle();
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  const auto moveTo = [&](int x, int y) {
    SetCursorPos(origin.x + x, origin.y + y);
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
    return leaves;
  };
  const auto leave = [&] { return SendMessageA(wnd, WM_MOUSELEAVE, 0, 0), leaves; };
  const std::vector<int> seen{moveTo(50, 40), moveTo(400, 400), leave(), moveTo(10, 10), leave(), leave()};
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 1, 1, 2, 2})) << "moving out, or WM_MOUSELEAVE while inside, raises it once";
  // Coordinates are signed: a captured mouse reports points left of and above the window.
  SendMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-5, -7));
  SendMessageA(wnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 4));
  SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2));
  EXPECT_EQ(records, (TRecords{{'d', MK_RBUTTON, 2, -5, -7}, {'u', 0, 3, 3, 4}, {'2', MK_LBUTTON, 1, 1, 2}}));
}

TEST(Form, ReleasedInsideItsOwnHandlerAndManyLeaveNoHandles) {
  TWindowObject* self = CreateForm(nullptr, "self-release");
  self->SetOnMessage([](void*, TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_APP) Release(w);
    return false;
  }, nullptr);
  std::vector<HWND> made{self->Handle()};
  SendMessageA(made[0], WM_APP, 0, 0);
  const THandleBaseline before;
  for (int i = 0; i < 4; ++i) {
    TWindowObject* form = CreateForm(nullptr, "many");
    form->SetDoubleBuffered(true);
    form->SetOnPaint([](void*, TWindowObject*, HDC) {}, nullptr);
    form->SetOnMouseLeave([](void*, TWindowObject*) {}, nullptr);
    form->SetIcon(MakeIcon());
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

}  // namespace
