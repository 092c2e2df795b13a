// The renderers' surface on GDI: each call turns its colours and font into the
// canvas's tools, which keep their handles while the values stay the same.
#pragma once
#include "toolkit/WinApi.h"

#include <vector>

#include "render/DrawSurface.h"
#include "toolkit/DrawCanvas.h"

class TGdiSurface final : public TDrawSurface {
public:
  // The canvas must outlive the surface.
  explicit TGdiSurface(tk::TDrawCanvas& canvas) : canvas_(canvas) {}

  void FillRect(const TRect& r, TColor colour) override;
  void FrameRect(const TRect& r, TColor colour) override;
  void Line(TPoint32 a, TPoint32 b, TColor colour) override;
  void Rectangle(const TRect& r, TColor outline, TColor fill) override;
  void Ellipse(const TRect& r, TColor outline, TColor fill) override;
  void Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) override;
  TSize MeasureText(const std::string& text, const TFontSpec& font) override;
  void DrawString(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                  TTextAlign align) override;

private:
  void UsePen(TColor colour);
  void UseBrush(TColor colour);
  void UseFont(const TFontSpec& font);

  tk::TDrawCanvas& canvas_;
  std::vector<POINT> points_;  // reused for polygons
};
