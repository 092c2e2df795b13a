#include "render/RateBoxes.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "render/GraphRenderer.h"
#include "render/HoverReadout.h"
#include "support/RecordingSurface.h"

namespace {

using Points = std::vector<TPoint32>;

TGraphLook Look(uint32_t down = 1000, uint32_t up = 2048, TPoint32 marker = {}) {  // "1000b", "2.0k"
  TGraphLook look;
  look.IsActive = true, look.DownRate = down, look.UpRate = up, look.MouseMarker = marker;
  return look;
}

TEST(RateBoxes, SmallBoxesAt87x39) {
  TRecordingSurface s;
  EXPECT_FALSE(DrawRateBoxes(s, Look(), {0, 0, 87, 39}));
  const int32_t tw1 = 5 * s.CharWidth, tw2 = 4 * s.CharWidth;
  const auto boxes = s.Of(TDrawCall::Rectangle), arrows = s.Of(TDrawCall::Polygon), texts = s.Of(TDrawCall::DrawString);
  ASSERT_TRUE(boxes.size() == 2 && arrows.size() == 2 && texts.size() == 2);
  EXPECT_EQ(std::tuple(boxes[0].rect, boxes[0].outline, boxes[0].colour, boxes[1].rect, boxes[1].outline, boxes[1].colour),
            std::tuple(TRect{4, 26, tw1 + 14, 37}, 0x383870u, 0xFFFFFFu, TRect{tw1 + 20, 26, tw1 + 30 + tw2, 37}, 0x3E7070u,
                       0xFFFFFFu));
  EXPECT_EQ(std::tuple(arrows[0].outline, arrows[0].colour, arrows[1].outline, arrows[1].colour, texts[0].colour,
                       texts[1].colour), std::tuple(0x27274Eu, 0x27274Eu, 0x2B4E4Eu, 0x2B4E4Eu, 0x0F0FB2u, 0x22B2B2u));
  EXPECT_EQ(arrows[0].points, (Points{{8, 34}, {10, 32}, {8, 32}, {8, 28}, {8, 28}, {8, 32}, {6, 32}, {8, 34}}));
  EXPECT_EQ(std::tuple(texts[0].text, texts[0].rect, texts[0].align, texts[0].font, texts[1].text, texts[1].rect.left),
            std::tuple("1000b", TRect{10, 26, tw1 + 14, 37}, TTextAlign::Centre, SmallFontsSpec(), "2.0k", tw1 + 26));
}

TEST(RateBoxes, LargeBoxesFrom120x51) {
  // small: th 11, m 3, a 6; large: th 13, m 5, a 8; box 1 from (m + 1, H - th - m + 1)
  const struct { TRect R; bool large; TRect box1; } cases[] = {
      {{0, 0, 120, 51}, true, {6, 34, 43, 47}},   {{0, 0, 119, 51}, false, {4, 38, 39, 49}},
      {{0, 0, 120, 50}, false, {4, 37, 39, 48}},  {{0, 0, 300, 180}, true, {6, 163, 43, 176}},
      {{1, 1, 86, 38}, false, {4, 24, 39, 35}},  // measured like the areas, not from R.top
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    DrawRateBoxes(s, Look(), c.R);
    EXPECT_EQ(std::tuple(s.Of(TDrawCall::DrawString).at(0).font, s.Of(TDrawCall::Rectangle).at(0).rect),
              std::tuple(c.large ? TFontSpec{"MS Sans Serif", 14, true} : SmallFontsSpec(), c.box1))
        << c.R.right << " x " << c.R.bottom;
  }
  TRecordingSurface s;
  DrawRateBoxes(s, Look(), {0, 0, 120, 51});
  EXPECT_EQ(s.Of(TDrawCall::Rectangle)[1].rect.left, 25 + 26);
}

TEST(RateBoxes, RatesShownAndTheMarkerInABox) {
  const int32_t tw1 = 25;  // "1000b" at 5 per character; downText "": nothing drawn, no box to be in
  const struct { uint32_t down, up; TPoint32 marker; bool inside; const char* downText; } cases[] = {
      {0, 0, {5, 30}, false, ""}, {0, 1, {5, 30}, true, "0b"}, {0xFFFFFFFFu, 0, {5, 30}, true, "2047.9M"} /* never negative */,
      {1000, 1, {4, 26}, true, "1000b"}, {1000, 1, {tw1 + 14, 36}, false, "1000b"} /* gap */,
      {1000, 1, {4, 37}, false, "1000b"}, {1000, 2048, {tw1 + 49, 36}, true, "1000b"} /* box 2 */,
      {1000, 2048, {tw1 + 50, 36}, false, "1000b"},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    const bool inside = DrawRateBoxes(s, Look(c.down, c.up, c.marker), {0, 0, 87, 39});
    const auto texts = s.Of(TDrawCall::DrawString);
    EXPECT_EQ(std::tuple(inside, s.Calls.size(), texts.empty() ? "" : texts[0].text),
              std::tuple(c.inside, *c.downText ? 8u : 0u, c.downText)) << c.marker.x << ", " << c.marker.y;
  }
}

TEST(HoverReadout, LeaderAndLabelFlipInTheBottomRight) {
  const struct { TPoint32 marker, bend, end; const char* text; TRect label; } cases[] = {
      // 4096 / 100 x 91 = 3727; the label right of and below the bend
      {{10, 10}, {26, 20}, {34, 20}, "3.6k", {33, 15, 57, 26}},
      // left of and above it; top 70 + 1 - 5.5 to even
      {{190, 90}, {174, 70}, {166, 70}, "451b", {143, 65, 167, 76}},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    DrawHoverReadout(s, Look(0, 0, c.marker), {0, 0, 200, 100}, false);
    const auto lines = s.Of(TDrawCall::Line), texts = s.Of(TDrawCall::DrawString);
    const auto labels = s.Of(TDrawCall::Rectangle), dots = s.Of(TDrawCall::Ellipse);
    ASSERT_EQ(std::tuple(lines.size(), texts.size(), labels.size(), dots.size()), std::tuple(2u, 1u, 1u, 1u)) << c.text;
    EXPECT_EQ(std::tuple(lines[0].from, lines[0].to, lines[1].from, lines[1].to, texts[0].text, texts[0].rect, labels[0].rect,
                         texts[0].align, dots[0].rect),
              std::tuple(c.marker, c.bend, c.bend, c.end, c.text, c.label, c.label, TTextAlign::Centre,
                         TRect{c.marker.x - 1, c.marker.y - 1, c.marker.x + 1, c.marker.y + 1}));
    // tooltip text mixed with grey and the inverse background; tooltip colours for the rest
    EXPECT_EQ(std::tuple(lines[0].colour, dots[0].outline, dots[0].colour, labels[0].outline, labels[0].colour,
                         texts[0].colour),
              std::tuple(0x2E2E2Eu, 0x2E2E2Eu, 0xE1FFFFu, 0x000000u, 0xE1FFFFu, 0x000000u));
  }
}

TEST(HoverReadout, SidesAndOddLineHeights) {
  // the label's left and top; its text "...k" is 4 characters at 5 pixels
  const struct { TPoint32 marker; TRect R; int lineHeight; int32_t left, top; } cases[] = {
      {{100, 40}, {0, 0, 200, 100}, 11, 123, 45},  // middle column and the 40 % row stay on the default side
      {{101, 41}, {0, 0, 200, 100}, 11, 54, 16},   // one further: left of and above the mouse
      {{100, 40}, {1, 1, 199, 99}, 11, 123, 45},   // measured from the area's right and bottom
      {{10, 10}, {0, 0, 200, 100}, 13, 33, 14}, {{190, 10}, {0, 0, 200, 100}, 13, 143, 15},  // th 13: ly - 6, ly - 5
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    s.LineHeights["Small Fonts"] = c.lineHeight;
    DrawHoverReadout(s, Look(0, 0, c.marker), c.R, false);
    const TRect label = s.Of(TDrawCall::Rectangle).at(0).rect;
    EXPECT_EQ(label, (TRect{c.left, c.top, label.right, c.top + c.lineHeight})) << c.marker.x << ", " << c.marker.y;
  }
}

TEST(HoverReadout, ValuesAndWhenNothingShows) {
  const struct { const char* name; TPoint32 marker; TRect R; int32_t scale; bool inBox; const char* text; } cases[] = {
      {"top row", {10, 1}, {0, 0, 200, 100}, 4096, false, "4.0k"}, {"below R", {10, 101}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"no marker", {0, 0}, {0, 0, 200, 100}, 4096, false, nullptr}, {"x 0", {0, 50}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"y 0", {50, 0}, {0, 0, 200, 100}, 4096, false, nullptr}, {"in a box", {10, 10}, {0, 0, 200, 100}, 4096, true, nullptr},
      {"W 90", {10, 10}, {0, 0, 90, 100}, 4096, false, nullptr}, {"H 50", {10, 10}, {0, 0, 200, 50}, 4096, false, nullptr},
      {"91 x 51", {10, 1}, {0, 0, 91, 51}, 4096, false, "4.0k"}, {"scale 0 is 4096", {10, 1}, {0, 0, 200, 100}, 0, false, "4.0k"},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TGraphLook look = Look(0, 0, c.marker);
    look.GraphScaleMax = c.scale;
    DrawHoverReadout(s, look, c.R, c.inBox);
    const auto texts = s.Of(TDrawCall::DrawString);
    EXPECT_EQ(std::tuple(s.Calls.size(), texts.empty() ? "" : texts[0].text),
              std::tuple(c.text ? 6u : 0u, std::string(c.text ? c.text : ""))) << c.name;
  }
}

TEST(HoverReadout, WithinTheTrafficLayer) {
  TTrafficHistory history;
  history.HistoryResize(200);
  // large boxes at 200 x 100: th 13, m 5, box 1 from (6, 83)
  TRecordingSurface s;
  DrawTrafficLayer(s, Look(1000, 2048, {7, 84}), history, {0, 0, 200, 100}, 50);
  EXPECT_TRUE(s.Of(TDrawCall::Ellipse).empty()) << "marker inside a box hides the readout";

  s.Clear();
  const TGraphLook look = Look(1000, 2048, {7, 1});
  DrawTrafficLayer(s, look, history, {0, 0, 200, 100}, 99);
  EXPECT_EQ(s.Of(TDrawCall::DrawString).at(2).text, "4.0k") << "the readout reads the undivided scale whatever the balance";

  // colours come from the installed system colour source
  SetSystemColourSource([](int index) -> TColor { return index == SysColorInfoBk ? 0x00AA00 : 0x0000BB; });
  s.Clear();
  DrawHoverReadout(s, look, {0, 0, 200, 100}, false);
  SetSystemColourSource(nullptr);
  const TDrawCall label = s.Of(TDrawCall::Rectangle).at(0);
  EXPECT_EQ(std::tuple(label.colour, label.outline), std::tuple(0x00AA00u, 0x0000BBu));
}

// At 150 % the graph's stored 87 x 39 is 131 x 59 pixels: the same small boxes, their
// font, margins and arrow half as large again; the readout still waits for a taller graph.
TEST(RateBoxes, ScaleWithTheGraphsDpi) {
  const struct { int32_t dpi, w, h, fontHeight, boxLeft, arrowTip; bool readout; } cases[] = {
      {96, 87, 39, 11, 4, 8, false}, {144, 131, 59, 17, 6, 12, false}, {144, 190, 80, 21, 9, 15, true},
      {192, 174, 78, 22, 7, 16, false},
  };
  for (const auto& c : cases) {
    TGraphLook look = Look(1000, 2048, {20, 20});
    look.Dpi = c.dpi;
    TRecordingSurface s;
    s.LineHeights.clear();  // text as tall as its font
    DrawTrafficLayer(s, look, TTrafficHistory{}, {0, 0, c.w, c.h}, 50);
    const auto boxes = s.Of(TDrawCall::Rectangle), arrows = s.Of(TDrawCall::Polygon);
    ASSERT_GE(boxes.size(), 2u) << c.dpi;
    EXPECT_EQ(std::tuple(s.Of(TDrawCall::DrawString).at(0).font.height, boxes[0].rect.left,
                         arrows.at(arrows.size() - 2).points[0].y - boxes[0].rect.top, boxes.size() == 3),
              std::tuple(c.fontHeight, c.boxLeft, c.arrowTip, c.readout)) << c.dpi;
  }
}

}  // namespace
