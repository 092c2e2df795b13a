#include "toolkit/DrawCanvas.h"

#include <climits>
#include <cstring>

namespace tk {

void TWindowDc::reset(HWND wnd, HDC dc) {
  if (dc_) {
    ::ReleaseDC(wnd_, dc_);
    --tk::LiveHandles(tk::THandleFamily::Gdi);
  }
  wnd_ = wnd;
  dc_ = dc;
  if (dc_) ++tk::LiveHandles(tk::THandleFamily::Gdi);
}

TDrawCanvas* CreateDrawCanvas(TCanvasOwner* owner) { return new TDrawCanvas(owner); }

namespace {

int ClampCount(size_t n) { return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n); }

}  // namespace

void TDrawCanvas::BeforeDestroy() {
  ReleaseContext();
  TDrawTool* tools[] = {brush_, font_, pen_};
  brush_ = font_ = pen_ = nullptr;
  for (TDrawTool* tool : tools) {
    if (!tool) continue;
    tool->SetChangeNotify(nullptr, nullptr);
    Release(tool);
  }
}

void TDrawCanvas::ToolChanged(void* data, TDrawTool*) {
  static_cast<TDrawCanvas*>(data)->DeselectTools();
}

TDrawTool* TDrawCanvas::MakeTool(TDrawTool*& slot, TToolKind kind) {
  if (!slot) {
    slot = CreateDrawTool(kind);
    if (owner_ && kind == TToolKind::Brush) slot->SetColour(owner_->CanvasColour());
    if (owner_ && kind == TToolKind::Font) slot->SetColour(owner_->CanvasFontColour());
    slot->SetChangeNotify(&TDrawCanvas::ToolChanged, this);
  }
  return slot;
}

TDrawTool* TDrawCanvas::Brush() { return MakeTool(brush_, TToolKind::Brush); }
TDrawTool* TDrawCanvas::Font() { return MakeTool(font_, TToolKind::Font); }
TDrawTool* TDrawCanvas::Pen() { return MakeTool(pen_, TToolKind::Pen); }

HDC TDrawCanvas::Handle() {
  if (!dc_ && supplier_.first) supplier_.first(supplier_.second, this);
  return dc_;
}

void TDrawCanvas::DeselectTools() {
  if (dc_ && (state_ & (CanvasPen | CanvasBrush | CanvasFont))) {
    ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    ::SelectObject(dc_, ::GetStockObject(SYSTEM_FONT));
  }
  state_ &= static_cast<uint8_t>(~(CanvasPen | CanvasBrush | CanvasFont));
}

void TDrawCanvas::ReleaseContext() {
  if (!dc_) return;
  DeselectTools();
  switch (source_) {
    case TDcSource::Owned: ownedDc_.reset(); break;
    case TDcSource::WindowDC: windowDc_.reset(); break;
    case TDcSource::PaintDC: break;
  }
  dc_ = nullptr;
  state_ = 0;
}

void TDrawCanvas::SetHandle(HDC dc, TDcSource source) {
  if (dc && dc == dc_) return;  // giving back the context we are about to keep would free it
  ReleaseContext();
  if (!dc) return;
  dc_ = dc;
  source_ = source;
  if (source == TDcSource::Owned) ownedDc_.reset(dc);
  if (source == TDcSource::WindowDC) windowDc_.reset(owner_ ? owner_->CanvasWindow() : nullptr, dc);
  state_ = CanvasHasDC;
  ::MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
}

