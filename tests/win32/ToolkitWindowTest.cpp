// Forms on real windows: placement, the handler chain, painting, alpha, mouse events.
#include "toolkit/DrawCanvas.h"
#include "toolkit/WindowObject.h"
#include "support/ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

std::vector<std::string> g_calls;

TEST(Form, PlacementStylesAndSizeLimits) {
  TWindowObject* form = CreateForm(nullptr, "placement");
  form->SetPosition(546, 205);
  ASSERT_EQ(form->HandleIfCreated(), nullptr) << "setting the position does not create the window";
  HWND wnd = form->Handle();
  RECT r{};
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r.left * 1000 + r.top, 546205) << "created where it was placed";
  EXPECT_TRUE(r.right - r.left > 0 && r.bottom - r.top > 0) << "a size of 0 becomes the system's default";
  form->SetClientSize(263, 174);
  GetClientRect(wnd, &r);
  EXPECT_EQ(r.right * 1000 + r.bottom, 263174) << "exactly the client size asked for";
  EXPECT_EQ(form->Left(), 546) << "resizing keeps the position";
  EXPECT_TRUE(GetClassLongA(wnd, GCL_STYLE) & CS_DBLCLKS) << "double clicks reach the form";
  Release(form);
  EXPECT_FALSE(IsWindow(wnd)) << "the object destroys its window";

  form = CreateForm(nullptr, "props");
  form->SetHasCaption(false);
  form->SetStayOnTop(true);
  form->SetVisible(false);
  form->SetSizeLimit(tk::TSizeLimit::MinWidth, 30);
  form->SetSizeLimit(tk::TSizeLimit::MaxHeight, 180);
  wnd = form->Handle();
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE)) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
            static_cast<DWORD>(WS_POPUP)) << "set before creation: a hidden popup";
  EXPECT_TRUE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) << "stay on top, set before creation";
  MINMAXINFO info{};
  SendMessageA(wnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x * 1000 + info.ptMaxTrackSize.y, 30180) << "minimum width 30, maximum height 180";
  form->SetStayOnTop(false);
  EXPECT_FALSE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) << "cleared on the live window";
  int events[2] = {0, 0};
  form->SetOnResize([](void* d, TWindowObject*) { ++static_cast<int*>(d)[0]; }, events);
  form->SetOnMove([](void* d, TWindowObject*) { ++static_cast<int*>(d)[1]; }, events);
  form->SetLeft(120);
  form->SetWidth(150);
  EXPECT_TRUE(events[0] >= 1 && events[1] >= 1) << "OnResize " << events[0] << ", OnMove " << events[1];
  Release(form);
}

TEST(Form, HandlerChainNewestFirstAttachedOnce) {
  TWindowObject* form = CreateForm(nullptr, "chain");
  const TMessageHandler first = [](TWindowObject*, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_APP + 1) g_calls.push_back("first");
    return false;
  };
  const size_t base = form->HandlerCount();
  form->AttachHandler(first);
  form->AttachHandler([](TWindowObject*, TMessageRecord& m, LRESULT& r) {
    if (m.Msg != WM_APP + 1) return false;
    g_calls.push_back("second");
    r = 42;
    return m.WParam == 1;
  });
  form->AttachHandler(first);
  EXPECT_EQ(form->HandlerCount(), base + 2) << "the same handler is attached once";
  g_calls.clear();
  form->Perform(WM_APP + 1, 0, 0);
  EXPECT_EQ(form->Perform(WM_APP + 1, 1, 0), 42);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"second", "first", "second"})) << "newest first; taking ends the walk";

  form->SetOnMessage([](void*, TWindowObject*, TMessageRecord& m, LRESULT& r) {
    r = 7;
    return m.Msg == WM_APP + 1;
  }, nullptr);
  g_calls.clear();
  EXPECT_EQ(SendMessageA(form->Handle(), WM_APP + 1, 1, 0), 7);
  EXPECT_TRUE(g_calls.empty()) << "OnMessage comes before the chain";
  Release(form);
}

