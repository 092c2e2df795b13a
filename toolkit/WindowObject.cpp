#include "toolkit/WindowObject.h"
#include "toolkit/WindowMessages.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/MenuObject.h"
#include <commctrl.h>
#include <windowsx.h>
#include <algorithm>
#include <exception>

namespace tk {

namespace {

// Process-wide loop and creation state; used only on the loop's thread.
TLoopState g_loopState = TLoopState::NotStarted;
TWindowObject* g_app = nullptr;         // set while RunMessageLoop owns it
TAppWindow* g_appWindow = nullptr;      // the application window, once made
TWindowObject* g_creating = nullptr;    // the object whose window is being created
HCURSOR g_overrideCursor = nullptr;
bool g_keyboardStep = false;            // set once any accelerator table exists
std::vector<TWindowDestroyHook> g_destroyHooks;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

bool IsTopLevel(DWORD style) { return !(style & WS_CHILD); }

// comctl32's _TrackMouseEvent, looked up once; null where it is missing.
using TTrackMouseEventFn = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
TTrackMouseEventFn TrackMouseEventFn() {
  static const TTrackMouseEventFn fn = [] {
    InitCommonControls();
    HMODULE lib = GetModuleHandleA("comctl32.dll");
    if (!lib) lib = LoadLibraryA("comctl32.dll");
    return lib ? reinterpret_cast<TTrackMouseEventFn>(
                     reinterpret_cast<void*>(GetProcAddress(lib, "_TrackMouseEvent")))
               : nullptr;
  }();
  return fn;
}

void TrackLeave(HWND wnd, DWORD flags) {
  if (auto fn = TrackMouseEventFn()) {
    TRACKMOUSEEVENT tme{sizeof(tme), flags, wnd, HOVER_DEFAULT};
    fn(&tme);
  }
}

}  // namespace

// What the canvas needs from its window; kept beside the window, not in its header.
struct TWindowCanvasOwner final : TCanvasOwner {
  explicit TWindowCanvasOwner(TWindowObject* w) : window(w) {}
  HWND CanvasWindow() override { return window->HandleIfCreated(); }
  TColor CanvasColour() override { return window->Colour(); }
  TColor CanvasFontColour() override { return window->FontColour(); }
  TWindowObject* window;
};

TLoopState LoopState() { return g_loopState; }
bool LoopTerminated() { return g_loopState == TLoopState::Terminated; }
TWindowObject* ApplicationObject() { return g_app; }
void SetOverrideCursor(HCURSOR cursor) { g_overrideCursor = cursor; }

void AddWindowDestroyHook(TWindowDestroyHook hook) {
  if (hook && std::find(g_destroyHooks.begin(), g_destroyHooks.end(), hook) == g_destroyHooks.end())
    g_destroyHooks.push_back(hook);
}

// Built-in handlers attached to windows; friends of TWindowObject through this struct.
struct TWindowInternals {
  static bool FormBackground(TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg != WM_ERASEBKGND || !m.WParam) return false;
    RECT rc{};
    GetClientRect(m.Wnd, &rc);
    tk::unique_hbrush brush(CreateSolidBrush(ColourToRGB(w->colour_)));
    FillRect(reinterpret_cast<HDC>(m.WParam), &rc, brush.get());
    return false;  // processing goes on so that later handlers may draw too
  }