HDC TDrawCanvas::Prepare(uint8_t needs) {
  if (beforeDrawing_.first) beforeDrawing_.first(beforeDrawing_.second, this);
  HDC dc = Handle();
  if (!dc) return nullptr;

  // A selected tool whose system colour moved must come out before it is re-made.
  if (((state_ & CanvasPen) && pen_ && pen_->IsStale()) ||
      ((state_ & CanvasBrush) && brush_ && brush_->IsStale()) ||
      ((state_ & CanvasFont) && font_ && font_->IsStale()))
    DeselectTools();

  if ((needs & CanvasFont) && !(state_ & CanvasFont)) {
    if (font_) {
      ::SelectObject(dc, font_->Handle());
      ::SetTextColor(dc, ColourToRGB(font_->Colour()));
    } else if (owner_) {
      ::SetTextColor(dc, ColourToRGB(owner_->CanvasFontColour()));
    }
    state_ |= CanvasFont;
  }
  if ((needs & CanvasPen) && !(state_ & CanvasPen)) {
    if (pen_) {
      ::SelectObject(dc, pen_->Handle());
      ::SetROP2(dc, pen_->PenMode() + 1);
      // Dashed pens paint their gaps with the background colour, which the brush sets.
      if (pen_->PenStyle() >= PS_DASH && pen_->PenStyle() <= PS_DASHDOT) needs |= CanvasBrush;
    }
    state_ |= CanvasPen;
  }
  if ((needs & CanvasBrush) && !(state_ & CanvasBrush)) {
    if (brush_) {
      ::SelectObject(dc, brush_->Handle());
      const COLORREF rgb = ColourToRGB(brush_->Colour());
      if (brush_->BrushStyle() == BrushSolid) {
        ::SetBkColor(dc, rgb);
        ::SetBkMode(dc, OPAQUE);
      } else {
        ::SetBkColor(dc, ~rgb & 0xFFFFFFu);
        ::SetBkMode(dc, TRANSPARENT);
      }
    } else {
      if (owner_) ::SetBkColor(dc, ColourToRGB(owner_->CanvasColour()));
      ::SetBkMode(dc, OPAQUE);
    }
    state_ |= CanvasBrush;
  }
  return dc;
}

void TDrawCanvas::MoveTo(int32_t x, int32_t y) {
  penPos_ = {x, y};
  if (HDC dc = Handle()) ::MoveToEx(dc, x, y, nullptr);
}

void TDrawCanvas::LineTo(int32_t x, int32_t y) {
  HDC dc = Prepare(CanvasPen | CanvasBrush);
  if (!dc) return;
  ::LineTo(dc, x, y);
  penPos_ = {x, y};
}

void TDrawCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (HDC dc = Prepare(CanvasPen | CanvasBrush)) ::Rectangle(dc, x1, y1, x2, y2);
}

void TDrawCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (HDC dc = Prepare(CanvasPen | CanvasBrush)) ::Ellipse(dc, x1, y1, x2, y2);
}

void TDrawCanvas::Polygon(const POINT* points, int32_t lastIndex) {
  if (!points || lastIndex < 0 || lastIndex == INT32_MAX) return;
  if (HDC dc = Prepare(CanvasPen | CanvasBrush)) ::Polygon(dc, points, lastIndex + 1);
}

void TDrawCanvas::FillRect(const RECT& rect) {
  HDC dc = Prepare(CanvasBrush);
  if (!dc) return;
  if (brush_) {
    ::FillRect(dc, &rect, static_cast<HBRUSH>(brush_->Handle()));
  } else {
    // Without a brush tool the fill comes from the window's colour, as the background does.
    tk::unique_hbrush b(::CreateSolidBrush(owner_ ? ColourToRGB(owner_->CanvasColour()) : 0xFFFFFFu));
    ::FillRect(dc, &rect, b.get());
  }
}

void TDrawCanvas::FrameRect(const RECT& rect) {
  HDC dc = Prepare(0);
  if (!dc) return;
  COLORREF rgb = 0xFFFFFFu;
  if (brush_) rgb = ColourToRGB(brush_->Colour());
  else if (owner_) rgb = ColourToRGB(owner_->CanvasColour());
  tk::unique_hbrush b(::CreateSolidBrush(rgb));
  ::FrameRect(dc, &rect, b.get());
}

int32_t TDrawCanvas::DrawTextRect(const char* text, RECT& rect, uint32_t flags) {
  if (!text) return 0;
  return DrawTextRect(std::string(text), rect, flags);
}

int32_t TDrawCanvas::DrawTextRect(const std::string& text, RECT& rect, uint32_t flags) {
  HDC dc = Prepare(CanvasFont | CanvasBrush);
  if (!dc) return 0;
  return ::DrawTextA(dc, text.c_str(), ClampCount(text.size()), &rect, flags);
}

}  // namespace tk
