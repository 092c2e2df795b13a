#include "render/GdiSurface.h"

#include <climits>

namespace {

int ClampCount(size_t n) { return n > static_cast<size_t>(INT_MAX) ? INT_MAX : static_cast<int>(n); }

}  // namespace

// Setters that receive the current value do nothing, so repeated colours keep their handles.

void TGdiSurface::UsePen(TColor colour) {
  tk::TDrawTool* pen = canvas_.Pen();
  pen->SetPenStyle(PS_SOLID);
  pen->SetPenWidth(0);
  pen->SetPenMode(R2_COPYPEN - 1);
  pen->SetColour(colour);
}

void TGdiSurface::UseBrush(TColor colour) {
  tk::TDrawTool* brush = canvas_.Brush();
  brush->SetBrushBitmap(nullptr);
  brush->SetBrushStyle(tk::BrushSolid);
  brush->SetColour(colour);
}

void TGdiSurface::UseFont(const TFontSpec& font) {
  tk::TDrawTool* tool = canvas_.Font();
  tool->SetFontName(font.face);
  tool->SetFontHeight(font.height);
  tool->SetFontStyle(font.bold ? tk::FontBold : 0);
}

void TGdiSurface::FillRect(const TRect& r, TColor colour) {
  UseBrush(colour);
  const RECT rc{r.left, r.top, r.right, r.bottom};
  canvas_.FillRect(rc);
}

void TGdiSurface::FrameRect(const TRect& r, TColor colour) {
  // Only the colour matters to a frame; leaving the style alone spares a brush re-make.
  canvas_.Brush()->SetColour(colour);
  const RECT rc{r.left, r.top, r.right, r.bottom};
  canvas_.FrameRect(rc);
}

void TGdiSurface::Line(TPoint32 a, TPoint32 b, TColor colour) {
  UsePen(colour);
  canvas_.MoveTo(a.x, a.y);
  canvas_.LineTo(b.x, b.y);
}

void TGdiSurface::Rectangle(const TRect& r, TColor outline, TColor fill) {
  UsePen(outline);
  UseBrush(fill);
  canvas_.Rectangle(r.left, r.top, r.right, r.bottom);
}

void TGdiSurface::Ellipse(const TRect& r, TColor outline, TColor fill) {
  UsePen(outline);
  UseBrush(fill);
  canvas_.Ellipse(r.left, r.top, r.right, r.bottom);
}

void TGdiSurface::Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) {
  if (!points || count == 0) return;
  UsePen(outline);
  UseBrush(fill);
  const int n = ClampCount(count);
  points_.resize(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) points_[static_cast<size_t>(i)] = {points[i].x, points[i].y};
  canvas_.Polygon(points_.data(), n - 1);
}

// DT_NOPREFIX: the surface draws its strings as they are; an '&' must not turn into an
// underline.
TSize TGdiSurface::MeasureText(const std::string& text, const TFontSpec& font) {
  UseFont(font);
  RECT rc{0, 0, 0, 0};
  canvas_.DrawTextRect(text, rc, DT_CALCRECT | DT_NOPREFIX);
  return {rc.right - rc.left, rc.bottom - rc.top};
}

void TGdiSurface::DrawString(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                             TTextAlign align) {
  UseFont(font);
  canvas_.Font()->SetColour(colour);
  canvas_.Brush()->SetBrushStyle(tk::BrushClear);  // transparent: the cells keep what is under them
  RECT rc{box.left, box.top, box.right, box.bottom};
  const uint32_t flags = align == TTextAlign::Centre ? (DT_CENTER | DT_VCENTER) : (DT_LEFT | DT_TOP);
  canvas_.DrawTextRect(text, rc, flags | DT_NOPREFIX);
}
