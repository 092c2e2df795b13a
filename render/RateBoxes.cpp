#include "render/RateBoxes.h"

#include <cstdint>
#include <limits>
#include <string>

#include "app/ByteFormat.h"
#include "render/ColorTools.h"
#include "render/GraphRenderer.h"
#include "render/Scaling.h"

namespace {

constexpr TArrowVertices SmallArrow = {{{3, 8}, {5, 6}, {3, 6}, {3, 2}, {3, 2}, {3, 6}, {1, 6}, {3, 8}}};
constexpr TArrowVertices LargeArrow = {{{4, 10}, {6, 8}, {4, 8}, {4, 2}, {3, 2}, {3, 8}, {1, 8}, {3, 10}}};

bool Contains(const TRect& r, TPoint32 p) {
  return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

// The rates are unsigned; the short formatter takes a signed count, so a rate past
// 2^31 reads as the largest one rather than as a negative number.
std::string RateText(uint32_t rate) {
  constexpr uint32_t Max = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
  return FormatBytesShort(static_cast<int32_t>(rate > Max ? Max : rate));
}

}  // namespace

const TArrowVertices& ArrowTemplate(bool large) { return large ? LargeArrow : SmallArrow; }

bool DrawRateBoxes(TDrawSurface& surface, const TStatsForm& form, TRect R) {
  if (form.DownRate == 0 && form.UpRate == 0) return false;
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  const bool large = H > 50 && W >= 120;
  const int32_t m = large ? 5 : 3;
  const int32_t a = large ? 8 : 6;
  const TFontSpec font = large ? LargeRateFontSpec() : SmallFontsSpec();
  const TArrowVertices& arrow = ArrowTemplate(large);

  const std::string t1 = RateText(form.DownRate);
  const std::string t2 = RateText(form.UpRate);
  const TSize s1 = surface.MeasureText(t1, font);
  const TSize s2 = surface.MeasureText(t2, font);
  const int32_t tw1 = s1.cx, th = s1.cy;
  const int32_t tw2 = s2.cx, th2 = s2.cy;
  const int32_t dy = H - th - m;  // absolute, like the areas

  const TColor bg = ResolveColor(form.BGColor);
  const TColor border = ResolveColor(form.FlatBorderColor);
  const TColor inverseBg = InvertColor(bg);
  bool markerInBox = false;
  TArrowVertices points;

  const TRect b1 = {m + 1, dy + 1, m + tw1 + 5 + a, dy + 1 + th};
  const TColor o1 = MixColors(MixColors(border, form.DnColor, 0.3), bg, 0.2);
  surface.Rectangle(b1, o1, bg);
  markerInBox = markerInBox || Contains(b1, form.MouseMarker);
  for (size_t k = 0; k < points.size(); ++k) points[k] = {b1.left + 1 + arrow[k].x, b1.top + arrow[k].y};
  const TColor arrow1 = MixColors(o1, border, 0.3);
  surface.Polygon(points.data(), points.size(), arrow1, arrow1);
  surface.DrawText(t1, {b1.left + a, b1.top, b1.right, b1.bottom}, font,
                   MixColors(form.DnColor, inverseBg, 0.3), TTextAlign::Centre);

  const TRect b2 = {b1.right + m + 3, dy + 1, b1.right + m + 7 + tw2 + a, dy + 1 + th2};
  const TColor o2 = MixColors(MixColors(border, form.UpColor, 0.3), bg, 0.2);
  surface.Rectangle(b2, o2, bg);
  markerInBox = markerInBox || Contains(b2, form.MouseMarker);
  // the same arrow turned upside down
  for (size_t k = 0; k < points.size(); ++k)
    points[k] = {b2.left + 1 + arrow[k].x, b2.top + th2 - 1 - arrow[k].y};
  const TColor arrow2 = MixColors(o2, border, 0.3);
  surface.Polygon(points.data(), points.size(), arrow2, arrow2);
  surface.DrawText(t2, {b2.left + a, b2.top, b2.right, b2.bottom}, font,
                   MixColors(form.UpColor, inverseBg, 0.3), TTextAlign::Centre);

  return markerInBox;
}

void DrawHoverReadout(TDrawSurface& surface, const TStatsForm& form, TRect R, bool markerInBox) {
  const int32_t mx = form.MouseMarker.x;
  const int32_t my = form.MouseMarker.y;
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  if (mx < 1 || my < 1 || markerInBox || W <= 90 || H <= 50) return;

  // always the undivided full-scale value, whatever the balance
  const double scale = UsableScale(form.GraphScaleMax);
  const int32_t value = RoundHalfEven(scale / H * (static_cast<double>(H) - my + 1));
  if (value <= 0) return;
  const std::string text = FormatBytesShort(value);
  const TFontSpec font = SmallFontsSpec();
  const TSize size = surface.MeasureText(text, font);
  const int32_t tw = size.cx, th = size.cy;

  const TColor back = SystemColour(SysColorInfoBk);
  const TColor fore = SystemColour(SysColorInfoText);
  const TColor leader = MixWithInverse(fore, 0xC0C0C0, form.BGColor, 0.4);

  const bool onRight = mx > R.right - W / 2;
  const bool low = my > R.bottom - RoundHalfEven(0.6 * H);
  const int32_t lx = onRight ? mx - 16 : mx + 16;
  const int32_t ly = low ? my - 20 : my + 10;

  surface.Line({mx, my}, {lx, ly}, leader);
  surface.Line({lx, ly}, {onRight ? lx - 8 : lx + 8, ly}, leader);

  TRect label;
  if (onRight) {
    const int32_t top = ly + 1 - RoundHalfEven(th / 2.0);
    label = {lx - tw - 11, top, lx - 7, top + th};
  } else {
    const int32_t top = ly - th / 2;
    label = {lx + 7, top, lx + tw + 11, top + th};
  }

  surface.Ellipse({mx - 1, my - 1, mx + 1, my + 1}, leader, back);
  surface.Rectangle(label, fore, back);
  surface.DrawText(text, label, font, fore, TTextAlign::Centre);
}