  static bool FormFocus(TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_SETFOCUS) {
      // The form has no focusable children of its own; a child control gets it back.
      for (void* p : w->children_) {
        auto* child = static_cast<TWindowObject*>(p);
        if (child->HandleIfCreated() && (child->style_ & WS_CHILD) && (child->style_ & WS_TABSTOP)) {
          SetFocus(child->HandleIfCreated());
          break;
        }
      }
      return false;
    }
    if (m.Msg == WM_ENDSESSION && m.WParam) {
      // Windows is going down: leave at once, cleaning up what we can.
      g_loopState = TLoopState::Terminated;
      if (TWindowObject* app = std::exchange(g_app, nullptr)) Release(app);
      ExitProcess(0);
    }
    return false;
  }

  static bool SizeLimits(TWindowObject* w, TMessageRecord& m, LRESULT& result) {
    if (m.Msg != WM_GETMINMAXINFO) return false;
    DefWindowProcA(m.Wnd, m.Msg, m.WParam, m.LParam);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    if (w->limits_[2] > 0) {
      info->ptMaxSize.x = w->limits_[2];
      info->ptMaxTrackSize.x = w->limits_[2];
    }
    if (w->limits_[3] > 0) {
      info->ptMaxSize.y = w->limits_[3];
      info->ptMaxTrackSize.y = w->limits_[3];
    }
    if (w->limits_[0] > 0) info->ptMinTrackSize.x = w->limits_[0];
    if (w->limits_[1] > 0) info->ptMinTrackSize.y = w->limits_[1];
    result = 0;
    return true;
  }

  static bool Paint(TWindowObject* w, TMessageRecord& m, LRESULT& result) {
    if (m.Msg != WM_PAINT || !w->onPaint_) return false;
    tk::unique_hrgn update(CreateRectRgn(0, 0, 0, 0));
    if (update) GetUpdateRgn(m.Wnd, update.get(), FALSE);
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(m.Wnd, &ps);
    HDC previous = std::exchange(w->paintDC_, dc);
    if (w->canvas_) w->canvas_->SetHandle(nullptr, TDcSource::PaintDC);  // the next use takes the paint DC
    w->onPaint_.code(w->onPaint_.data, w, dc);
    if (w->canvas_) w->canvas_->SetHandle(nullptr, TDcSource::PaintDC);
    if (began) EndPaint(m.Wnd, &ps);
    w->paintDC_ = previous;
    result = 0;
    return true;
  }

  static bool Mouse(TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg < WM_MOUSEFIRST || m.Msg > WM_MOUSEWHEEL) return false;
    TMouseRecord rec;
    rec.Shift = m.WParam;
    if (GetKeyState(VK_MENU) < 0) rec.Shift |= 0x20;
    POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    // The wheel message carries screen coordinates; events always get client ones.
    if (m.Msg == WM_MOUSEWHEEL) ScreenToClient(m.Wnd, &pt);
    rec.X = pt.x;
    rec.Y = pt.y;
    TEvent<TMouseEvent> ev;
    switch (m.Msg) {
      case WM_MOUSEMOVE: ev = w->onMouseMove_; break;
      case WM_LBUTTONDOWN: rec.Button = 1; ev = w->onMouseDown_; break;
      case WM_RBUTTONDOWN: rec.Button = 2; ev = w->onMouseDown_; break;
      case WM_MBUTTONDOWN: rec.Button = 3; ev = w->onMouseDown_; break;
      case WM_LBUTTONUP: rec.Button = 1; ev = w->onMouseUp_; break;
      case WM_RBUTTONUP: rec.Button = 2; ev = w->onMouseUp_; break;
      case WM_MBUTTONUP: rec.Button = 3; ev = w->onMouseUp_; break;
      case WM_LBUTTONDBLCLK: rec.Button = 1; ev = w->onMouseDblClk_; break;
      case WM_RBUTTONDBLCLK: rec.Button = 2; ev = w->onMouseDblClk_; break;
      case WM_MBUTTONDBLCLK: rec.Button = 3; ev = w->onMouseDblClk_; break;
      case WM_MOUSEWHEEL: ev = w->onMouseWheel_; break;
      default: break;
    }
    if (ev) ev.code(ev.data, w, rec);
    return false;
  }

  static bool MouseLeave(TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_MOUSELEAVE) {
      if (w->mouseInside_) {
        w->mouseInside_ = false;
        if (w->onMouseLeave_) w->onMouseLeave_.code(w->onMouseLeave_.data, w);
        w->Invalidate();
      }
      return false;
    }
    if (m.Msg < WM_MOUSEFIRST || m.Msg > WM_MOUSEWHEEL) return false;
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m.Wnd, &pt);
    RECT rc{};
    GetClientRect(m.Wnd, &rc);
    const bool inside = PtInRect(&rc, pt) != FALSE;
    if (inside == w->mouseInside_) return false;
    w->Invalidate();
    w->mouseInside_ = inside;
    if (inside) {
      TrackLeave(m.Wnd, TME_LEAVE);
    } else {
      TrackLeave(m.Wnd, TME_CANCEL | TME_LEAVE);
      if (w->onMouseLeave_) w->onMouseLeave_.code(w->onMouseLeave_.data, w);
    }
    return false;
  }

  static bool ResizeMove(TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (m.Msg == WM_SIZE && w->onResize_) w->onResize_.code(w->onResize_.data, w);
    else if (m.Msg == WM_MOVE && w->onMove_) w->onMove_.code(w->onMove_.data, w);
    return false;
  }

  static bool QueryEndSession(TWindowObject* w, TMessageRecord& m, LRESULT& result) {
    if (m.Msg != WM_QUERYENDSESSION) return false;
    bool accept = true;
    w->endSessionCause_ = (static_cast<DWORD>(m.LParam) & 0x80000000u) ? 2 : 1;
    if (w->onQueryEndSession_) w->onQueryEndSession_.code(w->onQueryEndSession_.data, w, accept);
    w->endSessionCause_ = 0;
    result = accept ? TRUE : FALSE;
    return true;
  }

  static bool ContextMenu(TWindowObject* w, TMessageRecord& m, LRESULT& result) {
    if (m.Msg != WM_CONTEXTMENU || !w->popupMenu_ || !w->popupMenu_->Handle()) return false;
    POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    if (m.LParam == -1) {
      pt = {0, 0};
      ClientToScreen(m.Wnd, &pt);
    }
    TrackPopupMenu(w->popupMenu_->Handle(), w->popupMenu_->PopupFlags(), pt.x, pt.y, 0, m.Wnd, nullptr);
    result = 0;
    return true;
  }

  // Paints through one off-screen bitmap so the screen is touched by a single BitBlt.
  static bool DoubleBuffer(TWindowObject* w, TMessageRecord& m, LRESULT& result) {
    if (w->paintingBuffer_) return false;
    switch (m.Msg) {
      case WM_ERASEBKGND:
        result = 1;
        return true;
      case WM_HSCROLL:
      case WM_VSCROLL:
        w->Invalidate();
        return false;
      case WM_PAINT:
        PaintBuffered(w, m.Wnd);
        result = 0;
        return true;
      default:
        return false;
    }
  }

  static void PaintBuffered(TWindowObject* w, HWND wnd) {
    ValidateRect(wnd, nullptr);
    RECT rc{};
    GetClientRect(wnd, &rc);
    const int cw = rc.right, ch = rc.bottom;
    if (cw <= 0 || ch <= 0) return;
    tk::unique_hrgn clip(CreateRectRgn(0, 0, cw, ch));
    tk::unique_hdc mem;
    tk::unique_hbitmap bmp;
    {
      tk::TScopedGetDC screen(nullptr);
      mem.reset(CreateCompatibleDC(screen.get()));
      bmp.reset(CreateCompatibleBitmap(screen.get(), cw, ch));
    }
    if (!mem || !bmp || !clip) return;
    {
      tk::TScopedSelect sel(mem.get(), bmp.get());
      w->paintingBuffer_ = true;
      w->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(mem.get()), 0);
      w->Perform(WM_PAINT, reinterpret_cast<WPARAM>(mem.get()), 0);
      // Child windows paint themselves; keep the copy off their rectangles.
      for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT cr{};
        GetWindowRect(child, &cr);
        MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&cr), 2);
        tk::unique_hrgn childRgn(CreateRectRgnIndirect(&cr));
        if (childRgn) CombineRgn(clip.get(), clip.get(), childRgn.get(), RGN_DIFF);
      }
      w->paintingBuffer_ = false;

      HDC wdc = GetWindowDC(wnd);
      if (wdc) {
        RECT wr{};
        GetWindowRect(wnd, &wr);
        POINT origin{0, 0};
        ClientToScreen(wnd, &origin);
        const int ox = origin.x - wr.left, oy = origin.y - wr.top;
        OffsetRgn(clip.get(), ox, oy);
        SelectClipRgn(wdc, clip.get());
        BitBlt(wdc, ox, oy, cw, ch, mem.get(), 0, 0, SRCCOPY);
        SelectClipRgn(wdc, nullptr);
        ReleaseDC(wnd, wdc);
      }
    }
  }
};

