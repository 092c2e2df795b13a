// Forms on real windows: placement, the handler chain, painting, alpha, mouse events.
#include "toolkit/DrawCanvas.h"
#include "toolkit/WindowObject.h"
#include "ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <windowsx.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

bool First(TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_APP + 1) g_calls.push_back("first");
  return false;
}
bool Second(TWindowObject*, TMessageRecord& m, LRESULT& r) {
  if (m.Msg != WM_APP + 1) return false;
  g_calls.push_back("second");
  if (m.WParam == 1) { r = 42; return true; }
  return false;
}

TEST(Form, PlacedBeforeCreationThenClientSized) {
  TWindowObject* form = CreateForm(nullptr, "placement");
  form->SetPosition(546, 205);
  ASSERT_EQ(form->HandleIfCreated(), nullptr) << "setting the position does not create the window";
  HWND wnd = form->Handle();
  ASSERT_NE(wnd, nullptr);
  RECT r{};
  GetWindowRect(wnd, &r);
  EXPECT_EQ(r.left, 546);
  EXPECT_EQ(r.top, 205);
  EXPECT_GT(r.right - r.left, 0) << "a width of 0 becomes the system's default";
  EXPECT_GT(r.bottom - r.top, 0);

  form->SetClientSize(263, 174);
  RECT c{};
  GetClientRect(wnd, &c);
  EXPECT_EQ(c.right, 263);
  EXPECT_EQ(c.bottom, 174);
  EXPECT_EQ(form->ClientWidth(), 263);
  EXPECT_EQ(form->Left(), 546) << "resizing keeps the position";

  char cls[32] = {};
  GetClassNameA(wnd, cls, sizeof cls);
  EXPECT_STREQ(cls, "obj_Form");
  EXPECT_TRUE(GetClassLongA(wnd, GCL_STYLE) & CS_DBLCLKS);
  Release(form);
  EXPECT_FALSE(IsWindow(wnd)) << "the object destroys its window";
}

TEST(Form, PropertiesBeforeAndAfterCreation) {
  TWindowObject* form = CreateForm(nullptr, "props");
  form->SetHasCaption(false);
  form->SetStayOnTop(true);
  form->SetVisible(false);
  HWND wnd = form->Handle();
  const DWORD style = GetWindowLongA(wnd, GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & WS_SYSMENU);
  EXPECT_EQ(style & WS_CAPTION, 0u);
  EXPECT_FALSE(IsWindowVisible(wnd));
  EXPECT_TRUE(form->StayOnTop());
  form->SetStayOnTop(false);
  EXPECT_FALSE(form->StayOnTop());
  form->SetCaption("renamed");
  char text[32] = {};
  GetWindowTextA(wnd, text, sizeof text);
  EXPECT_STREQ(text, "renamed");
  form->Show();
  EXPECT_TRUE(form->Visible());
  form->Hide();
  EXPECT_FALSE(form->Visible());
  Release(form);
}

TEST(Form, HandlerChainNewestFirstAttachedOnce) {
  TWindowObject* form = CreateForm(nullptr, "chain");
  const size_t base = form->HandlerCount();
  form->AttachHandler(&First);
  form->AttachHandler(&Second);
  form->AttachHandler(&First);
  EXPECT_EQ(form->HandlerCount(), base + 2) << "the same handler is attached once";

  g_calls.clear();
  form->Perform(WM_APP + 1, 0, 0);
  EXPECT_EQ(g_calls, (std::vector<std::string>{"second", "first"}));

  g_calls.clear();
  EXPECT_EQ(form->Perform(WM_APP + 1, 1, 0), 42);
  EXPECT_EQ(g_calls, std::vector<std::string>{"second"}) << "a handler that takes the message ends the walk";

  // OnMessage comes before the chain.
  form->SetOnMessage([](void*, TWindowObject*, TMessageRecord& m, LRESULT& r) {
    if (m.Msg != WM_APP + 1) return false;
    r = 7;
    return true;
  }, nullptr);
  g_calls.clear();
  EXPECT_EQ(SendMessageA(form->Handle(), WM_APP + 1, 1, 0), 7);
  EXPECT_TRUE(g_calls.empty());
  Release(form);
}

struct PaintLog {
  bool canvasOnPaintDc = false;
  int paints = 0;
  DWORD dcType = 0;
  HDC dc = nullptr;
};

