// The handlers the toolkit attaches to windows for the program's use, and the setters
// that attach them. Each answers with the message's result or passes it on.
#include "toolkit/WindowObject.h"
#include "toolkit/Application.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawCanvas.h"
#include "toolkit/MemoryDC.h"
#include <commctrl.h>
#include <windowsx.h>
#include <utility>

namespace tk {

namespace {

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

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MOUSEWHEEL; }

}  // namespace

// Friends of TWindowObject.
struct TBuiltInHandlers {
  static TReply FormBackground(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg != WM_ERASEBKGND || !m.WParam) return PassOn;
    RECT rc{};
    GetClientRect(m.Wnd, &rc);
    unique_hbrush brush(CreateSolidBrush(ColourToRGB(w.colour_)));
    FillRect(reinterpret_cast<HDC>(m.WParam), &rc, brush.get());
    return PassOn;  // later handlers may draw too
  }

  static TReply FormFocus(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg == WM_SETFOCUS) {
      // The form has no focusable children of its own; a child control gets it back.
      for (void* p : w.children_) {
        auto* child = static_cast<TWindowObject*>(p);
        if (child->HandleIfCreated() && (child->style_ & WS_CHILD) && (child->style_ & WS_TABSTOP)) {
          SetFocus(child->HandleIfCreated());
          break;
        }
      }
    } else if (m.Msg == WM_ENDSESSION && m.WParam) {
      EndSessionNow();
    }
    return PassOn;
  }

  static TReply SizeLimits(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg != WM_GETMINMAXINFO) return PassOn;
    DefWindowProcA(m.Wnd, m.Msg, m.WParam, m.LParam);
    auto* info = reinterpret_cast<MINMAXINFO*>(m.LParam);
    const auto limit = [&w](TSizeLimit which) { return w.limits_[static_cast<int>(which)]; };
    if (limit(TSizeLimit::MaxWidth) > 0) info->ptMaxSize.x = info->ptMaxTrackSize.x = limit(TSizeLimit::MaxWidth);
    if (limit(TSizeLimit::MaxHeight) > 0) info->ptMaxSize.y = info->ptMaxTrackSize.y = limit(TSizeLimit::MaxHeight);
    if (limit(TSizeLimit::MinWidth) > 0) info->ptMinTrackSize.x = limit(TSizeLimit::MinWidth);
    if (limit(TSizeLimit::MinHeight) > 0) info->ptMinTrackSize.y = limit(TSizeLimit::MinHeight);
    return 0;
  }

  static TReply Paint(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg != WM_PAINT || !w.onPaint_) return PassOn;
    unique_hrgn update(CreateRectRgn(0, 0, 0, 0));
    if (update) GetUpdateRgn(m.Wnd, update.get(), FALSE);
    PAINTSTRUCT ps{};
    HDC dc = reinterpret_cast<HDC>(m.WParam);
    const bool began = dc == nullptr;
    if (began) dc = BeginPaint(m.Wnd, &ps);
    HDC previous = std::exchange(w.paintDC_, dc);
    if (w.canvas_) w.canvas_->SetHandle(nullptr, TDcSource::PaintDC);  // the next use takes the paint DC
    if (w.onPaint_) w.onPaint_.code(w.onPaint_.data, &w, dc);
    if (w.canvas_) w.canvas_->SetHandle(nullptr, TDcSource::PaintDC);
    if (began) EndPaint(m.Wnd, &ps);
    w.paintDC_ = previous;
    return 0;
  }

  static TReply Mouse(TWindowObject& w, const TMessageRecord& m) {
    if (!IsMouseMessage(m.Msg)) return PassOn;
    TMouseRecord rec;
    rec.Shift = m.WParam;
    if (GetKeyState(VK_MENU) < 0) rec.Shift |= 0x20;
    POINT pt{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
    // The wheel message carries screen coordinates; events always get client ones.
    if (m.Msg == WM_MOUSEWHEEL) ScreenToClient(m.Wnd, &pt);
    rec.X = pt.x;
    rec.Y = pt.y;
    // Left, right and middle come in runs of three: down, up, double click.
    if (m.Msg >= WM_LBUTTONDOWN && m.Msg <= WM_MBUTTONDBLCLK) {
      const UINT step = m.Msg - WM_LBUTTONDOWN;
      rec.Button = static_cast<int>(step / 3) + 1;
      const TEvent<TMouseEvent>& event =
          step % 3 == 0 ? w.onMouseDown_ : step % 3 == 1 ? w.onMouseUp_ : w.onMouseDblClk_;
      if (event) event.code(event.data, &w, rec);
    } else if (m.Msg == WM_MOUSEMOVE) {
      if (w.onMouseMove_) w.onMouseMove_.code(w.onMouseMove_.data, &w, rec);
    } else if (m.Msg == WM_MOUSEWHEEL) {
      if (w.onMouseWheel_) w.onMouseWheel_.code(w.onMouseWheel_.data, &w, rec);
    }
    return PassOn;
  }

  static TReply MouseLeave(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg == WM_MOUSELEAVE) {
      if (w.mouseInside_) {
        w.mouseInside_ = false;
        if (w.onMouseLeave_) w.onMouseLeave_.code(w.onMouseLeave_.data, &w);
        w.Invalidate();
      }
      return PassOn;
    }
    if (!IsMouseMessage(m.Msg)) return PassOn;
    POINT pt{};
    GetCursorPos(&pt);
    ScreenToClient(m.Wnd, &pt);
    RECT rc{};
    GetClientRect(m.Wnd, &rc);
    const bool inside = PtInRect(&rc, pt) != FALSE;
    if (inside == w.mouseInside_) return PassOn;
    w.Invalidate();
    w.mouseInside_ = inside;
    if (inside) {
      TrackLeave(m.Wnd, TME_LEAVE);
    } else {
      TrackLeave(m.Wnd, TME_CANCEL | TME_LEAVE);
      if (w.onMouseLeave_) w.onMouseLeave_.code(w.onMouseLeave_.data, &w);
    }
    return PassOn;
  }

  static TReply ResizeMove(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg == WM_SIZE && w.onResize_) w.onResize_.code(w.onResize_.data, &w);
    else if (m.Msg == WM_MOVE && w.onMove_) w.onMove_.code(w.onMove_.data, &w);
    return PassOn;
  }

  static TReply QueryEndSession(TWindowObject& w, const TMessageRecord& m) {
    if (m.Msg != WM_QUERYENDSESSION) return PassOn;
    bool accept = true;
    w.endSessionCause_ = (static_cast<DWORD>(m.LParam) & 0x80000000u) ? 2 : 1;
    if (w.onQueryEndSession_) w.onQueryEndSession_.code(w.onQueryEndSession_.data, &w, accept);
    w.endSessionCause_ = 0;
    return accept ? TRUE : FALSE;
  }

  static TReply DoubleBuffer(TWindowObject& w, const TMessageRecord& m) {
    if (w.paintingBuffer_) return PassOn;
    switch (m.Msg) {
      case WM_ERASEBKGND:
        return TRUE;  // the paint below covers everything
      case WM_HSCROLL:
      case WM_VSCROLL:
        w.Invalidate();
        return PassOn;
      case WM_PAINT:
        PaintBuffered(w, m.Wnd);
        return 0;
      default:
        return PassOn;
    }
  }

  // The normal handlers (background, OnPaint) draw into one off-screen bitmap, which
  // reaches the screen in a single copy through the window DC.
  static void PaintBuffered(TWindowObject& w, HWND wnd) {
    ValidateRect(wnd, nullptr);
    RECT client{};
    GetClientRect(wnd, &client);
    if (client.right <= 0 || client.bottom <= 0) return;
    RECT window{};
    GetWindowRect(wnd, &window);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    OffsetRect(&client, origin.x - window.left, origin.y - window.top);  // in window coordinates

    TScopedWindowDC target(wnd);
    unique_hrgn clip(CreateRectRgnIndirect(&client));
    TMemoryDC buffer(target.get(), client);
    if (!buffer || !clip) return;
    w.paintingBuffer_ = true;
    w.Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(buffer.get()), 0);
    w.Perform(WM_PAINT, reinterpret_cast<WPARAM>(buffer.get()), 0);
    w.paintingBuffer_ = false;
    // Child windows paint themselves; keep the copy off their rectangles.
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (!IsWindowVisible(child)) continue;
      RECT cr{};
      GetWindowRect(child, &cr);
      OffsetRect(&cr, -window.left, -window.top);
      unique_hrgn childRgn(CreateRectRgnIndirect(&cr));
      if (childRgn) CombineRgn(clip.get(), clip.get(), childRgn.get(), RGN_DIFF);
    }
    buffer.ClipTo(clip.get());
  }  // the buffer is copied to the window here
};

