// Window objects: forms, the application window (Application.h) and the hidden timer
// window. Every toolkit window shares one window procedure; a message meets the
// OnMessage events, the window's handler chain (newest first), its type's handler and
// the built-in handling, which ends in the default procedure.
#pragma once
#include "toolkit/BaseObject.h"
#include "toolkit/Handles.h"
#include "toolkit/PtrList.h"
#include "toolkit/WinApi.h"
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tk {

class TWindowObject;
class TMenuObject;
class TDrawCanvas;
struct TWindowCanvasOwner;

struct TMessageRecord {
  HWND Wnd = nullptr;
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
};

// Button: 0 none, 1 left, 2 right, 3 middle. Shift: the message's wParam, plus
// 0x20 while Alt is down. X, Y: client coordinates.
struct TMouseRecord {
  int Button = 0;
  WPARAM Shift = 0;
  int X = 0;
  int Y = 0;
};

// The program's chain handlers: true when it took the message, `result` then being the
// message's result.
using TMessageHandler = bool (*)(TWindowObject* window, TMessageRecord& msg, LRESULT& result);

// The toolkit's own chain handlers answer with the message's result when they take
// the message, or with nothing when they pass it on.
using TReply = std::optional<LRESULT>;
inline constexpr TReply PassOn = std::nullopt;
using TReplyHandler = TReply (*)(TWindowObject& window, const TMessageRecord& msg);

// Events: a code pointer plus the data pointer it was set with.
using TMessageEvent = bool (*)(void* data, TWindowObject* sender, TMessageRecord& msg, LRESULT& result);
using TNotifyEvent = void (*)(void* data, TWindowObject* sender);
using TPaintEvent = void (*)(void* data, TWindowObject* sender, HDC dc);
using TMouseEvent = void (*)(void* data, TWindowObject* sender, const TMouseRecord& mouse);
using TQueryEndSessionEvent = void (*)(void* data, TWindowObject* sender, bool& accept);

template <typename Code>
struct TEvent {
  Code code = nullptr;
  void* data = nullptr;
  explicit operator bool() const { return code != nullptr; }
};

enum class TSizeLimit { MinWidth = 0, MinHeight = 1, MaxWidth = 2, MaxHeight = 3 };

class TWindowObject : public TBaseObject {
public:
  explicit TWindowObject(const char* subclassName, TWindowObject* parent = nullptr);

  // --- window handle ---
  HWND Handle();  // creates the window (and its parent's) on first use
  HWND HandleIfCreated() const { return wnd_.get(); }
  bool CreateWindowNow();
  TWindowObject* Parent() const { return parent_; }
  const std::string& SubclassName() const { return subclass_; }
  TPtrList& Children() { return children_; }

  // --- geometry (screen coordinates for a top-level window) ---
  int Left();
  int Top();
  int Width();
  int Height();
  void SetLeft(int v);
  void SetTop(int v);
  void SetWidth(int v);
  void SetHeight(int v);
  void SetPosition(int x, int y);
  void SetClientSize(int w, int h);
  int ClientWidth();
  int ClientHeight();

  // --- styles ---
  DWORD ClassStyle() const { return classStyle_; }
  void SetClassStyle(DWORD v);
  DWORD Style();
  DWORD ExStyle();
  void SetStyle(DWORD v);
  void SetExStyle(DWORD v);
  void SetHasCaption(bool on);
  bool StayOnTop();
  void SetStayOnTop(bool on);
  // 255 opaque; layered only below 255, unless `layered` keeps it so (a window passes
  // clicks only while layered as well as transparent).
  void SetAlpha(int a, bool layered = false);
  int Alpha() const { return alpha_; }

  // --- appearance ---
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  uint32_t Colour() const { return colour_; }
  void SetColour(uint32_t c) { colour_ = c; Invalidate(); }
  uint32_t FontColour() const { return fontColour_; }
  void SetFontColour(uint32_t c) { fontColour_ = c; }
  // Made on first use. While OnPaint runs it draws on the paint DC (the buffer when
  // double buffered), otherwise on the window's own DC.
  TDrawCanvas* Canvas();
  // The window owns an icon given here and destroys the one it had before.
  void SetIcon(tk::unique_hicon icon);
  // A loaded resource icon: shared, never destroyed by the window.
  void SetIconResource(HINSTANCE module, const char* name);
  HICON Icon();
  void SetCursor(HCURSOR cursor) { cursor_ = cursor; }  // shared cursor, not destroyed

  // --- visibility ---
  bool Visible();
  void SetVisible(bool on);
  void Show();
  void Hide() { SetVisible(false); }
  void Invalidate();

  // --- behaviour ---
  void SetSizeLimit(TSizeLimit which, int value);
  int SizeLimit(TSizeLimit which) const { return limits_[static_cast<int>(which)]; }
  // Shown on WM_CONTEXTMENU by the menus' handler (see MenuObject.h).
  void SetPopupMenu(TMenuObject* menu) { popupMenu_ = menu; }
  TMenuObject* PopupMenu() const { return popupMenu_; }
  void SetDoubleBuffered(bool on);
  bool DoubleBuffered() const { return doubleBuffered_; }
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  // Adds the handler once; later handlers see messages first. Once the loop has ended,
  // only handlers attached with runAfterTermination are called.
  void AttachHandler(TMessageHandler handler, bool runAfterTermination = false);
  void AttachHandler(TReplyHandler handler, bool runAfterTermination = false);
  bool HasHandler(TMessageHandler handler) const;
  size_t HandlerCount() const { return handlers_.size(); }

  // --- events ---
  void SetOnMessage(TMessageEvent code, void* data) { onMessage_ = {code, data}; }
  void SetOnPaint(TPaintEvent code, void* data);
  void SetOnResize(TNotifyEvent code, void* data);
  void SetOnMove(TNotifyEvent code, void* data);
  void SetOnMouseMove(TMouseEvent code, void* data);
  void SetOnMouseDown(TMouseEvent code, void* data);
  void SetOnMouseUp(TMouseEvent code, void* data);
  void SetOnMouseDblClk(TMouseEvent code, void* data);
  void SetOnMouseWheel(TMouseEvent code, void* data);
  void SetOnMouseLeave(TNotifyEvent code, void* data);
  void SetOnQueryEndSession(TQueryEndSessionEvent code, void* data);
  // 1 while OnQueryEndSession runs for a shutdown, 2 for a logoff, else 0.
  int EndSessionCause() const { return endSessionCause_; }

  // The DC of the paint in progress (the memory DC while double buffering), else null.
  HDC PaintDC() const { return paintDC_; }

  // --- menus and accelerators (kept here; built, shown and released by TMenuObject) ---
  std::vector<TMenuObject*>& Menus() { return menus_; }
  HACCEL AcceleratorTable() const { return accel_.get(); }
  void SetAcceleratorTable(tk::unique_haccel table);

  // The one window procedure of every toolkit class.
  static LRESULT CALLBACK GlobalWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // True for a window whose procedure is the toolkit's.
  static TWindowObject* FromHandle(HWND wnd);

  virtual LRESULT WndProc(TMessageRecord& msg);

protected:
  ~TWindowObject() override;
  void BeforeDestroy() override;
  // The window type's own handler, after the chain; forms have none.
  virtual TReply TypeHandler(const TMessageRecord&) { return PassOn; }
  virtual void AfterCreate() {}

private:
  friend struct TBuiltInHandlers;
  struct TChainLink {
    TMessageHandler handler;  // one of the two is set
    TReplyHandler reply;
    bool afterTermination;
  };
  void AttachLink(const TChainLink& link);
  TReply RunHandlerChain(TMessageRecord& msg);
  LRESULT BuiltIn(const TMessageRecord& msg);
  void ApplyBounds();
  void RefreshBounds();
  void RefreshStyles();
  void ApplyAlphaToLive();

  std::string subclass_;
  TWindowObject* parent_ = nullptr;
  tk::unique_hwnd wnd_;
  DWORD classStyle_ = CS_OWNDC;
  DWORD style_ = WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_OVERLAPPEDWINDOW;
  DWORD exStyle_ = 0;
  RECT bounds_{0, 0, 0, 0};
  bool positionSet_ = false;
  std::string caption_;
  uint32_t colour_ = 0x8000000F;
  uint32_t fontColour_ = 0x80000008;
  TDrawCanvas* canvas_ = nullptr;
  std::unique_ptr<TWindowCanvasOwner> canvasOwner_;
  tk::unique_hicon ownIcon_;
  HICON sharedIcon_ = nullptr;
  HCURSOR cursor_ = nullptr;
  bool visible_ = true;
  std::vector<TChainLink> handlers_;
  TPtrList children_;
  int limits_[4] = {0, 0, 0, 0};  // indexed by TSizeLimit
  int alpha_ = -1;  // nothing given yet
  bool layered_ = false;  // layered even when opaque
  TMenuObject* popupMenu_ = nullptr;
  tk::unique_haccel accel_;
  std::vector<TMenuObject*> menus_;
  bool doubleBuffered_ = false;
  TReplyHandler keptNewest_ = nullptr;  // the double buffer, once set
  bool paintingBuffer_ = false;
  HDC paintDC_ = nullptr;
  bool mouseInside_ = false;
  int endSessionCause_ = 0;

  TEvent<TMessageEvent> onMessage_;
  TEvent<TPaintEvent> onPaint_;
  TEvent<TNotifyEvent> onResize_, onMove_, onMouseLeave_;
  TEvent<TMouseEvent> onMouseMove_, onMouseDown_, onMouseUp_, onMouseDblClk_, onMouseWheel_;
  TEvent<TQueryEndSessionEvent> onQueryEndSession_;
};

// A form (subclass "Form") of the parent, with the form background and focus handlers.
TWindowObject* CreateForm(TWindowObject* parent, const std::string& caption);

// Called (once per hook) at the start of every window object's destruction, while its
// window still exists: for services that keep pointers to windows.
using TWindowDestroyHook = void (*)(TWindowObject* window);
void AddWindowDestroyHook(TWindowDestroyHook hook);
// Process-wide step for keyboard messages that reach the built-in handling: the menus'
// accelerator translation, set by the first accelerator table.
void SetKeyboardStep(TReplyHandler step);
// Process-wide cursor shown over every toolkit window's client area; null = none.
void SetOverrideCursor(HCURSOR cursor);

}  // namespace tk