TEST(Form, DoubleBufferedPaintGetsMemoryDcAndEraseDoesNothing) {
  TWindowObject* form = CreateForm(nullptr, "buffered");
  PaintLog log;
  form->SetPosition(100, 100);
  form->SetHasCaption(false);
  form->SetDoubleBuffered(true);
  form->SetOnPaint([](void* d, TWindowObject* w, HDC dc) {
    auto* l = static_cast<PaintLog*>(d);
    ++l->paints;
    l->dcType = GetObjectType(dc);
    l->dc = dc;
    l->canvasOnPaintDc = w->Canvas()->Handle() == dc;
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
  PumpMessages();
  ASSERT_GE(log.paints, 1);
  EXPECT_EQ(log.dcType, static_cast<DWORD>(OBJ_MEMDC)) << "OnPaint draws into the buffer";
  EXPECT_EQ(form->PaintDC(), nullptr) << "the paint DC is only set during the event";
  EXPECT_TRUE(log.canvasOnPaintDc) << "the canvas draws on the buffer during OnPaint";
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
  {
    tk::TScopedSelect sel(mem.get(), bmp.get());
    SetPixel(mem.get(), 2, 2, RGB(0, 0, 255));
    EXPECT_NE(SendMessageA(form->Handle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.get()), 0), 0);
    EXPECT_EQ(GetPixel(mem.get(), 2, 2), RGB(0, 0, 255)) << "nothing erased";
  }
  EXPECT_TRUE(g_calls.empty()) << g_calls.front();

  // Without double buffering OnPaint gets the window's paint DC.
  TWindowObject* plain = CreateForm(nullptr, "plain");
  PaintLog plainLog;
  plain->SetOnPaint([](void* d, TWindowObject* w, HDC dc) {
    static_cast<PaintLog*>(d)->dcType = GetObjectType(dc);
    static_cast<PaintLog*>(d)->dc = w->PaintDC();
  }, &plainLog);
  plain->Show();
  InvalidateRect(plain->Handle(), nullptr, TRUE);
  UpdateWindow(plain->Handle());
  EXPECT_EQ(plainLog.dcType, static_cast<DWORD>(OBJ_DC));
  EXPECT_NE(plainLog.dc, nullptr);
  Release(plain);
  Release(form);
}

TEST(Form, AlphaSetsAndClearsLayering) {
  TWindowObject* form = CreateForm(nullptr, "alpha");
  HWND wnd = form->Handle();
  auto layered = [&] { return (GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };

  form->SetAlpha(254);
  ASSERT_TRUE(layered());
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(wnd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 254);
  EXPECT_TRUE(flags & LWA_ALPHA);

  form->SetAlpha(255);
  EXPECT_FALSE(layered()) << "255 removes the layering";

  form->SetAlpha(200);
  SetWindowLongA(wnd, GWL_EXSTYLE, GetWindowLongA(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  form->SetAlpha(200);
  EXPECT_FALSE(layered()) << "the same value again does nothing";
  Release(form);

  // A value given before the window exists is applied when it is made.
  TWindowObject* early = CreateForm(nullptr, "early");
  early->SetAlpha(128);
  HWND w2 = early->Handle();
  EXPECT_TRUE(GetWindowLongA(w2, GWL_EXSTYLE) & WS_EX_LAYERED);
  ASSERT_TRUE(GetLayeredWindowAttributes(w2, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  Release(early);
}

struct MouseLog {
  int leaves = 0;
  std::vector<TMouseRecord> records;
};

TEST(Form, MouseEventsAndLeaveOnce) {
  TWindowObject* form = CreateForm(nullptr, "mouse");
  MouseLog log;
  form->SetPosition(200, 200);
  form->SetHasCaption(false);
  form->SetOnMouseLeave([](void* d, TWindowObject*) { ++static_cast<MouseLog*>(d)->leaves; }, &log);
  auto note = [](void* d, TWindowObject*, const TMouseRecord& m) { static_cast<MouseLog*>(d)->records.push_back(m); };
  form->SetOnMouseDown(note, &log);
  form->SetOnMouseUp(note, &log);
  form->SetOnMouseMove(note, &log);
  form->SetClientSize(100, 80);
  form->Show();
  HWND wnd = form->Handle();
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);

  SetCursorPos(origin.x + 50, origin.y + 40);
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(50, 40));
  EXPECT_EQ(log.leaves, 0);
  SetCursorPos(origin.x + 400, origin.y + 400);
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(400, 400));
  EXPECT_EQ(log.leaves, 1) << "leaving the client area raises OnMouseLeave";
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  PumpFor(100);
  EXPECT_EQ(log.leaves, 1) << "only once";

  SetCursorPos(origin.x + 10, origin.y + 10);
  SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  SendMessageA(wnd, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(log.leaves, 2) << "WM_MOUSELEAVE while inside raises it once";

  // Coordinates are signed: a captured mouse reports points left of and above the window.
  log.records.clear();
  SendMessageA(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-5, -7));
  SendMessageA(wnd, WM_MBUTTONUP, 0, MAKELPARAM(3, 4));
  ASSERT_EQ(log.records.size(), 2u);
  EXPECT_EQ(log.records[0].Button, 2);
  EXPECT_EQ(log.records[0].X, -5);
  EXPECT_EQ(log.records[0].Y, -7);
  EXPECT_EQ(log.records[0].Shift & MK_RBUTTON, static_cast<WPARAM>(MK_RBUTTON));
  EXPECT_EQ(log.records[1].Button, 3);
  EXPECT_EQ(log.records[1].X, 3);
  Release(form);
}

TEST(Form, SizeLimitsResizeAndMoveEvents) {
  TWindowObject* form = CreateForm(nullptr, "limits");
  form->SetSizeLimit(slMinWidth, 30);
  form->SetSizeLimit(slMinHeight, 16);
  form->SetSizeLimit(slMaxWidth, 300);
  form->SetSizeLimit(slMaxHeight, 180);
  MINMAXINFO info{};
  SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 30);
  EXPECT_EQ(info.ptMinTrackSize.y, 16);
  EXPECT_EQ(info.ptMaxTrackSize.x, 300);
  EXPECT_EQ(info.ptMaxTrackSize.y, 180);
  EXPECT_EQ(info.ptMaxSize.x, 300);

  int events[2] = {0, 0};
  form->SetOnResize([](void* d, TWindowObject*) { ++static_cast<int*>(d)[0]; }, events);
  form->SetOnMove([](void* d, TWindowObject*) { ++static_cast<int*>(d)[1]; }, events);
  form->SetLeft(120);
  form->SetWidth(150);
  EXPECT_GE(events[0], 1);
  EXPECT_GE(events[1], 1);
  EXPECT_EQ(form->Left(), 120);
  EXPECT_EQ(form->Width(), 150);
  Release(form);
}

TEST(Form, ReleasingTheLastReferenceInsideAHandlerIsSafe) {
  TWindowObject* form = CreateForm(nullptr, "self-release");
  form->SetOnMessage([](void*, TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_APP + 9) Release(w);
    return false;
  }, nullptr);
  HWND wnd = form->Handle();
  SendMessageA(wnd, WM_APP + 9, 0, 0);
  EXPECT_FALSE(IsWindow(wnd));
}

TEST(Form, ManyWindowsLeaveNoHandles) {
  const long gdi = tk::LiveGdiHandles(), user = tk::LiveUserHandles();
  std::vector<HWND> made;
  for (int i = 0; i < 40; ++i) {
    TWindowObject* form = CreateForm(nullptr, "many");
    form->SetDoubleBuffered(true);
    form->SetOnPaint([](void*, TWindowObject*, HDC) {}, nullptr);
    form->SetOnMouseLeave([](void*, TWindowObject*) {}, nullptr);
    form->SetIcon(tk::unique_hicon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)))));
    TWindowObject* child = CreateForm(form, "child");
    child->Handle();
    form->Show();
    UpdateWindow(form->Handle());
    form->Canvas()->Handle();  // a window DC held by the canvas until the form dies
    made.push_back(form->Handle());
    if (i % 2) SendMessageA(form->Handle(), WM_CLOSE, 0, 0);  // the system destroys the window first
    Release(form);
  }
  PumpMessages();
  EXPECT_EQ(tk::LiveGdiHandles(), gdi);
  EXPECT_EQ(tk::LiveUserHandles(), user);
  for (HWND w : made) EXPECT_FALSE(IsWindow(w));
}

}  // namespace
