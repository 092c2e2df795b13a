#include "render/RateBoxes.h"

#include <cstdint>
#include <limits>
#include <string>

#include "base/ByteFormat.h"
#include "render/ColorTools.h"

namespace {

constexpr TArrowVertices SmallArrow = {{{3, 8}, {5, 6}, {3, 6}, {3, 2}, {3, 2}, {3, 6}, {1, 6}, {3, 8}}};
constexpr TArrowVertices LargeArrow = {{{4, 10}, {6, 8}, {4, 8}, {4, 2}, {3, 2}, {3, 8}, {1, 8}, {3, 10}}};

// The rates are unsigned; the short formatter takes a signed count, so a rate past
// 2^31 reads as the largest one rather than as a negative number.
std::string RateText(uint32_t rate) {
  constexpr uint32_t Max = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
  return FormatBytesShort(static_cast<int32_t>(rate > Max ? Max : rate));
}

}  // namespace

const TArrowVertices& ArrowTemplate(bool large) { return large ? LargeArrow : SmallArrow; }

bool DrawRateBoxes(TDrawSurface& surface, const TGraphLook& look, TRect R) {
  if (look.DownRate == 0 && look.UpRate == 0) return false;
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  const bool large = H > look.Px(50) && W >= look.Px(120);
  const int32_t m = look.Px(large ? 5 : 3);
  const int32_t a = look.Px(large ? 8 : 6);
  const TFontSpec font = AtDpi(large ? LargeRateFontSpec() : SmallFontsSpec(), look);
  TArrowVertices arrow = ArrowTemplate(large);
  for (TPoint32& p : arrow) p = {look.Px(p.x), look.Px(p.y)};

  const std::string t1 = RateText(look.DownRate);
  const std::string t2 = RateText(look.UpRate);
  const TSize s1 = surface.MeasureText(t1, font);
  const TSize s2 = surface.MeasureText(t2, font);
  const int32_t tw1 = s1.cx, th = s1.cy;
  const int32_t tw2 = s2.cx, th2 = s2.cy;
  const int32_t dy = H - th - m;  // absolute, like the areas

  const TColor bg = ResolveColor(look.BGColor);
  const TColor border = ResolveColor(look.FlatBorderColor);
  const TColor inverseBg = InvertColor(bg);
  bool markerInBox = false;
  TArrowVertices points;

  const TRect b1 = {m + 1, dy + 1, m + tw1 + look.Px(5) + a, dy + 1 + th};
  const TColor o1 = MixColors(MixColors(border, look.DnColor, 0.3), bg, 0.2);
  surface.Rectangle(b1, o1, bg);
  markerInBox = markerInBox || b1.Contains(look.MouseMarker);
  for (size_t k = 0; k < points.size(); ++k) points[k] = {b1.left + 1 + arrow[k].x, b1.top + arrow[k].y};
  const TColor arrow1 = MixColors(o1, border, 0.3);
  surface.Polygon(points.data(), points.size(), arrow1, arrow1);
  surface.DrawString(t1, {b1.left + a, b1.top, b1.right, b1.bottom}, font,
                   MixColors(look.DnColor, inverseBg, 0.3), TTextAlign::Centre);

  const TRect b2 = {b1.right + m + look.Px(3), dy + 1, b1.right + m + look.Px(7) + tw2 + a, dy + 1 + th2};
  const TColor o2 = MixColors(MixColors(border, look.UpColor, 0.3), bg, 0.2);
  surface.Rectangle(b2, o2, bg);
  markerInBox = markerInBox || b2.Contains(look.MouseMarker);
  // the same arrow turned upside down
  for (size_t k = 0; k < points.size(); ++k)
    points[k] = {b2.left + 1 + arrow[k].x, b2.top + th2 - 1 - arrow[k].y};
  const TColor arrow2 = MixColors(o2, border, 0.3);
  surface.Polygon(points.data(), points.size(), arrow2, arrow2);
  surface.DrawString(t2, {b2.left + a, b2.top, b2.right, b2.bottom}, font,
                   MixColors(look.UpColor, inverseBg, 0.3), TTextAlign::Centre);

  return markerInBox;
}
