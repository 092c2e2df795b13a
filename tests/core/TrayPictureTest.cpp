#include "render/TrayPicture.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/RecordingSurface.h"

namespace {

constexpr TColor Frame = 0x010101, Up = 0x00FF00, Down = 0xFF0000, GraphDown = 0x0000FF;

TGraphLook Look(int32_t mode, int32_t scale, int32_t balance = 50) {
  TGraphLook look;
  look.TrayMode = mode, look.TrayScaleMax = scale, look.TrayScaleBallance = balance;
  look.TrayFrameColor = Frame, look.TrayUpColor = Up, look.TrayDnColor = Down, look.DnColor = GraphDown;
  return look;
}

// Each tower bottom to top: '#' lit, 'o' an empty frame, '.' nothing.
std::pair<std::string, std::string> Towers(const TRecordingSurface& s) {
  std::string left(5, '.'), right(5, '.');
  for (const TDrawCall& c : s.Calls) {
    if (c.kind != TDrawCall::Rectangle && c.kind != TDrawCall::FrameRect) continue;
    const size_t i = static_cast<size_t>((19 - c.rect.bottom) / 3 - 1);
    (c.rect.left == 1 ? left : right)[i] = c.kind == TDrawCall::Rectangle ? '#' : 'o';
  }
  return {left, right};
}

TEST(TrayPicture, IdleTicksShowTheFixedImagesInBrickModesOnly) {
  const struct { int32_t mode, down, up, idle, image; } cases[] = {
      {1, 0, 0, 1, 1}, {1, 0, 0, 8, 1}, {1, 0, 0, 9, 0}, {0, 0, 0, 9, 0}, {0, 0, 0, 8, 1},
      {1, 1, 0, 9, -1}, {1, 0, 1, 9, -1}, {2, 0, 0, 9, -1}, {3, 0, 0, 1, -1}, {4, 0, 0, 1, -1},
      {-1, 0, 0, 1, 1} /* a negative stored mode draws bricks and idles like them */,
  };
  for (const auto& c : cases)
    EXPECT_EQ(TrayIdleImage(c.mode, c.down, c.up, c.idle), c.image)
        << "mode " << c.mode << " down " << c.down << " up " << c.up << " idle " << c.idle;
}

TEST(TrayPicture, BricksLightByUnitWithFivePercentGrace) {
  const struct { const char* what; int32_t mode, scale, balance, down, up; const char *left, *right; } cases[] = {
      // scale 32768, balance 50: unit 6553
      {"down 1", 1, 32768, 50, 1, 0, "#oooo", "ooooo"},
      {"12481", 1, 32768, 50, 12481, 0, "#oooo", "ooooo"},
      {"12482", 1, 32768, 50, 12482, 0, "##ooo", "ooooo"},  // 13106 <= 13106.1
      {"31204", 1, 32768, 50, 31204, 0, "####o", "ooooo"},
      {"31205", 1, 32768, 50, 31205, 0, "#####", "ooooo"},
      {"far above", 1, 32768, 50, INT32_MAX, INT32_MAX, "#####", "#####"},
      {"full tower, up only", 1, 4096, 50, 0, 40000, "ooooo", "#####"},
      {"bricks, up only", 0, 4096, 50, 0, 40000, ".....", "#####"},
      {"unknown mode", 7, 4096, 50, 0, 40000, ".....", "#####"},
      // balance 99 gives the down-link a tenth of the scale, as on the graph
      {"balance 99", 1, 32768, 99, 6553, 6553, "#####", "#oooo"},
      {"balance 1", 1, 32768, 1, 6553, 6553, "#oooo", "#####"},
      // a stored scale of 3: the unit stays 1 instead of 0
      {"scale 3", 1, 3, 50, 2, 0, "##ooo", "ooooo"},
      {"scale 3, idle", 0, 3, 50, 0, 0, ".....", "....."},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    DrawTrayPicture(s, Look(c.mode, c.scale, c.balance), TTrafficHistory(), c.down, c.up);
    EXPECT_EQ(Towers(s), (std::pair<std::string, std::string>(c.left, c.right))) << c.what;
  }
}

TEST(TrayPicture, BrickGeometryAndColours) {
  TRecordingSurface s;
  DrawTrayPicture(s, Look(1, 4096), TTrafficHistory(), 4096, 0);
  ASSERT_EQ(s.Calls.size(), 11u);
  EXPECT_EQ(std::tuple(s.Calls[0].kind, s.Calls[0].rect, s.Calls[0].colour),
            std::tuple(TDrawCall::FillRect, TRect{0, 0, 16, 16}, TrayBackground));
  // down then up for each row, bottom row first
  EXPECT_EQ(std::tuple(s.Calls[1].rect, s.Calls[1].outline, s.Calls[1].colour),
            std::tuple(TRect{1, 12, 7, 16}, Frame, Down));
  EXPECT_EQ(std::tuple(s.Calls[2].kind, s.Calls[2].rect, s.Calls[2].colour),
            std::tuple(TDrawCall::FrameRect, TRect{9, 12, 15, 16}, Frame));
  EXPECT_EQ(s.Calls[9].rect, (TRect{1, 0, 7, 4})) << "the top brick leaves (0, 0) to the key";
}

TEST(TrayPicture, BarsOfTheLastSevenTicks) {
  // scale 4096, balance 50: unit 682
  const struct { int32_t scale, balance, sample, upUnits, downUnits; } cases[] = {
      {4096, 50, 0, 0, 0}, {4096, 50, 1, 1, 1}, {4096, 50, 681, 1, 1}, {4096, 50, 1364, 2, 2},
      {4096, 50, 4091, 5, 5}, {4096, 50, 4092, 6, 6}, {4096, 50, INT32_MAX, 6, 6},
      {4096, 99, 682, 1, 6}, {4096, 1, 682, 6, 1},
      {5, 50, 3, 3, 3} /* a unit of 0 would divide by zero */,
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(30);
    h.HistoryPush(c.sample, c.sample);
    TRecordingSurface s;
    DrawTrayPicture(s, Look(3, c.scale, c.balance), h, c.sample, c.sample);
    const auto lines = s.Of(TDrawCall::Line);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(std::tuple(lines[0].from, lines[0].to, lines[1].from, lines[1].to, lines[0].colour),
              std::tuple(TPoint32{0, 8}, TPoint32{15, 8}, TPoint32{15, 1}, TPoint32{15, 15}, Frame));
    std::vector<TRect> want;
    if (c.upUnits) want.push_back({13, 7 - c.upUnits, 16, 9});
    if (c.downUnits) want.push_back({13, 8, 16, c.downUnits + 10});
    std::vector<TRect> got;
    for (const TDrawCall& r : s.Of(TDrawCall::Rectangle)) got.push_back(r.rect);
    EXPECT_EQ(got, want) << "sample " << c.sample << " scale " << c.scale << " balance " << c.balance;
  }
}

TEST(TrayPicture, BarsPlaceAgesRightToLeft) {
  TTrafficHistory h;
  h.HistoryResize(20);
  for (int32_t v : {4096, 0, 0, 0, 0, 0, 682, 0}) h.HistoryPush(0, v);  // ages 7 down to 0
  // age 0 is idle, and age 7 is beyond the seven bars
  TRecordingSurface s;
  DrawTrayPicture(s, Look(3, 4096), h, 0, 0);
  const auto bars = s.Of(TDrawCall::Rectangle);
  ASSERT_EQ(bars.size(), 1u) << "an idle tick still draws older bars";
  EXPECT_EQ(std::tuple(bars[0].rect, bars[0].outline, bars[0].colour), std::tuple(TRect{11, 6, 14, 9}, Frame, Up));
}

TEST(TrayPicture, MiniGraphUsesTheGraphsAreasBelowRowZero) {
  const struct { const char* what; int32_t age15, age0; TPoint32 oldest, newest; } cases[] = {
      {"full scale at age 0", 0, 4096, {0, 16}, {15, 1}},
      {"far above the scale at age 15", 40960, 0, {0, -134}, {15, 16}},
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(300);
    h.HistoryPush(c.age15, 0);
    for (int i = 0; i < 14; ++i) h.HistoryPush(0, 0);
    h.HistoryPush(c.age0, 0);
    TGraphLook look = Look(2, 999);
    look.GraphScaleMax = 4096;
    TRecordingSurface s;
    DrawTrayPicture(s, look, h, c.age0, 0);
    const auto areas = s.Of(TDrawCall::Polygon);
    ASSERT_EQ(areas.size(), 3u) << c.what << ": the three areas and nothing else";
    EXPECT_EQ(s.Calls.size(), 4u) << c.what;
    EXPECT_EQ(areas[0].colour, GraphDown) << "the graph's colours";
    EXPECT_EQ(std::tuple(areas[0].points[15], areas[0].points[0]), std::tuple(c.oldest, c.newest)) << c.what;
  }
}

}  // namespace