TEST(Form, DoubleBufferedPaintGetsMemoryDcAndEraseDoesNothing) {
  struct PaintLog { DWORD dcType = 0; bool canvasOnPaintDc = false; } log;
  TWindowObject* form = CreateForm(nullptr, "buffered");
  form->SetPosition(100, 100);
  form->SetHasCaption(false);
  form->SetDoubleBuffered(true);
  form->SetOnPaint([](void* d, TWindowObject* w, HDC dc) {
    *static_cast<PaintLog*>(d) = {GetObjectType(dc), w->Canvas()->Handle() == dc};
    RECT r{0, 0, 40, 30};
    tk::unique_hbrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FillRect(dc, &r, red.get());
  }, &log);
  // A handler attached later must not get in front of the buffer.
  form->AttachHandler([](TWindowObject*, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_ERASEBKGND && m.WParam && GetObjectType(reinterpret_cast<HDC>(m.WParam)) != OBJ_MEMDC)
      g_calls.push_back("erase reached the chain");
    return false;
  });
  form->SetClientSize(80, 60);
  form->Show();
  g_calls.clear();
  InvalidateRect(form->Handle(), nullptr, TRUE);
  UpdateWindow(form->Handle());
  PumpFor();
  EXPECT_EQ(log.dcType, static_cast<DWORD>(OBJ_MEMDC)) << "OnPaint draws into the buffer";
  EXPECT_TRUE(log.canvasOnPaintDc) << "the canvas draws on the buffer during OnPaint";
  EXPECT_EQ(form->PaintDC(), nullptr) << "the paint DC is only set during the event";
  EXPECT_EQ(GetObjectType(form->Canvas()->Handle()), static_cast<DWORD>(OBJ_DC)) << "outside it, on the window";
  {
    tk::TScopedGetDC screen(form->Handle());
    EXPECT_EQ(GetPixel(screen.get(), 5, 5), RGB(255, 0, 0)) << "the buffer reaches the window";
    EXPECT_EQ(GetPixel(screen.get(), 60, 50), GetSysColor(COLOR_BTNFACE)) << "the form background fills the rest";
  }
  // An erase sent by the system, into a DC we can read back.
  tk::TScopedGetDC screen(nullptr);
  tk::unique_hdc mem(CreateCompatibleDC(screen.get()));
  tk::unique_hbitmap bmp(CreateCompatibleBitmap(screen.get(), 8, 8));
  tk::TScopedSelect sel(mem.get(), bmp.get());
  SetPixel(mem.get(), 2, 2, RGB(0, 0, 255));
  EXPECT_NE(SendMessageA(form->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.get()), 0), 0);
  EXPECT_EQ(GetPixel(mem.get(), 2, 2), RGB(0, 0, 255)) << "nothing erased";
  EXPECT_TRUE(g_calls.empty()) << g_calls.front();
  Release(form);
}

TEST(Form, AlphaSetsAndClearsLayering) {
  TWindowObject* early = CreateForm(nullptr, "alpha");
  early->SetAlpha(128);  // applied when the window is made
  TWindowObject* form = CreateForm(nullptr, "alpha");
  HWND wnd = form->Handle();
  auto alpha = [](HWND w) {
    BYTE a = 0;
    DWORD flags = 0;
    if (!(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
    return GetLayeredWindowAttributes(w, nullptr, &a, &flags) && (flags & LWA_ALPHA) ? int{a} : -2;
  };
  EXPECT_EQ(alpha(early->Handle()), 128) << "a value given before creation";
  form->SetAlpha(254);
  EXPECT_EQ(alpha(wnd), 254) << "254 sets the layering";
  form->SetAlpha(255);
  EXPECT_EQ(alpha(wnd), -1) << "255 removes it";
  form->SetAlpha(200);
  SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  form->SetAlpha(200);
  EXPECT_EQ(alpha(wnd), -1) << "the same value again does nothing";
  Release(form);
  Release(early);
}

TEST(Form, MouseEventsAndLeaveOnce) {
  struct MouseLog { int leaves = 0; std::vector<TMouseRecord> records; } log;
  TWindowObject* form = CreateForm(nullptr, "mouse");
  form->SetPosition(200, 200);
  form->SetHasCaption(false);
  form->SetOnMouseLeave([](void* d, TWindowObject*) { ++static_cast<MouseLog*>(d)->leaves; }, &log);
  auto note = [](void* d, TWindowObject*, const TMouseRecord& m) { static_cast<MouseLog*>(d)->records.push_back(m); };
  form->SetOnMouseDown(note, &log);
  form->SetOnMouseUp(note, &log);
  form->SetClientSize(100, 80);
  form->Show();
  HWND wnd = form->Handle();
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  auto moveTo = [&](int x, int y) {
    SetCursorPos(origin.x + x, origin.y + y);
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
  };
  moveTo(50, 40);
  EXPECT_EQ(log.leaves, 0);
  moveTo(400, 400);
  EXPECT_EQ(log.leaves, 1) << "leaving the client area raises OnMouseLeave";
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  PumpFor(100);
  EXPECT_EQ(log.leaves, 1) << "only once";
  moveTo(10, 10);
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(log.leaves, 2) << "WM_MOUSELEAVE while inside raises it once";

  // Coordinates are signed: a captured mouse reports points left of and above the window.
  SendMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-5, -7));
  SendMessageA(wnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 4));
  ASSERT_EQ(log.records.size(), 2u);
  const TMouseRecord& down = log.records[0];
  EXPECT_EQ(std::vector<int>({down.Button, down.X, down.Y, int(down.Shift & MK_RBUTTON), log.records[1].Button}),
            std::vector<int>({2, -5, -7, MK_RBUTTON, 3}));
  Release(form);
}

TEST(Form, ReleasedInsideItsOwnHandlerAndManyLeaveNoHandles) {
  TWindowObject* self = CreateForm(nullptr, "self-release");
  self->SetOnMessage([](void*, TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_APP + 9) Release(w);
    return false;
  }, nullptr);
  HWND selfWnd = self->Handle();
  SendMessageA(selfWnd, WM_APP + 9, 0, 0);
  EXPECT_FALSE(IsWindow(selfWnd));

  const long gdi = tk::LiveGdiHandles(), user = tk::LiveUserHandles();
  std::vector<HWND> made;
  for (int i = 0; i < 40; ++i) {
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
  EXPECT_EQ(tk::LiveGdiHandles(), gdi);
  EXPECT_EQ(tk::LiveUserHandles(), user);
  for (HWND w : made) EXPECT_FALSE(IsWindow(w));
}

}  // namespace
