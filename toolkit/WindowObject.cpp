#include "toolkit/WindowObject.h"
#include "toolkit/Application.h"
#include "toolkit/WindowMessages.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawCanvas.h"
#include <algorithm>

namespace tk {

namespace {

// Process-wide creation and dispatch state; used only on the loop's thread.
TWindowObject* g_creating = nullptr;  // the object whose window is being created
HCURSOR g_overrideCursor = nullptr;
TReplyHandler g_keyboardStep = nullptr;
std::vector<TWindowDestroyHook> g_destroyHooks;

HINSTANCE Module() { return GetModuleHandleA(nullptr); }

bool IsTopLevel(DWORD style) { return !(style & WS_CHILD); }

}  // namespace

// What the canvas needs from its window; kept beside the window, not in its header.
struct TWindowCanvasOwner final : TCanvasOwner {
  explicit TWindowCanvasOwner(TWindowObject* w) : window(w) {}
  HWND CanvasWindow() override { return window->HandleIfCreated(); }
  TColor CanvasColour() override { return window->Colour(); }
  TColor CanvasFontColour() override { return window->FontColour(); }
  TWindowObject* window;
};

void SetOverrideCursor(HCURSOR cursor) { g_overrideCursor = cursor; }
void SetKeyboardStep(TReplyHandler step) { g_keyboardStep = step; }

void AddWindowDestroyHook(TWindowDestroyHook hook) {
  if (hook && std::find(g_destroyHooks.begin(), g_destroyHooks.end(), hook) == g_destroyHooks.end())
    g_destroyHooks.push_back(hook);
}

// ---------------------------------------------------------------------------

TWindowObject::TWindowObject(const char* subclassName, TWindowObject* parent)
    : subclass_(subclassName ? subclassName : ""), parent_(parent) {
  if (parent_) parent_->children_.Add(this);
}

TWindowObject::~TWindowObject() = default;

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
    if (alpha_ >= 0 && ((alpha_ & 0xFF) != 255 || layered_)) exStyle |= WS_EX_LAYERED;
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
  // The client size first: reading it makes the window, whose frame is then measured.
  if (w > 0) {
    const int client = ClientWidth();
    SetWidth(w + Width() - client);
  }
  if (h > 0) {
    const int client = ClientHeight();
    SetHeight(h + Height() - client);
  }
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

void TWindowObject::SetAlpha(int a, bool layered) {
  if (a == alpha_ && layered == layered_) return;
  alpha_ = a;
  layered_ = layered;
  ApplyAlphaToLive();
}

void TWindowObject::ApplyAlphaToLive() {
  HWND wnd = wnd_.get();
  if (!wnd || alpha_ < 0) return;  // a window made later takes the value when it is created
  const TSetLayeredFn fn = SetLayeredFn();
  if (!fn) return;
  const DWORD ex = static_cast<DWORD>(GetWindowLongA(wnd, GWL_EXSTYLE));
  if ((alpha_ & 0xFF) == 255 && !layered_) {
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
  if (TAppWindow* app = AppWindow(); app && app != this) {
    // A form without an icon shows a copy of the application's, which it then owns.
    if (HICON appIcon = app->Icon()) {
      ownIcon_.reset(static_cast<HICON>(CopyImage(appIcon, IMAGE_ICON, 0, 0, 0)));
      return ownIcon_.get();
    }
  }
  return nullptr;
}

TDrawCanvas* TWindowObject::Canvas() {
  if (!canvas_ && !BeingDestroyed()) {
    canvasOwner_ = std::make_unique<TWindowCanvasOwner>(this);
    canvas_ = CreateDrawCanvas(canvasOwner_.get());
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
  // A hidden window may hold the focus already (a dialog it owned has closed): under X
  // the keys reach it only when the focus is set anew once it is shown.
  if (HWND wnd = wnd_.get(); wnd && !IsWindowVisible(wnd)) SetFocus(nullptr);
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

LRESULT TWindowObject::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessageRecord rec{wnd_.get(), msg, wParam, lParam};
  return WndProc(rec);
}

bool TWindowObject::HasHandler(TMessageHandler handler) const {
  for (const TChainLink& link : handlers_)
    if (link.handler == handler) return true;
  return false;
}

void TWindowObject::AttachHandler(TMessageHandler handler, bool runAfterTermination) {
  if (handler && !HasHandler(handler)) AttachLink({handler, nullptr, runAfterTermination});
}

void TWindowObject::AttachHandler(TReplyHandler handler, bool runAfterTermination) {
  for (const TChainLink& link : handlers_)
    if (link.reply == handler) return;
  if (handler) AttachLink({nullptr, handler, runAfterTermination});
}

void TWindowObject::AttachLink(const TChainLink& link) {
  // The double buffer must see every message first: it stays the newest.
  auto at = handlers_.end();
  if (keptNewest_ && !handlers_.empty() && handlers_.back().reply == keptNewest_) --at;
  handlers_.insert(at, link);
}

void TWindowObject::SetAcceleratorTable(tk::unique_haccel table) { accel_ = std::move(table); }

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
      TMessageRecord rec{wnd, msg, wParam, lParam};
      return obj->WndProc(rec);
    }
  } catch (...) {
    // nothing may unwind through the system's frames
  }
  return DefWindowProcA(wnd, msg, wParam, lParam);
}

