#include "toolkit/DrawCanvas.h"

#include <climits>
#include <cstring>

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

// A surface colour above 0xFFFFFF names a system colour by its low byte.
TColour SurfaceColour(TColor c) { return c > 0xFFFFFFu ? SysColour(c & 0xFFu) : c; }

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
  if (dc_ && (state_ & (kCanvasPen | kCanvasBrush | kCanvasFont))) {
    ::SelectObject(dc_, ::GetStockObject(BLACK_PEN));
    ::SelectObject(dc_, ::GetStockObject(NULL_BRUSH));
    ::SelectObject(dc_, ::GetStockObject(SYSTEM_FONT));
  }
  state_ &= static_cast<uint8_t>(~(kCanvasPen | kCanvasBrush | kCanvasFont));
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
  state_ = kCanvasHasDC;
  ::MoveToEx(dc_, penPos_.x, penPos_.y, nullptr);
}

HDC TDrawCanvas::Prepare(uint8_t needs) {
  if (beforeDrawing_.first) beforeDrawing_.first(beforeDrawing_.second, this);
  HDC dc = Handle();
  if (!dc) return nullptr;

  // A selected tool whose system colour moved must come out before it is re-made.
  if (((state_ & kCanvasPen) && pen_ && pen_->IsStale()) ||
      ((state_ & kCanvasBrush) && brush_ && brush_->IsStale()) ||
      ((state_ & kCanvasFont) && font_ && font_->IsStale()))
    DeselectTools();

  if ((needs & kCanvasFont) && !(state_ & kCanvasFont)) {
    if (font_) {
      ::SelectObject(dc, font_->Handle());
      ::SetTextColor(dc, ColourToRGB(font_->Colour()));
    } else if (owner_) {
      ::SetTextColor(dc, ColourToRGB(owner_->CanvasFontColour()));
    }
    state_ |= kCanvasFont;
  }
  if ((needs & kCanvasPen) && !(state_ & kCanvasPen)) {
    if (pen_) {
      ::SelectObject(dc, pen_->Handle());
      ::SetROP2(dc, pen_->PenMode() + 1);
      // Dashed pens paint their gaps with the background colour, which the brush sets.
      if (pen_->PenStyle() >= PS_DASH && pen_->PenStyle() <= PS_DASHDOT) needs |= kCanvasBrush;
    }
    state_ |= kCanvasPen;
  }
  if ((needs & kCanvasBrush) && !(state_ & kCanvasBrush)) {
    if (brush_) {
      ::SelectObject(dc, brush_->Handle());
      const COLORREF rgb = ColourToRGB(brush_->Colour());
      if (brush_->BrushStyle() == kBrushSolid) {
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
    state_ |= kCanvasBrush;
  }
  return dc;
}

void TDrawCanvas::MoveTo(int32_t x, int32_t y) {
  penPos_ = {x, y};
  if (HDC dc = Handle()) ::MoveToEx(dc, x, y, nullptr);
}

void TDrawCanvas::LineTo(int32_t x, int32_t y) {
  HDC dc = Prepare(kCanvasPen | kCanvasBrush);
  if (!dc) return;
  ::LineTo(dc, x, y);
  penPos_ = {x, y};
}

void TDrawCanvas::Rectangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (HDC dc = Prepare(kCanvasPen | kCanvasBrush)) ::Rectangle(dc, x1, y1, x2, y2);
}

void TDrawCanvas::Ellipse(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (HDC dc = Prepare(kCanvasPen | kCanvasBrush)) ::Ellipse(dc, x1, y1, x2, y2);
}

void TDrawCanvas::Polygon(const POINT* points, int32_t lastIndex) {
  if (!points || lastIndex < 0 || lastIndex == INT32_MAX) return;
  if (HDC dc = Prepare(kCanvasPen | kCanvasBrush)) ::Polygon(dc, points, lastIndex + 1);
}

void TDrawCanvas::FillRect(const RECT& rect) {
  HDC dc = Prepare(kCanvasBrush);
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

int32_t TDrawCanvas::DrawText(const char* text, RECT& rect, uint32_t flags) {
  if (!text) return 0;
  return DrawText(std::string(text), rect, flags);
}

int32_t TDrawCanvas::DrawText(const std::string& text, RECT& rect, uint32_t flags) {
  HDC dc = Prepare(kCanvasFont | kCanvasBrush);
  if (!dc) return 0;
  return ::DrawTextA(dc, text.c_str(), ClampCount(text.size()), &rect, flags);
}

// ---- the drawing surface ----
// Setters that receive the current value do nothing, so repeated colours keep their handles.

void TDrawCanvas::UsePen(TColor colour) {
  TDrawTool* pen = Pen();
  pen->SetPenStyle(PS_SOLID);
  pen->SetPenWidth(0);
  pen->SetPenMode(R2_COPYPEN - 1);
  pen->SetColour(SurfaceColour(colour));
}

void TDrawCanvas::UseBrush(TColor colour) {
  TDrawTool* brush = Brush();
  brush->SetBrushBitmap(nullptr);
  brush->SetBrushStyle(kBrushSolid);
  brush->SetColour(SurfaceColour(colour));
}

void TDrawCanvas::UseFont(const TFontSpec& font) {
  TDrawTool* tool = Font();
  tool->SetFontName(font.face);
  tool->SetFontHeight(font.height);
  tool->SetFontStyle(font.bold ? kFontBold : 0);
}

void TDrawCanvas::FillRect(const TRect& r, TColor colour) {
  UseBrush(colour);
  const RECT rc{r.left, r.top, r.right, r.bottom};
  FillRect(rc);
}

void TDrawCanvas::FrameRect(const TRect& r, TColor colour) {
  // Only the colour matters to a frame; leaving the style alone spares a brush re-make.
  Brush()->SetColour(SurfaceColour(colour));
  const RECT rc{r.left, r.top, r.right, r.bottom};
  FrameRect(rc);
}

void TDrawCanvas::Line(TPoint32 a, TPoint32 b, TColor colour) {
  UsePen(colour);
  MoveTo(a.x, a.y);
  LineTo(b.x, b.y);
}

void TDrawCanvas::Rectangle(const TRect& r, TColor outline, TColor fill) {
  UsePen(outline);
  UseBrush(fill);
  Rectangle(r.left, r.top, r.right, r.bottom);
}

void TDrawCanvas::Ellipse(const TRect& r, TColor outline, TColor fill) {
  UsePen(outline);
  UseBrush(fill);
  Ellipse(r.left, r.top, r.right, r.bottom);
}

void TDrawCanvas::Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) {
  if (!points || count == 0) return;
  UsePen(outline);
  UseBrush(fill);
  const int n = ClampCount(count);
  points_.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) points_[static_cast<size_t>(i)] = {points[i].x, points[i].y};
  Polygon(points_.data(), n - 1);
}

// DT_NOPREFIX: the surface draws its strings as they are; an '&' must not turn into an
// underline.
TSize TDrawCanvas::MeasureText(const std::string& text, const TFontSpec& font) {
  UseFont(font);
  RECT rc{0, 0, 0, 0};
  DrawText(text, rc, DT_CALCRECT | DT_NOPREFIX);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

void TDrawCanvas::DrawText(const std::string& text, const TRect& box, const TFontSpec& font,
                           TColor colour, TTextAlign align) {
  UseFont(font);
  Font()->SetColour(SurfaceColour(colour));
  Brush()->SetBrushStyle(kBrushClear);  // transparent: the cells keep what is under them
  RECT rc{box.left, box.top, box.right, box.bottom};
  const uint32_t flags = align == TTextAlign::Centre ? (DT_CENTER | DT_VCENTER) : (DT_LEFT | DT_TOP);
  DrawText(text, rc, flags | DT_NOPREFIX);
}
