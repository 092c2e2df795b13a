#include "render/TrayPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/RecordingSurface.h"

namespace {

constexpr TColor Frame = 0x010101, Up = 0x00FF00, Down = 0xFF0000, GraphDown = 0x0000FF;

TRecordingSurface Draw(int32_t mode, int32_t scale, int32_t balance, const TTrafficHistory& h, int32_t down, int32_t up,
                       int32_t size = TrayPictureSize) {
  TGraphLook look;
  look.TrayMode = mode, look.TrayScaleMax = scale, look.TrayScaleBallance = balance, look.GraphScaleMax = 4096;
  look.TrayFrameColor = Frame, look.TrayUpColor = Up, look.TrayDnColor = Down, look.DnColor = GraphDown;
  TRecordingSurface s;
  DrawTrayPicture(s, look, h, down, up, size);
  return s;
}

TEST(TrayPicture, IdleTicksShowTheFixedImagesInBrickModesOnly) {
  const int32_t cases[][5] = {  // mode, down, up, idle ticks, image
      {1, 0, 0, 1, 1}, {1, 0, 0, 8, 1}, {1, 0, 0, 9, 0}, {-1, 0, 0, 1, 1}, {1, 1, 0, 9, -1}, {1, 0, 1, 9, -1},
      {2, 0, 0, 9, -1}, {3, 0, 0, 1, -1}};
  for (const auto& c : cases) EXPECT_EQ(TrayIdleImage(c[0], c[1], c[2], c[3]), c[4]) << c[0] << " " << c[3];
}

TEST(TrayPicture, BricksLightByUnitWithFivePercentGrace) {
  // each tower bottom to top: '#' lit, 'o' an empty frame, '.' nothing
  const struct { int32_t mode, scale, balance, down, up; std::string towers; } cases[] = {
      {1, 32768, 50, 1, 0, "#oooo ooooo"}, {1, 32768, 50, 12481, 0, "#oooo ooooo"},  // unit 6553
      {1, 32768, 50, 12482, 0, "##ooo ooooo"}, {1, 32768, 50, 31204, 0, "####o ooooo"},
      {1, 32768, 50, 31205, INT32_MAX, "##### #####"}, {1, 4096, 50, 0, 40000, "ooooo #####"},
      {0, 4096, 50, 0, 40000, "..... #####"},
      // balance 99 gives the down-link a tenth of the scale, as on the graph
      {1, 32768, 99, 6553, 6553, "##### #oooo"}, {1, 32768, 1, 6553, 6553, "#oooo #####"},
      {1, 3, 50, 2, 0, "##ooo ooooo"},  // a stored scale of 3: unit 1, not 0
  };
  for (const auto& c : cases) {
    const TRecordingSurface s = Draw(c.mode, c.scale, c.balance, {}, c.down, c.up);
    std::string towers = "..... .....";
    for (const TDrawCall& d : s.Calls)
      if (d.kind != TDrawCall::FillRect)
        towers[(d.rect.left == 1 ? 0 : 6) + (19 - d.rect.bottom) / 3 - 1] = d.kind == TDrawCall::Rectangle ? '#' : 'o';
    EXPECT_EQ(towers, c.towers) << c.mode << " " << c.scale << " " << c.balance << " " << c.down << " " << c.up;
  }
  const TRecordingSurface s = Draw(1, 4096, 50, {}, 4096, 0);
  ASSERT_EQ(s.Calls.size(), 11u);
  EXPECT_EQ(std::tuple(s.Calls[0].rect, s.Calls[0].colour, s.Calls[1].rect, s.Calls[1].outline, s.Calls[1].colour,
                       s.Calls[2].rect, s.Calls[2].colour, s.Calls[9].rect),
            std::tuple(TRect{0, 0, 16, 16}, TrayBackground, TRect{1, 12, 7, 16}, Frame, Down, TRect{9, 12, 15, 16},
                       Frame, TRect{1, 0, 7, 4}))
      << "magenta first, then down and up brick by brick; (0, 0) is left to the key";
}

TEST(TrayPicture, BarsOfTheLastSevenTicks) {
  // scale 4096, balance 50: unit 682; the sample pushed at `age`, an idle tick after it
  const struct { int32_t scale, balance, sample, age, up, down; } cases[] = {
      {4096, 50, 0, 0, 0, 0}, {4096, 50, 1, 0, 1, 1}, {4096, 50, 4091, 0, 5, 5}, {4096, 50, 4092, 0, 6, 6},
      {4096, 99, 682, 0, 1, 6}, {4096, 1, 682, 0, 6, 1},
      {5, 50, 3, 0, 3, 3} /* unit 0 would divide by zero */, {4096, 50, 682, 1, 1, 1}, {4096, 50, 4096, 7, 0, 0},
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(30);
    h.HistoryPush(c.sample, c.sample);
    for (int i = 0; i < c.age; ++i) h.HistoryPush(0, 0);
    const TRecordingSurface s = Draw(3, c.scale, c.balance, h, c.age ? 0 : c.sample, c.age ? 0 : c.sample);
    const auto lines = s.Of(TDrawCall::Line);
    EXPECT_EQ(std::tuple(lines.size(), lines.at(0).from, lines[0].to, lines.at(1).from, lines[1].to, lines[0].colour),
              std::tuple(2u, TPoint32{0, 8}, TPoint32{15, 8}, TPoint32{15, 1}, TPoint32{15, 15}, Frame));
    const int32_t x = 13 - 2 * c.age;
    std::vector<std::tuple<TRect, TColor>> want, got;
    if (c.up) want.emplace_back(TRect{x, 7 - c.up, x + 3, 9}, Up);
    if (c.down) want.emplace_back(TRect{x, 8, x + 3, c.down + 10}, Down);
    for (const TDrawCall& r : s.Of(TDrawCall::Rectangle)) got.emplace_back(r.rect, r.outline == Frame ? r.colour : 0);
    EXPECT_EQ(got, want) << c.sample << " at age " << c.age << ", scale " << c.scale << ", balance " << c.balance;
  }
}

TEST(TrayPicture, MiniGraphUsesTheGraphsAreasBelowRowZero) {
  // age 15 is x = 0; a full-scale sample reaches row 1, one far above it covers (0, 0)
  const struct { int32_t age15, age0; TPoint32 oldest, newest; } cases[] = {
      {0, 4096, {0, 16}, {15, 1}}, {40960, 0, {0, -134}, {15, 16}}};
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(300);
    for (int age = 15; age >= 0; --age) h.HistoryPush(age == 15 ? c.age15 : age == 0 ? c.age0 : 0, 0);
    const TRecordingSurface s = Draw(2, 999, 50, h, c.age0, 0);
    const auto areas = s.Of(TDrawCall::Polygon);
    ASSERT_EQ(std::tuple(s.Calls.size(), areas.size()), std::tuple(4u, 3u)) << "the three areas and nothing else";
    EXPECT_EQ(std::tuple(areas[0].colour, areas[0].points[15], areas[0].points[0]),
              std::tuple(GraphDown, c.oldest, c.newest));
  }
}

