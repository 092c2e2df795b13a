#include "render/HoverReadout.h"

#include "base/ByteFormat.h"
#include "base/Rounding.h"
#include "render/ColorTools.h"
#include "render/Scaling.h"

void DrawHoverReadout(TDrawSurface& surface, const TGraphLook& look, TRect R, bool markerInBox) {
  const int32_t mx = look.MouseMarker.x;
  const int32_t my = look.MouseMarker.y;
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  if (mx < 1 || my < 1 || markerInBox || W <= look.Px(90) || H <= look.Px(50)) return;

  // always the undivided full-scale value, whatever the balance
  const double scale = UsableScale(look.GraphScaleMax);
  const int32_t value = RoundHalfEven(scale / H * (static_cast<double>(H) - my + 1));
  if (value <= 0) return;
  const std::string text = FormatBytesShort(value);
  const TFontSpec font = AtDpi(SmallFontsSpec(), look);
  const TSize size = surface.MeasureText(text, font);
  const int32_t tw = size.cx, th = size.cy;

  const TColor back = SystemColour(SysColorInfoBk);
  const TColor fore = SystemColour(SysColorInfoText);
  const TColor leader = MixWithInverse(fore, 0xC0C0C0, look.BGColor, 0.4);

  const bool onRight = mx > R.right - W / 2;
  const bool low = my > R.bottom - RoundHalfEven(0.6 * H);
  const int32_t lx = onRight ? mx - look.Px(16) : mx + look.Px(16);
  const int32_t ly = low ? my - look.Px(20) : my + look.Px(10);
  const int32_t run = look.Px(8), gap = look.Px(7), pad = look.Px(11);

  surface.Line({mx, my}, {lx, ly}, leader);
  surface.Line({lx, ly}, {onRight ? lx - run : lx + run, ly}, leader);

  TRect label;
  if (onRight) {
    const int32_t top = ly + 1 - RoundHalfEven(th / 2.0);
    label = {lx - tw - pad, top, lx - gap, top + th};
  } else {
    const int32_t top = ly - th / 2;
    label = {lx + gap, top, lx + tw + pad, top + th};
  }

  surface.Ellipse({mx - 1, my - 1, mx + 1, my + 1}, leader, back);
  surface.Rectangle(label, fore, back);
  surface.DrawString(text, label, font, fore, TTextAlign::Centre);
}
