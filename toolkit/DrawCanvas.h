// A device context with a lazily made pen, brush and font, selected only when a
// primitive needs them.
#pragma once
#include "toolkit/WinApi.h"

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/BaseObject.h"
#include "toolkit/Colour.h"
#include "toolkit/DrawTool.h"
#include "toolkit/Handles.h"

namespace tk {

// What a canvas needs from the window it belongs to (filled in by the window layer).
class TCanvasOwner {
public:
  virtual HWND CanvasWindow() = 0;
  virtual TColor CanvasColour() = 0;      // the window's colour
  virtual TColor CanvasFontColour() = 0;  // the window's text colour
protected:
  ~TCanvasOwner() = default;
};

// Where a context came from, which decides how it is given back.
enum class TDcSource : uint8_t {
  Owned,     // made for the canvas: DeleteDC
  WindowDC,  // the owner window's GetDC: ReleaseDC
  PaintDC,   // borrowed (BeginPaint, a double buffer): left alone
};

// State byte bits.
constexpr uint8_t CanvasHasDC = 1;
constexpr uint8_t CanvasPen = 2;
constexpr uint8_t CanvasBrush = 4;
constexpr uint8_t CanvasFont = 8;

// A window's GetDC, given back with ReleaseDC; counted with the GDI handles.
class TWindowDc {
public:
  TWindowDc() = default;
  TWindowDc(const TWindowDc&) = delete;
  TWindowDc& operator=(const TWindowDc&) = delete;
  ~TWindowDc() { reset(); }
  HDC get() const { return dc_; }
  // Gives back the held DC, then holds dc (obtained with GetDC(wnd)), if any.
  void reset(HWND wnd = nullptr, HDC dc = nullptr);
private:
  HWND wnd_ = nullptr;
  HDC dc_ = nullptr;
};

class TDrawCanvas;
using TCanvasNotify = void (*)(void* data, TDrawCanvas* canvas);

// Ends with Release like every toolkit object.
class TDrawCanvas final : public TBaseObject {
public:
  // Tools, made on first use.
  TDrawTool* Brush();
  TDrawTool* Font();
  TDrawTool* Pen();
  bool HasBrush() const { return brush_ != nullptr; }
  bool HasFont() const { return font_ != nullptr; }
  bool HasPen() const { return pen_ != nullptr; }

  // The context; a canvas with a supplier asks it when there is none.
  HDC Handle();
  // The context held now, without asking the supplier for one.
  HDC HandleIfMade() const { return dc_; }
  // Gives back the current context (tools taken out first) and takes dc; null detaches.
  void SetHandle(HDC dc, TDcSource source);
  // The supplier is expected to call SetHandle.
  void SetContextSupplier(TCanvasNotify code, void* data) { supplier_ = {code, data}; }
  // Runs first in every drawing primitive.
  void SetBeforeDrawing(TCanvasNotify code, void* data) { beforeDrawing_ = {code, data}; }

  uint8_t State() const { return state_; }
  POINT PenPos() const { return penPos_; }
  uint32_t CopyMode() const { return copyMode_; }
  void SetCopyMode(uint32_t rop) { copyMode_ = rop; }

  // Primitives with GDI's pixel rules: right and bottom edges exclusive, LineTo
  // leaves out its end point. Without a context they do nothing.
  void MoveTo(int32_t x, int32_t y);
  void LineTo(int32_t x, int32_t y);
  void Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  void Polygon(const POINT* points, int32_t lastIndex);
  void FillRect(const RECT& rect);
  // One-pixel frame in the brush's colour (never the pen's).
  void FrameRect(const RECT& rect);
  // DrawTextA; DT_CALCRECT (0x400) only measures, into rect. Returns the text height.
  int32_t DrawTextRect(const char* text, RECT& rect, uint32_t flags);
  int32_t DrawTextRect(const std::string& text, RECT& rect, uint32_t flags);

  friend TDrawCanvas* CreateDrawCanvas(TCanvasOwner* owner);

private:
  explicit TDrawCanvas(TCanvasOwner* owner) : owner_(owner) {}
  ~TDrawCanvas() override = default;
  void BeforeDestroy() override;

  // Runs the before-drawing notification and selects what `needs` names; null without a context.
  HDC Prepare(uint8_t needs);
  void DeselectTools();
  void ReleaseContext();
  TDrawTool* MakeTool(TDrawTool*& slot, TToolKind kind);
  static void ToolChanged(void* data, TDrawTool* tool);

  TCanvasOwner* owner_;
  HDC dc_ = nullptr;
  TDcSource source_ = TDcSource::Owned;
  tk::unique_hdc ownedDc_;
  TWindowDc windowDc_;
  POINT penPos_{0, 0};
  TDrawTool* brush_ = nullptr;
  TDrawTool* font_ = nullptr;
  TDrawTool* pen_ = nullptr;
  uint8_t state_ = 0;
  uint32_t copyMode_ = SRCCOPY;
  std::pair<TCanvasNotify, void*> beforeDrawing_{nullptr, nullptr};
  std::pair<TCanvasNotify, void*> supplier_{nullptr, nullptr};
};

// A canvas with no context yet; owner may be null (bitmap canvases).
TDrawCanvas* CreateDrawCanvas(TCanvasOwner* owner = nullptr);

}  // namespace tk
