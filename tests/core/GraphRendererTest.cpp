#include "render/GraphRenderer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Maker.h"
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
    // in the corner of the area inside the flat ring; the shadow one pixel down and right, grey 0x4C
    // (76.5 to even) then 0.3 towards pure blue on top
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

}  // namespace