// Each mode laid out anew in whole pixels for every small-icon size: the bottom and top
// bricks of each tower, the newest and oldest full bars, the axis, the mini graph's area.
TEST(TrayPicture, EachModeIsLaidOutForTheSmallIconSize) {
  const struct { int32_t size; TRect brick1, brick5up, bar0up, bar6down; int32_t axis; } cases[] = {
      {16, {1, 12, 7, 16}, {9, 0, 15, 4}, {13, 1, 16, 9}, {1, 8, 4, 16}, 8},
      {20, {1, 16, 9, 20}, {11, 4, 19, 8}, {17, 1, 20, 11}, {5, 10, 8, 20}, 10},
      {24, {1, 19, 11, 24}, {13, 3, 23, 8}, {20, 1, 24, 13}, {2, 12, 6, 24}, 12},
      {32, {1, 25, 15, 32}, {17, 1, 31, 8}, {27, 1, 32, 17}, {3, 16, 8, 32}, 16},
  };
  for (const auto& c : cases) {
    const auto bricks = Draw(1, 4096, 50, {}, 4096, 4096, c.size).Of(TDrawCall::Rectangle);
    ASSERT_EQ(bricks.size(), 10u) << c.size;
    EXPECT_EQ(std::tuple(bricks[0].rect, bricks[9].rect), std::tuple(c.brick1, c.brick5up)) << c.size;
    EXPECT_EQ(Draw(1, 4096, 50, {}, 0, 0, c.size).Of(TDrawCall::FrameRect).at(9).rect, c.brick5up) << c.size;
    TTrafficHistory h;
    h.HistoryResize(40);
    for (int i = 0; i < 7; ++i) h.HistoryPush(4096, 4096);
    const TRecordingSurface bars = Draw(3, 4096, 50, h, 4096, 4096, c.size);
    const auto r = bars.Of(TDrawCall::Rectangle);
    ASSERT_EQ(r.size(), 14u) << c.size;
    EXPECT_EQ(std::tuple(r[0].rect, r[13].rect, bars.Of(TDrawCall::Line).at(0).to),
              std::tuple(c.bar0up, c.bar6down, TPoint32{c.size - 1, c.axis})) << c.size;
    const auto areas = Draw(2, 4096, 50, h, 4096, 4096, c.size).Of(TDrawCall::Polygon);
    ASSERT_FALSE(areas.empty());
    EXPECT_EQ(std::tuple(areas[0].points.front(), areas[0].points.at(c.size - 1)),
              std::tuple(TPoint32{c.size - 1, 1}, TPoint32{0, c.size})) << c.size;
    TRecordingSurface idle;
    DrawIdleTrayPicture(idle, TrayImageLongIdle, c.size);
    EXPECT_EQ(idle.Of(TDrawCall::FrameRect).at(9).rect, c.brick5up) << c.size;
  }
  const int32_t sizes[][2] = {{0, 16}, {16, 16}, {19, 16}, {20, 20}, {23, 20}, {24, 24}, {31, 24}, {32, 32}, {48, 32}};
  for (const auto& s : sizes) EXPECT_EQ(TrayPictureSizeFor(s[0]), s[1]) << s[0];
}

}  // namespace
