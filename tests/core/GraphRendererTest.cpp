#include "render/GraphRenderer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Maker.h"
#include "render/ColorTools.h"
#include "render/Scaling.h"
#include "support/RecordingSurface.h"

namespace {

using Points = std::vector<TPoint32>;
using Ints = std::vector<int32_t>;

TGraphLook FocusedLook() {
  TGraphLook look;
  look.IsActive = true, look.GridColor = 0x111111, look.GridColor2 = 0x222222;
  return look;
}

TTrafficHistory History(int32_t n, const std::vector<std::pair<int32_t, int32_t>>& oldestFirst = {}) {
  TTrafficHistory h;
  h.HistoryResize(n);
  for (auto [down, up] : oldestFirst) h.HistoryPush(down, up);
  return h;
}

// Rows of the horizontal grid lines, or columns of the vertical ones; each must span the area.
Ints GridLines(const TRecordingSurface& s, bool rows, TRect R) {
  Ints out;
  for (const TDrawCall& c : s.Of(TDrawCall::Line)) {
    if (rows && c.colour == 0x111111 && c.from.y == c.to.y && c.from.x == R.left && c.to.x == R.right)
      out.push_back(c.from.y);
    if (!rows && c.colour == 0x222222 && c.from.x == c.to.x && c.from.y == R.top && c.to.y == R.bottom)
      out.push_back(c.from.x);
  }
  return out;
}

TEST(GraphRenderer, GridModesAndFlatLook) {
  const Ints rows{27, 14, 1}, cols{78, 68, 58, 48, 38, 28, 18, 8};
  // GridMode is the stored value + 1
  const struct { const char* what; bool active, goFlat, show; int32_t mode; Ints rows, cols; int32_t w = 87; } cases[] = {
      {"focused", true, true, true, 3, rows, cols},
      {"flat", false, true, true, 3, {27, 15, 3}, {77, 67, 57, 47, 37, 27, 17, 7}},
      {"unfocused without GoFlat", false, false, true, 3, rows, cols},
      {"Horisontal", true, true, true, 1, rows, {}}, {"Vertical", true, true, true, 2, {}, cols},
      {"stored 3", true, true, true, 4, {}, {}}, {"grid off", true, true, false, 3, {}, {}},
      {"W 92: none at 3", true, true, true, 2, {}, {83, 73, 63, 53, 43, 33, 23, 13}, 92},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TGraphLook look = FocusedLook();
    look.IsActive = c.active, look.GoFlat = c.goFlat, look.ShowGrid = c.show, look.GridMode = c.mode, look.FlatBorderColor = 0xAA;
    const TRect R{0, 0, c.w, 39};
    const bool framed = !c.active && c.goFlat;
    const TRect inner = framed ? TRect{1, 1, c.w - 1, 38} : R;
    DrawGraph(s, look, History(c.w), R);
    EXPECT_EQ(std::tuple(s.Calls.front().kind, s.Calls.front().rect, GridLines(s, true, inner), GridLines(s, false, inner),
                         s.Of(TDrawCall::FrameRect).size()),
              std::tuple(TDrawCall::FillRect, R, c.rows, c.cols, framed ? 1u : 0u)) << c.what;
    if (!framed) continue;
    // the ring drawn last; zero line at H + 1 = 38, the border row; the newest column continues to R.right = 86
    const auto polys = s.Of(TDrawCall::Polygon);
    EXPECT_EQ(std::tuple(s.Calls.back().kind, s.Calls.back().rect, s.Calls.back().colour, polys.at(0).points.at(0),
                         polys[0].points.at(88)), std::tuple(TDrawCall::FrameRect, R, 0xAAu, TPoint32{84, 38}, TPoint32{86, 38}));
  }
}

TEST(GraphRenderer, HorizontalSpacingFollowsTheScale) {
  const struct { int32_t scale, height, step, count; } cases[] = {
      {4096, 39, 13, 3}, {100000, 39, 9, 4}, {4096, 1000, 21, 47},
      {1, 39, 13, 3},  // v stays 4096, d doubles until the step fits
      {0, 39, 13, 3},  // a stored 0 counts as 4096
      {INT32_MAX, 39, 7, 5},  // v = 2^31 without overflow
      {4096, 25, 8, 3}, {4096, 24, 0, 0},  // 24 is too low for any line
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TGraphLook look = FocusedLook();
    look.GraphScaleMax = c.scale, look.GridMode = 1;
    DrawGrid(s, look, {0, 0, 50, c.height});
    const Ints rows = GridLines(s, true, {0, 0, 50, c.height});
    EXPECT_EQ(std::tuple(rows.size(), rows.empty() ? 0 : c.height + 1 - rows[0]), std::tuple(size_t(c.count), c.step))
        << c.scale << " at " << c.height;
  }
}

TEST(GraphRenderer, CaptionOnlyInALargeEnoughArea) {
  const struct { int32_t w, h; bool flat, drawn; } cases[] = {
      {151, 41, false, true}, {150, 100, false, false}, {200, 40, false, false}, {152, 42, true, false}, {153, 43, true, true},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TGraphLook look = FocusedLook();
    look.IsActive = !c.flat;
    DrawGraph(s, look, History(c.w), {0, 0, c.w, c.h});
    const auto texts = s.Of(TDrawCall::DrawString);
    ASSERT_EQ(texts.size(), c.drawn ? 2u : 0u) << c.w << " x " << c.h;
    const int32_t x = c.w - c.flat - static_cast<int32_t>(std::string(MakerHost).size()) * s.CharWidth, y = c.h - c.flat - 11;
    if (!c.drawn) continue;
    EXPECT_EQ(std::tuple(texts[0].text, texts[0].font, texts[0].rect.left, texts[0].rect.top, texts[0].colour,
                         texts[1].text, texts[1].rect.left, texts[1].rect.top, texts[1].colour),
              std::tuple(MakerHost, SmallFontsSpec(), x + 1, y + 1, 0xC0C0C0u, MakerHost, x, y, 0x823535u));
  }
}

TEST(GraphRenderer, AreasAndOverlapBand) {
  TGraphLook look = FocusedLook();
  look.GraphScaleMax = 3900;  // at H = 39 a sample's height is a hundredth of it
  // oldest first; the newest down sample is above full scale, age 2 is equal
  const TTrafficHistory h = History(4, {{1000, 500}, {2000, 2000}, {500, 1500}, {5000, 0}});
  TRecordingSurface s;
  DrawTrafficLayer(s, look, h, {0, 0, 10, 39}, 50);
  auto polys = s.Of(TDrawCall::Polygon);
  ASSERT_EQ(polys.size(), 3u);
  EXPECT_EQ(std::tuple(polys[0].points, polys[0].colour, polys[0].outline),
            std::tuple(Points{{9, -10}, {8, 35}, {7, 20}, {6, 30}, {0, 40}, {10, 40}, {10, -10}}, 0x1515FFu, 0x6060A6u));
  EXPECT_EQ(std::tuple(polys[1].points, polys[1].colour),
            std::tuple(Points{{9, 40}, {8, 25}, {7, 20}, {6, 35}, {0, 40}, {10, 40}, {10, 40}}, 0x30FFFFu));
  // the band reaches the download's top where the upload is at least as tall, else row H
  EXPECT_EQ(std::tuple(polys[2].points, polys[2].colour),
            std::tuple(Points{{9, 39}, {8, 35}, {7, 20}, {6, 39}, {0, 40}, {10, 40}, {10, 39}}, 0x28B9FFu));

  s.Clear();
  DrawTrafficLayer(s, look, h, {0, 0, 10, 39}, 1);  // up scale 10 %: 390
  polys = s.Of(TDrawCall::Polygon);
  EXPECT_EQ(std::tuple(polys.at(0).points[1], polys.at(1).points[1]), std::tuple(TPoint32{8, 35}, TPoint32{8, -110}));

  // the whole graph uses the graph's balance, not the tray's
  s.Clear();
  look.ScaleBallance = 1, look.TrayScaleBallance = 50;
  DrawGraph(s, look, History(10, {{0, 100}}), {0, 0, 10, 39});
  EXPECT_EQ(s.Of(TDrawCall::Polygon).at(1).points[0], (TPoint32{9, 30}));
}

TEST(GraphRenderer, SampleTopRoundsAndStaysBounded) {
  const struct { int32_t sample, height, scale, top; } cases[] = {
      {0, 39, 3900, 40}, {3900, 39, 3900, 1}, {50, 39, 3900, 40} /* 0.5 -> 0 */, {150, 39, 3900, 38},
      {4096, 39, 0, 1} /* scale 0 counts as 4096 */, {51200, 100, 102400, 51},
      {2000000000, 2, 4096, -976559},  // v x H passes 2^31; 976562.5 to even
      {INT32_MAX, 39, 1, -(1 << 24)}, {INT32_MIN, 39, 1, 1 << 24},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SampleTop(c.sample, c.height, c.scale), c.top) << c.sample << " at " << c.height << " / " << c.scale;
}

TEST(GraphRenderer, AnnotationsFrom71x26AndNothingInAnEmptyArea) {
  // drawn: the calls after the background; the empty history makes a flat polygon
  const struct { int32_t w, h; bool flat; size_t drawn; } cases[] = {
      {70, 39, false, 3}, {71, 39, false, 11}, {87, 25, false, 3}, {87, 26, false, 11},
      {0, 0, false, 0}, {1, 1, true, 1} /* the border around nothing */,
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TGraphLook look = FocusedLook();
    look.DownRate = 1000, look.ShowGrid = false, look.IsActive = !c.flat;
    DrawGraph(s, look, TTrafficHistory(), {0, 0, c.w, c.h});
    const Points zeroLine = c.drawn == 3 ? Points{{0, c.h + 1}, {c.w, c.h + 1}, {c.w, c.h + 1}} : Points{};
    EXPECT_EQ(std::tuple(s.Calls.size() - 1, c.drawn == 3 ? s.Calls[1].points : Points{}), std::tuple(c.drawn, zeroLine))
        << c.w << " x " << c.h;
  }
}

TEST(ColorTools, MixColorsRoundsEachChannelHalfToEven) {
  const struct { const char* name; TColor a, b; double t; TColor expected; } cases[] = {
      {"t 0 gives a", 0x123456, 0xABCDEF, 0.0, 0x123456}, {"t out of range clamps", 0x000000, 0xFFFFFF, 2.0, 0xFFFFFF},
      {"negative t clamps", 0x000000, 0xFFFFFF, -1.0, 0x000000},
      {"halves per channel", 0x000000, 0x0301FF, 0.5, 0x020080},  // red 127.5 -> 128, green 0.5 -> 0, blue 1.5 -> 2
      {"channels stay apart", 0xFF00FF, 0x00FF00, 0.5, 0x808080},
      {"overlap band of the default colours", 0x1515FF, 0x30FFFF, 0.7, 0x28B9FF},
      {"grey from black and white", 0x000000, 0xFFFFFF, 0.3, 0x4C4C4C},  // 76.5 -> 76
      {"system window colour resolved", 0x80000005, 0x000000, 0.5, 0x808080},
  };
  for (const auto& c : cases) EXPECT_EQ(MixColors(c.a, c.b, c.t), c.expected) << c.name;

  const struct { const char* name; TColor m, expected; } inverse[] = {
      // C0 x 0.6 = 115.2 -> 115, then x 0.4 = 46; over white 115.2 + 102 = 217.2 -> 217, x 0.4 = 86.8 -> 87
      {"white background", 0xFFFFFF, 0x2E2E2E}, {"system white background", 0x80000005, 0x2E2E2E},
      {"black background", 0x000000, 0x575757},
  };
  for (const auto& c : inverse) EXPECT_EQ(MixWithInverse(0x000000, 0xC0C0C0, c.m, 0.4), c.expected) << c.name;
}

TEST(ColorTools, SystemColoursComeFromTheInstalledSource) {
  const struct { const char* name; TColor in, expected; } cases[] = {
      {"plain RGB untouched", 0x00ABCDEF, 0x00ABCDEF},
      {"any value above 0xFFFFFF names one by its low byte", 0x01000005, 0xFFFFFF},
      {"unknown index", 0x800000FF, 0}, {"first index past the table", 0x8000001F, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveColor(c.in), c.expected) << c.name;

  SetSystemColourSource([](int index) -> TColor { return index == 24 ? 0xFF123456 : 0x000042; });
  const auto installed = std::tuple(ResolveColor(0x80000018), SystemColour(5));  // the source's result kept to RGB
  SetSystemColourSource(nullptr);
  EXPECT_EQ(std::tuple(installed, SystemColour(24)), std::tuple(std::tuple(0x123456u, 0x000042u), 0xE1FFFFu));
}

TEST(ComputeAutoScale, Table) {
  struct TSample { int32_t age, down, up; };
  const struct { const char* name; std::vector<TSample> samples; int32_t current, expected; } cases[] = {
      {"zeros keep 4096", {}, 4096, 4096},
      {"zeros shrink 8192 to 5% above the floor", {}, 8192, 4301},
      {"4301 is inside the band and stays", {}, 4301, 4301},
      {"a sample equal to the peak leaves it", {{2, 4096, 0}}, 8192, 4301},
      {"one burst grows at once", {{17, 10000, 0}}, 4096, 10500},
      {"running peak: smaller older sample first", {{30, 10000, 0}, {5, 10400, 0}}, 4096, 10500},
      {"running peak: larger older sample first", {{30, 10400, 0}, {5, 10000, 0}}, 4096, 10920},
      {"down looked at before up at one age", {{3, 10000, 10400}}, 4096, 10500},
      {"hysteresis keeps the current value", {{3, 10400 * 100 / 105, 0}}, 10000, 10000},
      {"a peak exactly 5% above stays", {{3, 10000, 0}}, 10000, 10000},
      {"shrink rounds half to even (4693.5)", {{2, 4258, 0}}, 5000, 4694},
      {"shrink rounds half to even (4630.5)", {{2, 4200, 0}}, 5000, 4630},
      {"huge samples saturate", {{1, INT32_MAX, 0}}, 4096, INT32_MAX},
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(60);
    for (int32_t age = 59; age >= 0; --age) {
      const auto s = std::find_if(c.samples.begin(), c.samples.end(), [&](auto& s) { return s.age == age; });
      s == c.samples.end() ? h.HistoryPush(0, 0) : h.HistoryPush(s->down, s->up);
    }
    EXPECT_EQ(ComputeAutoScale(h, c.current), c.expected) << c.name;
  }
}

TEST(BalanceAndDirectionScales, Table) {
  const struct { int32_t scale, balance, down, up, percent; } cases[] = {
      {4096, 50, 4096, 4096, 98}, {4096, 51, 3932, 4096, 96}, {4096, 49, 4096, 3932, 96}, {4096, 1, 4096, 410, 10},
      {32768, 75, 17367, 32768, 53}, {4096, 52, 3891, 4096, 95}, {4096, 99, 410, 4096, 10},
      // stored outside the trackbar's 1..99, or a scale of 0 and below; a tenth of a tiny scale is still 1
      {4096, 100, 410, 4096, 10}, {4096, 0, 4096, 410, 10}, {0, 50, 4096, 4096, 98}, {-5, 1, 4096, 410, 10},
      {1, 99, 1, 1, 10}, {3, 1, 3, 1, 10},
  };
  for (const auto& c : cases) {
    const TDirectionScales s = DirectionScales(c.scale, c.balance);
    EXPECT_EQ(std::tuple(s.DownScale, s.UpScale, BalancePercent(c.balance)), std::tuple(c.down, c.up, c.percent))
        << c.scale << "/" << c.balance;
  }
}

}  // namespace