// ---------------------------------------------------------------------------

TWindowObject::TWindowObject(const char* subclassName, TWindowObject* parent)
    : subclass_(subclassName ? subclassName : ""), parent_(parent) {
  if (parent_) parent_->children_.Add(this);
}

TWindowObject* TWindowObject::FromHandle(HWND wnd) {
  if (!wnd || !IsWindow(wnd)) return nullptr;
  if (GetClassLongPtrA(wnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&GlobalWndProc)) return nullptr;
  return reinterpret_cast<TWindowObject*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
}

HWND TWindowObject::Handle() {
  if (!wnd_) CreateWindowNow();
  return wnd_.get();
}

bool TWindowObject::CreateWindowNow() {
  if (BeingDestroyed()) return false;
  if (parent_ && !parent_->HandleIfCreated()) parent_->CreateWindowNow();
  if (!wnd_) {
    const std::string className = "obj_" + subclass_;
    WNDCLASSA wc{};
    if (!GetClassInfoA(Module(), className.c_str(), &wc)) {
      wc = WNDCLASSA{};
      wc.style = classStyle_;
      wc.lpfnWndProc = &GlobalWndProc;
      wc.hInstance = Module();
      wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
      wc.lpszClassName = className.c_str();
      if (!RegisterClassA(&wc)) return false;
    }
    int x = bounds_.left, y = bounds_.top;
    int w = bounds_.right - bounds_.left, h = bounds_.bottom - bounds_.top;
    if (IsTopLevel(style_) && !positionSet_) x = y = CW_USEDEFAULT;
    if (w == 0) w = CW_USEDEFAULT;
    if (h == 0) h = CW_USEDEFAULT;
    DWORD exStyle = exStyle_;
    if (alpha_ >= 0 && (alpha_ & 0xFF) != 255) exStyle |= WS_EX_LAYERED;
    HWND parentWnd = parent_ ? parent_->HandleIfCreated() : nullptr;
    g_creating = this;
    HWND wnd = CreateWindowExA(exStyle, className.c_str(), caption_.c_str(), style_, x, y, w, h, parentWnd,
                               nullptr, Module(), nullptr);
    if (g_creating == this) g_creating = nullptr;
    if (!wnd) return false;
    if (!wnd_) wnd_.reset(wnd);  // normally bound already by the first message
    SendMessageA(wnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (GetWindowLongPtrA(wnd, GWLP_USERDATA) == 0) SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (IsTopLevel(style_)) {
      if (HICON icon = Icon()) SendMessageA(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
    RefreshBounds();
    ApplyAlphaToLive();
    visible_ = IsWindowVisible(wnd) != FALSE;
    AfterCreate();
  } else if (visible_ != (IsWindowVisible(wnd_.get()) != FALSE)) {
    ShowWindow(wnd_.get(), visible_ ? SW_SHOW : SW_HIDE);
  }
  for (void* p : children_) {
    auto* child = static_cast<TWindowObject*>(p);
    if (!child->HandleIfCreated()) child->CreateWindowNow();
  }
  return true;
}

// --- geometry ---

void TWindowObject::RefreshBounds() {
  HWND wnd = wnd_.get();
  if (!wnd) return;
  RECT r{};
  if (!GetWindowRect(wnd, &r)) return;
  if (!IsTopLevel(GetWindowLongA(wnd, GWL_STYLE))) {
    if (HWND p = GetParent(wnd)) MapWindowPoints(nullptr, p, reinterpret_cast<POINT*>(&r), 2);
  }
  bounds_ = r;
}

void TWindowObject::ApplyBounds() {
  if (HWND wnd = wnd_.get()) {
    SetWindowPos(wnd, nullptr, bounds_.left, bounds_.top, bounds_.right - bounds_.left,
                 bounds_.bottom - bounds_.top, SWP_NOACTIVATE | SWP_NOZORDER);
    Invalidate();
  }
}

int TWindowObject::Left() { RefreshBounds(); return bounds_.left; }
int TWindowObject::Top() { RefreshBounds(); return bounds_.top; }
int TWindowObject::Width() { RefreshBounds(); return bounds_.right - bounds_.left; }
int TWindowObject::Height() { RefreshBounds(); return bounds_.bottom - bounds_.top; }

void TWindowObject::SetLeft(int v) {
  RefreshBounds();
  const int w = bounds_.right - bounds_.left;
  bounds_.left = v;
  bounds_.right = v + w;
  positionSet_ = true;
  ApplyBounds();
}

void TWindowObject::SetTop(int v) {
  RefreshBounds();
  const int h = bounds_.bottom - bounds_.top;
  bounds_.top = v;
  bounds_.bottom = v + h;
  positionSet_ = true;
  ApplyBounds();
}

void TWindowObject::SetWidth(int v) {
  RefreshBounds();
  bounds_.right = bounds_.left + v;
  ApplyBounds();
}

void TWindowObject::SetHeight(int v) {
  RefreshBounds();
  bounds_.bottom = bounds_.top + v;
  ApplyBounds();
}

void TWindowObject::SetPosition(int x, int y) {
  SetLeft(x);
  SetTop(y);
}

int TWindowObject::ClientWidth() {
  RECT rc{};
  if (HWND wnd = Handle()) GetClientRect(wnd, &rc);
  return rc.right;
}

int TWindowObject::ClientHeight() {
  RECT rc{};
  if (HWND wnd = Handle()) GetClientRect(wnd, &rc);
  return rc.bottom;
}

void TWindowObject::SetClientSize(int w, int h) {
  if (w > 0) SetWidth(w + Width() - ClientWidth());
  if (h > 0) SetHeight(h + Height() - ClientHeight());
}

// --- styles ---

void TWindowObject::SetClassStyle(DWORD v) {
  classStyle_ = v;
  if (HWND wnd = wnd_.get()) SetClassLongA(wnd, GCL_STYLE, static_cast<LONG>(v));
}

void TWindowObject::RefreshStyles() {
  if (HWND wnd = wnd_.get()) {
    style_ = static_cast<DWORD>(GetWindowLongA(wnd, GWL_STYLE));
    exStyle_ = static_cast<DWORD>(GetWindowLongA(wnd, GWL_EXSTYLE));
    classStyle_ = static_cast<DWORD>(GetClassLongA(wnd, GCL_STYLE));
  }
}

DWORD TWindowObject::Style() { RefreshStyles(); return style_; }
DWORD TWindowObject::ExStyle() { RefreshStyles(); return exStyle_; }

void TWindowObject::SetStyle(DWORD v) {
  style_ = v;
  if (HWND wnd = wnd_.get()) {
    SetWindowLongA(wnd, GWL_STYLE, static_cast<LONG>(v));
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
  } else {
    visible_ = (v & WS_VISIBLE) != 0;
  }
}

void TWindowObject::SetExStyle(DWORD v) {
  exStyle_ = v;
  if (HWND wnd = wnd_.get()) {
    SetWindowLongA(wnd, GWL_EXSTYLE, static_cast<LONG>(v));
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    Invalidate();
  }
}

void TWindowObject::SetHasCaption(bool on) {
  if (on) {
    SetStyle((Style() | WS_CAPTION) & ~WS_POPUP);
  } else {
    SetStyle((Style() & ~(WS_CAPTION | WS_SYSMENU)) | WS_POPUP);
    SetExStyle(ExStyle() | WS_EX_DLGMODALFRAME);
  }
}

bool TWindowObject::StayOnTop() { return (ExStyle() & WS_EX_TOPMOST) != 0; }

void TWindowObject::SetStayOnTop(bool on) {
  if (HWND wnd = wnd_.get()) {
    SetWindowPos(wnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  } else {
    exStyle_ = on ? (exStyle_ | WS_EX_TOPMOST) : (exStyle_ & ~WS_EX_TOPMOST);
  }
}

namespace {
using TSetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
TSetLayeredFn SetLayeredFn() {
  HMODULE user = GetModuleHandleA("User32");
  return user ? reinterpret_cast<TSetLayeredFn>(
                    reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")))
              : nullptr;
}
}  // namespace

void TWindowObject::SetAlpha(int a) {
  if (a == alpha_) return;
  alpha_ = a;
  ApplyAlphaToLive();
}

void TWindowObject::ApplyAlphaToLive() {
  HWND wnd = wnd_.get();
  if (!wnd || alpha_ < 0) return;  // a window made later takes the value when it is created
  const TSetLayeredFn fn = SetLayeredFn();
  if (!fn) return;
  const DWORD ex = static_cast<DWORD>(GetWindowLongA(wnd, GWL_EXSTYLE));
  if ((alpha_ & 0xFF) == 255) {
    if (ex & WS_EX_LAYERED) SetWindowLongA(wnd, GWL_EXSTYLE, static_cast<LONG>(ex & ~WS_EX_LAYERED));
  } else {
    if (!(ex & WS_EX_LAYERED)) SetWindowLongA(wnd, GWL_EXSTYLE, static_cast<LONG>(ex | WS_EX_LAYERED));
    fn(wnd, 0, static_cast<BYTE>(alpha_ & 0xFF), LWA_ALPHA);
  }
  exStyle_ = static_cast<DWORD>(GetWindowLongA(wnd, GWL_EXSTYLE));
}

// --- appearance ---

void TWindowObject::SetCaption(const std::string& text) {
  caption_ = text;
  if (HWND wnd = wnd_.get()) SetWindowTextA(wnd, caption_.c_str());
}

void TWindowObject::SetIcon(tk::unique_hicon icon) {
  sharedIcon_ = nullptr;
  ownIcon_ = std::move(icon);  // the previous own icon is destroyed here
  if (HWND wnd = wnd_.get()) SendMessageA(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(ownIcon_.get()));
}

void TWindowObject::SetIconResource(HINSTANCE module, const char* name) {
  ownIcon_.reset();
  sharedIcon_ = LoadIconA(module, name);
  if (HWND wnd = wnd_.get()) SendMessageA(wnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(sharedIcon_));
}

HICON TWindowObject::Icon() {
  if (ownIcon_) return ownIcon_.get();
  if (sharedIcon_) return sharedIcon_;
  if (g_appWindow && g_appWindow != this) {
    // A form without an icon shows a copy of the application's, which it then owns.
    if (HICON appIcon = g_appWindow->Icon()) {
      ownIcon_.reset(static_cast<HICON>(CopyImage(appIcon, IMAGE_ICON, 0, 0, 0)));
      return ownIcon_.get();
    }
  }
  return nullptr;
}

TDrawCanvas* TWindowObject::Canvas() {
  if (!canvas_ && !BeingDestroyed()) {
    canvasOwner_ = new TWindowCanvasOwner(this);
    canvas_ = CreateDrawCanvas(canvasOwner_);
    canvas_->SetContextSupplier([](void* data, TDrawCanvas* canvas) {
      auto* w = static_cast<TWindowObject*>(data);
      if (w->paintDC_) {
        canvas->SetHandle(w->paintDC_, TDcSource::PaintDC);
      } else if (HWND wnd = w->Handle()) {
        if (HDC dc = GetDC(wnd)) canvas->SetHandle(dc, TDcSource::WindowDC);
      }
    }, this);
  }
  return canvas_;
}

// --- visibility ---

bool TWindowObject::Visible() {
  if (HWND wnd = wnd_.get()) return IsWindowVisible(wnd) != FALSE;
  return visible_;
}

void TWindowObject::SetVisible(bool on) {
  visible_ = on;
  if (HWND wnd = wnd_.get()) ShowWindow(wnd, on ? SW_SHOW : SW_HIDE);
  else style_ = on ? (style_ | WS_VISIBLE) : (style_ & ~WS_VISIBLE);
}

void TWindowObject::Show() {
  CreateWindowNow();
  SetVisible(true);
  if (HWND wnd = wnd_.get()) {
    SetForegroundWindow(wnd);
    SetFocus(wnd);
  }
}

void TWindowObject::Invalidate() {
  if (HWND wnd = wnd_.get()) InvalidateRect(wnd, nullptr, TRUE);
}

// --- behaviour ---

void TWindowObject::SetSizeLimit(TSizeLimit which, int value) {
  const int i = static_cast<int>(which);
  if (i < 0 || i > 3) return;
  limits_[i] = value;
  AttachHandler(&TWindowInternals::SizeLimits);
}

void TWindowObject::SetPopupMenu(TMenuObject* menu) {
  popupMenu_ = menu;
  AttachHandler(&TWindowInternals::ContextMenu);
}

void TWindowObject::SetDoubleBuffered(bool on) {
  if (!on || doubleBuffered_) return;
  doubleBuffered_ = true;
  AttachHandler(&TWindowInternals::DoubleBuffer);
}

LRESULT TWindowObject::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessageRecord rec{wnd_.get(), msg, wParam, lParam, 0};
  return WndProc(rec);
}

bool TWindowObject::HasHandler(TMessageHandler handler) const {
  for (const auto& h : handlers_)
    if (h.first == handler) return true;
  return false;
}

void TWindowObject::AttachHandler(TMessageHandler handler, bool runAfterTermination) {
  if (!handler || HasHandler(handler)) return;
  handlers_.emplace_back(handler, runAfterTermination);
  // The double buffer must see every message first, so it stays newest.
  if (doubleBuffered_ && handler != &TWindowInternals::DoubleBuffer) {
    for (size_t i = 0; i + 1 < handlers_.size(); ++i) {
      if (handlers_[i].first == &TWindowInternals::DoubleBuffer) {
        auto db = handlers_[i];
        handlers_.erase(handlers_.begin() + static_cast<long>(i));
        handlers_.push_back(db);
        break;
      }
    }
  }
}

void TWindowObject::SetAcceleratorTable(tk::unique_haccel table) {
  accel_ = std::move(table);
  if (accel_) g_keyboardStep = true;
}

// --- events ---

void TWindowObject::SetOnPaint(TPaintEvent code, void* data) {
  onPaint_ = {code, data};
  AttachHandler(&TWindowInternals::Paint);
}
void TWindowObject::SetOnResize(TNotifyEvent code, void* data) {
  onResize_ = {code, data};
  AttachHandler(&TWindowInternals::ResizeMove);
}
void TWindowObject::SetOnMove(TNotifyEvent code, void* data) {
  onMove_ = {code, data};
  AttachHandler(&TWindowInternals::ResizeMove);
}
void TWindowObject::SetOnMouseMove(TMouseEvent code, void* data) {
  onMouseMove_ = {code, data};
  AttachHandler(&TWindowInternals::Mouse);
}
void TWindowObject::SetOnMouseDown(TMouseEvent code, void* data) {
  onMouseDown_ = {code, data};
  AttachHandler(&TWindowInternals::Mouse);
}
void TWindowObject::SetOnMouseUp(TMouseEvent code, void* data) {
  onMouseUp_ = {code, data};
  AttachHandler(&TWindowInternals::Mouse);
}
void TWindowObject::SetOnMouseDblClk(TMouseEvent code, void* data) {
  onMouseDblClk_ = {code, data};
  AttachHandler(&TWindowInternals::Mouse);
}
void TWindowObject::SetOnMouseWheel(TMouseEvent code, void* data) {
  onMouseWheel_ = {code, data};
  AttachHandler(&TWindowInternals::Mouse);
}
void TWindowObject::SetOnMouseLeave(TNotifyEvent code, void* data) {
  onMouseLeave_ = {code, data};
  TrackMouseEventFn();  // InitCommonControls once
  AttachHandler(&TWindowInternals::MouseLeave);
}
void TWindowObject::SetOnQueryEndSession(TQueryEndSessionEvent code, void* data) {
  onQueryEndSession_ = {code, data};
  AttachHandler(&TWindowInternals::QueryEndSession);
}

// --- dispatch ---

LRESULT CALLBACK TWindowObject::GlobalWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  try {
    TWindowObject* obj = nullptr;
    if (wnd) {
      obj = reinterpret_cast<TWindowObject*>(GetWindowLongPtrA(wnd, GWLP_USERDATA));
      // The first message of a window being created binds it to its object; a window
      // that is already bound never takes someone else's object.
      if (!obj && g_creating) {
        obj = std::exchange(g_creating, nullptr);
        obj->wnd_.reset(wnd);
        SetWindowLongPtrA(wnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(obj));
      }
    }
    if (obj) {
      TMessageRecord rec{wnd, msg, wParam, lParam, 0};
      return obj->WndProc(rec);
    }
  } catch (...) {
    // nothing may unwind through the system's frames
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

bool TWindowObject::RunHandlerChain(TMessageRecord& msg, LRESULT& result) {
  if (BeingDestroyed()) return false;
  const bool terminated = LoopTerminated();
  // Indices, not iterators: a handler may attach another while the walk runs.
  for (size_t i = handlers_.size(); i-- > 0;) {
    if (i >= handlers_.size()) continue;
    const auto [handler, afterTermination] = handlers_[i];
    if (terminated && !afterTermination) continue;
    if (handler(this, msg, result)) return true;
  }
  return false;
}

LRESULT TWindowObject::WndProc(TMessageRecord& msg) {
  // Held for the whole message: a handler may release the last reference.
  AddRef();
  LRESULT result = 0;
  bool handled = false;
  if (g_loopState == TLoopState::Running && g_app && g_app != this && g_app->onMessage_)
    handled = g_app->onMessage_.code(g_app->onMessage_.data, this, msg, result);
  if (!handled && onMessage_) handled = onMessage_.code(onMessage_.data, this, msg, result);
  if (!handled) handled = RunHandlerChain(msg, result);
  if (!handled && !BeingDestroyed()) handled = TypeHandler(msg, result);
  if (!handled) handled = BuiltIn(msg, result);
  msg.Result = result;
  Release(this);
  return result;
}

bool TWindowObject::BuiltIn(TMessageRecord& m, LRESULT& result) {
  HWND wnd = m.Wnd;
  auto def = [&] { return wnd ? DefWindowProcA(wnd, m.Msg, m.WParam, m.LParam) : 0; };
  switch (m.Msg) {
    case WM_CLOSE: {
      const bool isMain = g_appWindow && g_appWindow->children_.Get(0) == this;
      // Once the loop has ended, a quit message would only linger in the queue.
      if ((this == g_appWindow || isMain) && g_loopState != TLoopState::Terminated) PostQuitMessage(0);
      result = def();
      return true;
    }
    case WM_DESTROY:
      // A menu bar is ours to destroy, not the system's.
      for (TMenuObject* menu : menus_)
        if (menu->IsMenuBar() && GetMenu(wnd) == menu->Handle()) SetMenu(wnd, nullptr);
      break;
    case WM_NCDESTROY:
      // Windows has destroyed the window; the object lives on without it.
      if (wnd) SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
      if (wnd_.get() == wnd) (void)wnd_.release();
      result = 0;
      return true;
    case WM_SETCURSOR:
      if (!GetCapture() && LOWORD(m.LParam) == HTCLIENT) {
        if (HCURSOR c = g_overrideCursor ? g_overrideCursor : cursor_) {
          ::SetCursor(c);
          result = TRUE;
          return true;
        }
      }
      break;
    case WM_SYSCOMMAND:
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && g_appWindow && g_appWindow->children_.Get(0) == this &&
          g_appWindow->HandleIfCreated()) {
        PostMessageA(g_appWindow->HandleIfCreated(), m.Msg, m.WParam, m.LParam);
        result = 0;
        return true;
      }
      break;
    case WM_COMMAND:
      if (m.LParam) {
        HWND child = reinterpret_cast<HWND>(m.LParam);
        if (TWindowObject* target = FromHandle(child); target && target != this) {
          result = SendMessageA(child, WM_TK_COMMAND_REFLECT, m.WParam, m.LParam);
          return true;
        }
      }
      break;
    default:
      break;
  }
  if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC && m.LParam) {
    HWND child = reinterpret_cast<HWND>(m.LParam);
    if (TWindowObject* target = FromHandle(child); target && target != this) {
      result = SendMessageA(child, m.Msg + WM_TK_CTLCOLOR_REFLECT, m.WParam, m.LParam);
      return true;
    }
  }
  if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_SYSDEADCHAR && g_keyboardStep && wnd) {
    MSG native{wnd, m.Msg, m.WParam, m.LParam, 0, {0, 0}};
    HACCEL table = accel_.get();
    if (table && TranslateAcceleratorA(wnd, table, &native)) { result = 0; return true; }
    // Failing the window's own table, its top-level form's.
    TWindowObject* top = this;
    while (top->parent_ && (top->style_ & WS_CHILD)) top = top->parent_;
    if (top != this && top->accel_ && top->HandleIfCreated() &&
        TranslateAcceleratorA(top->HandleIfCreated(), top->accel_.get(), &native)) {
      result = 0;
      return true;
    }
  }
  result = def();
  return true;
}

void TWindowObject::BeforeDestroy() {
  for (TWindowDestroyHook hook : g_destroyHooks) hook(this);
  if (HWND wnd = wnd_.get()) ShowWindow(wnd, SW_HIDE);
  // Children go first, newest first; each takes itself off our list.
  while (children_.Count() > 0) {
    auto* child = static_cast<TWindowObject*>(children_.Get(children_.Count() - 1));
    children_.Delete(children_.Count() - 1);
    child->parent_ = nullptr;
    Release(child);
  }
  if (canvas_) {
    Release(std::exchange(canvas_, nullptr));  // gives back its DC while the window still exists
    delete std::exchange(canvasOwner_, nullptr);
  }
  accel_.reset();
  popupMenu_ = nullptr;
  while (!menus_.empty()) {
    TMenuObject* menu = menus_.back();
    menus_.pop_back();
    menu->ForgetWindow();
    Release(menu);
  }
  if (wnd_) {
    HWND wnd = wnd_.get();
    // Our own icon is destroyed below, after the window stops using it.
    wnd_.reset();
    (void)wnd;
  }
  ownIcon_.reset();
  sharedIcon_ = nullptr;
  if (parent_) {
    parent_->children_.Remove(this);
    parent_ = nullptr;
  }
  handlers_.clear();
  caption_.clear();
  if (g_appWindow == this) g_appWindow = nullptr;
  if (g_creating == this) g_creating = nullptr;
}

// ---------------------------------------------------------------------------
// The application window.

TAppWindow::TAppWindow(const std::string& caption) : TWindowObject("App") {
  SetStyle(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  SetExStyle(WS_EX_APPWINDOW);
  SetCaption(caption);
  SetIconResource(GetModuleHandleA(nullptr), "MAINICON");
}

void TAppWindow::AfterCreate() {
  if (HMENU sys = GetSystemMenu(HandleIfCreated(), FALSE)) {
    EnableMenuItem(sys, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
  }
}

bool TAppWindow::TypeHandler(TMessageRecord& msg, LRESULT& result) {
  auto* mainForm = static_cast<TWindowObject*>(Children().Get(0));
  if (msg.Msg == WM_SETFOCUS) {
    if (mainForm && mainForm->HandleIfCreated() && IsWindowVisible(mainForm->HandleIfCreated())) {
      SetFocus(mainForm->HandleIfCreated());
      result = 0;
      return true;
    }
    return false;
  }
  if (msg.Msg == WM_SYSCOMMAND && (msg.WParam & 0xFFF0) == SC_CLOSE && mainForm && mainForm->HandleIfCreated()) {
    PostMessageA(mainForm->HandleIfCreated(), WM_CLOSE, 0, 0);
    result = 0;
    return true;
  }
  return false;
}

TAppWindow* CreateAppWindow(const std::string& caption) {
  auto* app = new TAppWindow(caption);
  g_appWindow = app;
  return app;
}

TWindowObject* CreateForm(TWindowObject* parent, const std::string& caption) {
  auto* form = new TWindowObject("Form", parent);
  form->SetClassStyle(form->ClassStyle() | CS_DBLCLKS);
  form->SetCaption(caption);
  form->AttachHandler(&TWindowInternals::FormBackground);
  form->AttachHandler(&TWindowInternals::FormFocus);
  return form;
}

// ---------------------------------------------------------------------------
// The message loop.

void ProcessMessages(TWindowObject*) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_loopState = TLoopState::Terminated;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void RunMessageLoop(TWindowObject* app) {
  if (!app) return;
  g_loopState = TLoopState::Running;
  g_app = app;
  app->CreateWindowNow();
  while (g_loopState == TLoopState::Running) {
    WaitMessage();
    ProcessMessages(app);
  }
  const bool byQuit = g_loopState == TLoopState::Terminated;
  g_loopState = TLoopState::Terminated;
  app->AddRef();
  if (byQuit) {
    ProcessMessages(app);
    app->Perform(WM_CLOSE, 0, 0);
  }
  g_app = nullptr;
  Release(app);
  Release(app);
}

void CloseWindow(TWindowObject* window) {
  if (window && window->HandleIfCreated()) PostMessageA(window->HandleIfCreated(), WM_CLOSE, 0, 0);
}

}  // namespace tk
