#include "render/UsageChart.h"

#include <algorithm>

#include "usage/DataPlan.h"

namespace {

constexpr int32_t GridSteps = 4;

// Pixels of a value on a plot of height h, rounded; never past the plot.
int32_t Pixels(uint64_t value, uint64_t scale, int32_t h) {
  const double p = static_cast<double>(value) / static_cast<double>(scale) * h + 0.5;
  return std::clamp(static_cast<int32_t>(p), 0, h);
}

}  // namespace

uint64_t NiceScale(uint64_t max) {
  uint64_t decade = 1000;
  for (;;) {
    for (uint64_t tenths : {10, 20, 25, 50})
      if (decade * tenths / 10 >= max) return decade * tenths / 10;
    if (decade > UINT64_MAX / 100) return UINT64_MAX;
    decade *= 10;
  }
}

TUsageChartLayout LayoutUsageChart(TDrawSurface& surface, const TUsageChartLook& look,
                                   const std::vector<TUsageBar>& bars, TRect R) {
  TUsageChartLayout l;
  uint64_t max = 0;
  for (const TUsageBar& b : bars) max = std::max(max, b.Down + b.Up);
  l.Scale = NiceScale(max);
  const int32_t th = surface.MeasureText("0", look.Font).cy;
  const int32_t scaleWidth = surface.MeasureText(FormatDecimalBytes(l.Scale), look.Font).cx;
  l.Plot = {R.left + scaleWidth + 8, R.top + th + 8, R.right - 6, R.bottom - th - 4};
  l.Plot.right = std::max(l.Plot.right, l.Plot.left);
  l.Plot.bottom = std::max(l.Plot.bottom, l.Plot.top);
  const int32_t n = static_cast<int32_t>(bars.size());
  l.Slot = n > 0 ? l.Plot.Width() / n : 0;
  int32_t labelWidth = 1;
  for (const TUsageBar& b : bars) labelWidth = std::max(labelWidth, surface.MeasureText(b.Label, look.Font).cx);
  // labels need their width and a little air between them
  l.LabelEvery = l.Slot > 0 ? std::max(1, (labelWidth + 6 + l.Slot - 1) / l.Slot) : n + 1;
  return l;
}

int32_t UsageChartBarAt(const TUsageChartLayout& l, size_t count, TPoint32 p) {
  if (l.Slot <= 0 || p.y < l.Plot.top || p.y >= l.Plot.bottom || p.x < l.Plot.left) return -1;
  const int32_t i = (p.x - l.Plot.left) / l.Slot;
  return i < static_cast<int32_t>(count) ? i : -1;
}

void DrawUsageChart(TDrawSurface& s, const TUsageChartLook& look, const std::vector<TUsageBar>& bars, TRect R,
                    int32_t marked) {
  s.FillRect(R, look.Background);
  const TUsageChartLayout l = LayoutUsageChart(s, look, bars, R);
  const TRect& P = l.Plot;
  const int32_t H = P.Height(), th = s.MeasureText("0", look.Font).cy;

  // the scale: grid lines with their values, right-aligned left of the plot
  for (int32_t i = 0; i <= GridSteps; ++i) {
    const int32_t y = P.bottom - 1 - (H - 1) * i / GridSteps;
    if (i > 0) s.Line({P.left, y}, {P.right, y}, look.Grid);
    const std::string text = FormatDecimalBytes(l.Scale / GridSteps * static_cast<uint64_t>(i));
    const int32_t tw = s.MeasureText(text, look.Font).cx;
    s.DrawString(text, {P.left - 4 - tw, y - th / 2, P.left - 4, y - th / 2 + th}, look.Font, look.Text,
                 TTextAlign::Left);
  }

  const int32_t bw = std::max(1, l.Slot * 3 / 4);
  for (size_t i = 0; i < bars.size() && l.Slot > 0; ++i) {
    const int32_t left = P.left + static_cast<int32_t>(i) * l.Slot;
    const int32_t x0 = left + (l.Slot - bw) / 2;
    const int32_t down = Pixels(bars[i].Down, l.Scale, H), total = Pixels(bars[i].Down + bars[i].Up, l.Scale, H);
    if (down > 0) s.FillRect({x0, P.bottom - down, x0 + bw, P.bottom}, look.Down);
    if (total > down) s.FillRect({x0, P.bottom - total, x0 + bw, P.bottom - down}, look.Up);
    if (static_cast<int32_t>(i) % l.LabelEvery == 0)
      s.DrawString(bars[i].Label, {left - l.Slot * l.LabelEvery, P.bottom + 2, left + l.Slot * (l.LabelEvery + 1), R.bottom},
                   look.Font, look.Text, TTextAlign::Centre);
    if (static_cast<int32_t>(i) == marked) s.FrameRect({left, P.top, left + l.Slot, P.bottom}, look.Marker);
  }
  s.Line({P.left - 1, P.top}, {P.left - 1, P.bottom}, look.Text);
  s.Line({P.left - 1, P.bottom}, {P.right, P.bottom}, look.Text);

  // the top line: the marked slot's values, or what the colours mean
  const TRect top{P.left, R.top + 2, R.right, R.top + 2 + th};
  if (marked >= 0 && static_cast<size_t>(marked) < bars.size()) {
    const TUsageBar& b = bars[static_cast<size_t>(marked)];
    s.DrawString(b.Name + ":  download " + FormatDecimalBytes(b.Down) + ",  upload " + FormatDecimalBytes(b.Up), top,
                 look.Font, look.Text, TTextAlign::Left);
    return;
  }
  int32_t x = top.left;
  for (const auto& [colour, text] : {std::pair{look.Down, "Download"}, std::pair{look.Up, "Upload"}}) {
    s.Rectangle({x, top.top + 2, x + th - 4, top.bottom - 2}, look.Text, colour);
    s.DrawString(text, {x + th, top.top, x + th + s.MeasureText(text, look.Font).cx, top.bottom}, look.Font,
                 look.Text, TTextAlign::Left);
    x += th + s.MeasureText(text, look.Font).cx + 12;
  }
}
