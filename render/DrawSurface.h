// What the renderers draw on: the GDI surface in the program, a recording surface in
// the tests. Every call carries its own colours and font, so drawing code never saves
// or restores surface state.
//
// Pixel rules (those of GDI): rectangles exclude their right column and bottom row;
// a line leaves out its end point; polygons are outlined one pixel wide and filled
// with the alternate rule.
#pragma once
#include <cstddef>
#include <string>

#include "base/Colour.h"
#include "base/Geometry.h"
#include "render/GraphLook.h"

enum class TTextAlign { Left, Centre };

class TDrawSurface {
public:
  virtual ~TDrawSurface() = default;

  // Every pixel with l <= x < r and t <= y < b.
  virtual void FillRect(const TRect& r, TColor colour) = 0;
  // The one-pixel ring just inside r.
  virtual void FrameRect(const TRect& r, TColor colour) = 0;
  // The segment from a to b, b itself left out, one pixel wide.
  virtual void Line(TPoint32 a, TPoint32 b, TColor colour) = 0;
  // Outline on the ring of r, inside filled.
  virtual void Rectangle(const TRect& r, TColor outline, TColor fill) = 0;
  // Ellipse in the bounding box r (right and bottom exclusive).
  virtual void Ellipse(const TRect& r, TColor outline, TColor fill) = 0;
  // Closed polygon: every edge one pixel wide in outline, inside filled (alternate rule).
  virtual void Polygon(const TPoint32* points, size_t count, TColor outline, TColor fill) = 0;
  // Width of the text and the font's line height.
  virtual TSize MeasureText(const std::string& text, const TFontSpec& font) = 0;
  // Transparent text at the top of box, left-aligned or centred horizontally.
  virtual void DrawString(const std::string& text, const TRect& box, const TFontSpec& font, TColor colour,
                          TTextAlign align) = 0;
};