using H = TBuiltInHandlers;

TWindowObject* CreateForm(TWindowObject* parent, const std::string& caption) {
  auto* form = new TWindowObject("Form", parent);
  form->SetClassStyle(form->ClassStyle() | CS_DBLCLKS);
  form->SetCaption(caption);
  form->AttachHandler(&H::FormBackground);
  form->AttachHandler(&H::FormFocus);
  return form;
}

void TWindowObject::SetSizeLimit(TSizeLimit which, int value) {
  const int i = static_cast<int>(which);
  if (i < 0 || i > 3) return;
  limits_[i] = value;
  AttachHandler(&H::SizeLimits);
}

void TWindowObject::SetDoubleBuffered(bool on) {
  if (!on || doubleBuffered_) return;
  doubleBuffered_ = true;
  keptNewest_ = &H::DoubleBuffer;
  AttachHandler(keptNewest_);
}

void TWindowObject::SetOnPaint(TPaintEvent code, void* data) {
  onPaint_ = {code, data};
  AttachHandler(&H::Paint);
}
void TWindowObject::SetOnResize(TNotifyEvent code, void* data) {
  onResize_ = {code, data};
  AttachHandler(&H::ResizeMove);
}
void TWindowObject::SetOnMove(TNotifyEvent code, void* data) {
  onMove_ = {code, data};
  AttachHandler(&H::ResizeMove);
}
void TWindowObject::SetOnMouseMove(TMouseEvent code, void* data) {
  onMouseMove_ = {code, data};
  AttachHandler(&H::Mouse);
}
void TWindowObject::SetOnMouseDown(TMouseEvent code, void* data) {
  onMouseDown_ = {code, data};
  AttachHandler(&H::Mouse);
}
void TWindowObject::SetOnMouseUp(TMouseEvent code, void* data) {
  onMouseUp_ = {code, data};
  AttachHandler(&H::Mouse);
}
void TWindowObject::SetOnMouseDblClk(TMouseEvent code, void* data) {
  onMouseDblClk_ = {code, data};
  AttachHandler(&H::Mouse);
}
void TWindowObject::SetOnMouseWheel(TMouseEvent code, void* data) {
  onMouseWheel_ = {code, data};
  AttachHandler(&H::Mouse);
}
void TWindowObject::SetOnMouseLeave(TNotifyEvent code, void* data) {
  onMouseLeave_ = {code, data};
  TrackMouseEventFn();  // InitCommonControls once
  AttachHandler(&H::MouseLeave);
}
void TWindowObject::SetOnQueryEndSession(TQueryEndSessionEvent code, void* data) {
  onQueryEndSession_ = {code, data};
  AttachHandler(&H::QueryEndSession);
}

}  // namespace tk