TReply TWindowObject::RunHandlerChain(TMessageRecord& msg) {
  if (BeingDestroyed()) return PassOn;
  const bool terminated = LoopTerminated();
  // Indices, not iterators: a handler may attach another while the walk runs.
  for (size_t i = handlers_.size(); i-- > 0;) {
    if (i >= handlers_.size()) continue;
    const TChainLink link = handlers_[i];
    if (terminated && !link.afterTermination) continue;
    if (link.reply) {
      if (const TReply reply = link.reply(*this, msg)) return reply;
    } else if (LRESULT result = 0; link.handler(this, msg, result)) {
      return result;
    }
  }
  return PassOn;
}

LRESULT TWindowObject::WndProc(TMessageRecord& msg) {
  // Held for the whole message: a handler may release the last reference.
  AddRef();
  TReply reply = PassOn;
  LRESULT result = 0;
  TWindowObject* app = ApplicationObject();
  if (LoopState() == TLoopState::Running && app && app != this && app->onMessage_ &&
      app->onMessage_.code(app->onMessage_.data, this, msg, result))
    reply = result;
  if (!reply && onMessage_ && onMessage_.code(onMessage_.data, this, msg, result)) reply = result;
  if (!reply) reply = RunHandlerChain(msg);
  if (!reply && !BeingDestroyed()) reply = TypeHandler(msg);
  result = reply ? *reply : BuiltIn(msg);
  Release(this);
  return result;
}

LRESULT TWindowObject::BuiltIn(const TMessageRecord& m) {
  HWND wnd = m.Wnd;
  TAppWindow* app = AppWindow();
  const bool isMainForm = app && app->MainForm() == this;
  switch (m.Msg) {
    case WM_CLOSE:
      // Once the loop has ended, a quit message would only linger in the queue.
      if ((this == app || isMainForm) && !LoopTerminated()) PostQuitMessage(0);
      break;
    case WM_NCDESTROY:
      // Windows has destroyed the window; the object lives on without it.
      if (wnd) SetWindowLongPtrA(wnd, GWLP_USERDATA, 0);
      if (wnd_.get() == wnd) (void)wnd_.release();
      return 0;
    case WM_SETCURSOR:
      if (!GetCapture() && LOWORD(m.LParam) == HTCLIENT) {
        if (HCURSOR c = g_overrideCursor ? g_overrideCursor : cursor_) {
          ::SetCursor(c);
          return TRUE;
        }
      }
      break;
    case WM_SYSCOMMAND:
      // The whole program minimises, not the main form alone.
      if ((m.WParam & 0xFFF0) == SC_MINIMIZE && isMainForm && app->HandleIfCreated()) {
        PostMessageA(app->HandleIfCreated(), m.Msg, m.WParam, m.LParam);
        return 0;
      }
      break;
    case WM_COMMAND:
      if (m.LParam) {
        HWND child = reinterpret_cast<HWND>(m.LParam);
        if (TWindowObject* target = FromHandle(child); target && target != this)
          return SendMessageA(child, WM_TK_COMMAND_REFLECT, m.WParam, m.LParam);
      }
      break;
    default:
      break;
  }
  if (m.Msg >= WM_CTLCOLORMSGBOX && m.Msg <= WM_CTLCOLORSTATIC && m.LParam) {
    HWND child = reinterpret_cast<HWND>(m.LParam);
    if (TWindowObject* target = FromHandle(child); target && target != this)
      return SendMessageA(child, m.Msg + WM_TK_CTLCOLOR_REFLECT, m.WParam, m.LParam);
  }
  if (m.Msg >= WM_KEYFIRST && m.Msg <= WM_SYSDEADCHAR && g_keyboardStep && wnd) {
    if (const TReply reply = g_keyboardStep(*this, m)) return *reply;
  }
  return wnd ? DefWindowProcA(wnd, m.Msg, m.WParam, m.LParam) : 0;
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
    canvasOwner_.reset();
  }
  accel_.reset();
  popupMenu_ = nullptr;
  wnd_.reset();
  ownIcon_.reset();  // after the window, which used it
  sharedIcon_ = nullptr;
  if (parent_) {
    parent_->children_.Remove(this);
    parent_ = nullptr;
  }
  handlers_.clear();
  caption_.clear();
  if (g_creating == this) g_creating = nullptr;
}

}  // namespace tk
