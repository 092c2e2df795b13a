#include "render/GraphRenderer.h"

#include <algorithm>
#include <vector>

#include "base/Maker.h"
#include "base/Rounding.h"
#include "render/ColorTools.h"
#include "render/HoverReadout.h"
#include "render/RateBoxes.h"
#include "render/Scaling.h"

namespace {

constexpr int64_t VertexLimit = int64_t{1} << 24;

TColor OutlineFor(const TGraphLook& look, TColor fill) { return MixColors(look.AreaOutlineGrey, fill, 0.3); }

// Sample vertices newest first, then back along the zero line and up the right edge.
template <typename TopOfAge>
void DrawSkeleton(TDrawSurface& surface, const TTrafficHistory& history, TRect R, TopOfAge topOfAge,
                  TColor outline, TColor fill) {
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  const int32_t n = history.HistoryLength();
  std::vector<TPoint32> points(static_cast<size_t>(n) + 3);
  for (int32_t i = 0; i < n; ++i) points[i] = {W - 1 - i, topOfAge(i)};
  points[n] = {0, H + 1};
  points[n + 1] = {R.right, H + 1};
  points[n + 2] = {R.right, topOfAge(0)};  // an empty history reads 0 at age 0
  surface.Polygon(points.data(), points.size(), outline, fill);
}

}  // namespace

int32_t SampleTop(int32_t sample, int32_t height, int32_t scale) {
  const int64_t top = int64_t{height} + 1 - SampleHeight(sample, height, scale);
  return static_cast<int32_t>(std::clamp(top, -VertexLimit, VertexLimit));
}

void DrawGraph(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history, TRect R) {
  surface.FillRect(R, ResolveColor(look.BGColor));
  const bool flat = look.GoFlat && !look.IsActive;
  TRect inner = R;
  if (flat) inner = {R.left + 1, R.top + 1, R.right - 1, R.bottom - 1};
  if (look.ShowGrid) DrawGrid(surface, look, inner);
  DrawCaption(surface, look, inner);
  DrawTrafficLayer(surface, look, history, inner, look.ScaleBallance);
  // last, so the areas never cover the border
  if (flat) surface.FrameRect(R, ResolveColor(look.FlatBorderColor));
}

void DrawGrid(TDrawSurface& surface, const TGraphLook& look, TRect R) {
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  const int32_t flags = look.GridMode;

  if ((flags & 1) && H > 24) {
    const double scale = UsableScale(look.GraphScaleMax);
    // 64-bit: a full-scale value near 2^31 needs v = 2^31
    int64_t v = 4096;
    while (v < scale + 1) v *= 2;
    double d = 6;
    int64_t s = 128;
    while (s > 24) {
      s = RoundHalfEven(H / scale * (v / d));
      if (s > 24) d *= 2;
    }
    // s is at least 4 here (H > 24, v > scale); the guard keeps a zero step from looping
    if (s > 0) {
      const TColor colour = ResolveColor(look.GridColor);
      for (int64_t i = s; i <= H; i += s) {
        const int32_t y = static_cast<int32_t>(R.bottom - i + 1);
        surface.Line({R.left, y}, {R.right, y}, colour);
      }
    }
  }

  if (flags & 2) {
    const TColor colour = ResolveColor(look.GridColor2);
    for (int32_t i = 10; i <= W - 3; i += 10) {
      const int32_t x = R.right - i + 1;
      surface.Line({x, R.top}, {x, R.bottom}, colour);
    }
  }
}

void DrawCaption(TDrawSurface& surface, const TGraphLook& look, TRect R) {
  if (!(R.Height() > look.Px(40) && R.Width() > look.Px(150))) return;
  const TFontSpec font = AtDpi(SmallFontsSpec(), look);
  const std::string text = MakerHost;
  const TSize size = surface.MeasureText(text, font);
  const int32_t tw = size.cx, th = size.cy;

  const int32_t sx = R.right - tw + 1, sy = R.bottom - th + 1;
  surface.DrawString(text, {sx, sy, sx + tw, sy + th}, font, MixColors(look.BGColor, 0x808080, 0.5),
                   TTextAlign::Left);
  const int32_t x = R.right - tw, y = R.bottom - th;
  surface.DrawString(text, {x, y, x + tw, y + th}, font,
                   MixColors(MixColors(look.FlatBorderColor, look.BGColor, 0.3), 0xFF0000, 0.3),
                   TTextAlign::Left);
}

void DrawTrafficLayer(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                      TRect R, int32_t balance) {
  const int32_t W = R.Width();
  const int32_t H = R.Height();
  if (W <= 0 || H <= 0) return;  // nothing inside to draw into
  const TDirectionScales scales = DirectionScales(look.GraphScaleMax, balance);
  DrawDirectionArea(surface, look, history, R, HistoryDown, scales.DownScale, look.DnColor);
  DrawDirectionArea(surface, look, history, R, HistoryUp, scales.UpScale, look.UpColor);
  DrawOverlapArea(surface, look, history, R, scales.DownScale, scales.UpScale);
  if (W > look.Px(70) && H > look.Px(25)) {
    const bool markerInBox = DrawRateBoxes(surface, look, R);
    DrawHoverReadout(surface, look, R, markerInBox);
  }
}

void DrawDirectionArea(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                       TRect R, THistoryRow row, int32_t scale, TColor fill) {
  const int32_t H = R.Height();
  fill = ResolveColor(fill);
  DrawSkeleton(
      surface, history, R, [&](int32_t age) { return SampleTop(history.HistorySample(row, age), H, scale); },
      OutlineFor(look, fill), fill);
}

void DrawOverlapArea(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     TRect R, int32_t downScale, int32_t upScale) {
  const int32_t H = R.Height();
  const TColor fill = MixColors(look.DnColor, look.UpColor, 0.7);
  DrawSkeleton(
      surface, history, R,
      [&](int32_t age) {
        const int32_t yD = SampleTop(history.HistorySample(HistoryDown, age), H, downScale);
        const int32_t yU = SampleTop(history.HistorySample(HistoryUp, age), H, upScale);
        return yU <= yD ? yD : H;
      },
      OutlineFor(look, fill), fill);
}
