#include "render/RateBoxes.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/RecordingSurface.h"
#include "render/ColorTools.h"
#include "render/GraphRenderer.h"

namespace {

using Points = std::vector<TPoint32>;

TStatsForm Form() {
  TStatsForm form;
  form.IsActive = true;
  form.BGColor = 0xFFFFFF;
  form.FlatBorderColor = 0x000000;
  form.DownRate = 1000;  // "1000b"
  form.UpRate = 2048;    // "2.0k"
  return form;
}

TEST(RateBoxes, SmallBoxesAt87x39) {
  TRecordingSurface s;
  const TStatsForm form = Form();
  EXPECT_FALSE(DrawRateBoxes(s, form, {0, 0, 87, 39}));

  const int32_t tw1 = 5 * s.CharWidth, tw2 = 4 * s.CharWidth;
  const auto boxes = s.Of(TDrawCall::Rectangle);
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[0].rect, (TRect{4, 26, tw1 + 14, 37}));
  EXPECT_EQ(boxes[0].outline, 0x383870u);
  EXPECT_EQ(boxes[0].colour, 0xFFFFFFu);
  EXPECT_EQ(boxes[1].rect, (TRect{tw1 + 20, 26, tw1 + 20 + tw2 + 10, 37}));

  const auto arrows = s.Of(TDrawCall::Polygon);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0].points, (Points{{8, 34}, {10, 32}, {8, 32}, {8, 28}, {8, 28}, {8, 32}, {6, 32}, {8, 34}}));
  EXPECT_EQ(arrows[0].outline, 0x27274Eu);
  EXPECT_EQ(arrows[0].colour, 0x27274Eu);
  const int32_t l2 = tw1 + 21;  // upside down: y = top + th - 1 - template y
  EXPECT_EQ(arrows[1].points, (Points{{l2 + 3, 28}, {l2 + 5, 30}, {l2 + 3, 30}, {l2 + 3, 34},
                                      {l2 + 3, 34}, {l2 + 3, 30}, {l2 + 1, 30}, {l2 + 3, 28}}));

  const auto texts = s.Of(TDrawCall::DrawText);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "1000b");
  EXPECT_EQ(texts[0].rect, (TRect{10, 26, tw1 + 14, 37}));
  EXPECT_EQ(texts[0].align, TTextAlign::Centre);
  EXPECT_EQ(texts[0].font, (TFontSpec{"Small Fonts", 11, false}));
  EXPECT_EQ(texts[0].colour, 0x0F0FB2u) << "178.5 rounds to 178";
  EXPECT_EQ(texts[1].text, "2.0k");
  EXPECT_EQ(texts[1].rect.left, tw1 + 26);
}

TEST(RateBoxes, LargeBoxesFrom120x51) {
  const struct {
    int32_t w, h;
    bool large;
  } cases[] = {{120, 51, true}, {119, 51, false}, {120, 50, false}, {300, 180, true}};
  for (const auto& c : cases) {
    TRecordingSurface s;
    DrawRateBoxes(s, Form(), {0, 0, c.w, c.h});
    const auto texts = s.Of(TDrawCall::DrawText);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].font, c.large ? (TFontSpec{"MS Sans Serif", 14, true}) : (TFontSpec{"Small Fonts", 11, false}))
        << c.w << " x " << c.h;
  }

  TRecordingSurface s;
  DrawRateBoxes(s, Form(), {0, 0, 120, 51});
  const int32_t tw1 = 5 * s.CharWidth;
  const auto boxes = s.Of(TDrawCall::Rectangle);
  ASSERT_EQ(boxes.size(), 2u);
  // th 13, m 5, a 8: dy = 51 - 13 - 5 = 33
  EXPECT_EQ(boxes[0].rect, (TRect{6, 34, tw1 + 18, 47}));
  EXPECT_EQ(boxes[1].rect.left, tw1 + 26);
  EXPECT_EQ(s.Of(TDrawCall::Polygon)[0].points,
            (Points{{11, 44}, {13, 42}, {11, 42}, {11, 36}, {10, 36}, {10, 42}, {8, 42}, {10, 44}}));
}

TEST(RateBoxes, NothingWhenBothRatesAreZero) {
  TRecordingSurface s;
  TStatsForm form = Form();
  form.DownRate = form.UpRate = 0;
  form.MouseMarker = {5, 30};
  EXPECT_FALSE(DrawRateBoxes(s, form, {0, 0, 87, 39}));
  EXPECT_TRUE(s.Calls.empty());

  form.UpRate = 1;
  DrawRateBoxes(s, form, {0, 0, 87, 39});
  EXPECT_EQ(s.Of(TDrawCall::Rectangle).size(), 2u) << "one rate is enough";
  EXPECT_EQ(s.Of(TDrawCall::DrawText)[0].text, "0b");
}

TEST(RateBoxes, MarkerInsideABox) {
  const int32_t tw1 = 25;  // "1000b" at 5 per character
  const struct {
    TPoint32 marker;
    bool inside;
  } cases[] = {
      {{4, 26}, true},         {{tw1 + 13, 36}, true},  {{tw1 + 14, 36}, false},  // gap
      {{4, 37}, false},        {{3, 30}, false},        {{tw1 + 20, 26}, true},   // box 2
      {{tw1 + 49, 36}, true},  {{tw1 + 50, 36}, false}, {{0, 0}, false},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TStatsForm form = Form();
    form.MouseMarker = c.marker;
    EXPECT_EQ(DrawRateBoxes(s, form, {0, 0, 87, 39}), c.inside) << "(" << c.marker.x << ", " << c.marker.y << ")";
  }
}

TEST(RateBoxes, HugeRatesNeverReadNegative) {
  TRecordingSurface s;
  TStatsForm form = Form();
  form.DownRate = 0xFFFFFFFFu;
  DrawRateBoxes(s, form, {0, 0, 87, 39});
  const auto texts = s.Of(TDrawCall::DrawText);
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts[0].text, "2047.9M");
}

TEST(RateBoxes, ArrowTemplates) {
  EXPECT_EQ(Points(ArrowTemplate(false).begin(), ArrowTemplate(false).end()),
            (Points{{3, 8}, {5, 6}, {3, 6}, {3, 2}, {3, 2}, {3, 6}, {1, 6}, {3, 8}}));
  EXPECT_EQ(Points(ArrowTemplate(true).begin(), ArrowTemplate(true).end()),
            (Points{{4, 10}, {6, 8}, {4, 8}, {4, 2}, {3, 2}, {3, 8}, {1, 8}, {3, 10}}));
}

TStatsForm HoverForm(TPoint32 marker) {
  TStatsForm form = Form();
  form.DownRate = form.UpRate = 0;
  form.GraphScaleMax = 4096;
  form.MouseMarker = marker;
  return form;
}

TEST(HoverReadout, LabelRightAndBelowInTheTopLeft) {
  TRecordingSurface s;
  DrawHoverReadout(s, HoverForm({10, 10}), {0, 0, 200, 100}, false);

  const auto lines = s.Of(TDrawCall::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].from, (TPoint32{10, 10}));
  EXPECT_EQ(lines[0].to, (TPoint32{26, 20}));
  EXPECT_EQ(lines[1].from, (TPoint32{26, 20}));
  EXPECT_EQ(lines[1].to, (TPoint32{34, 20}));
  EXPECT_EQ(lines[0].colour, 0x2E2E2Eu) << "tooltip text mixed with grey and the inverse background";

  const auto texts = s.Of(TDrawCall::DrawText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "3.6k");  // 4096 / 100 x 91 = 3727
  const int32_t tw = 4 * s.CharWidth;
  EXPECT_EQ(texts[0].rect, (TRect{33, 15, 26 + tw + 11, 26}));
  EXPECT_EQ(texts[0].align, TTextAlign::Centre);
  EXPECT_EQ(texts[0].colour, 0x000000u);

  const auto dots = s.Of(TDrawCall::Ellipse);
  ASSERT_EQ(dots.size(), 1u);
  EXPECT_EQ(dots[0].rect, (TRect{9, 9, 11, 11}));
  EXPECT_EQ(dots[0].outline, 0x2E2E2Eu);
  EXPECT_EQ(dots[0].colour, 0xE1FFFFu);
  const auto labels = s.Of(TDrawCall::Rectangle);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].rect, texts[0].rect);
  EXPECT_EQ(labels[0].outline, 0x000000u);
  EXPECT_EQ(labels[0].colour, 0xE1FFFFu);
}

TEST(HoverReadout, LabelFlipsLeftAndUpInTheBottomRight) {
  TRecordingSurface s;
  DrawHoverReadout(s, HoverForm({190, 90}), {0, 0, 200, 100}, false);
  const auto lines = s.Of(TDrawCall::Line);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].to, (TPoint32{174, 70}));
  EXPECT_EQ(lines[1].to, (TPoint32{166, 70}));
  const auto texts = s.Of(TDrawCall::DrawText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "451b");
  EXPECT_EQ(texts[0].rect.right, 167);
  EXPECT_EQ(texts[0].rect.top, 65);  // 70 + 1 - 5.5 to even
}

TEST(HoverReadout, SidesAndOddLineHeights) {
  const struct {
    TPoint32 marker;
    int lineHeight;
    int32_t left, top;  // of the label; text "...k" is 4 characters at 5 pixels
  } cases[] = {
      {{100, 40}, 11, 123, 45},   // middle column and the 40 % row stay on the default side
      {{101, 41}, 11, 54, 16},    // one further: left of and above the mouse
      {{10, 10}, 13, 33, 14},     // th 13: ly - 6 on the left-hand placement
      {{190, 10}, 13, 143, 15},   // and ly - 5 on the right-hand one
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    s.LineHeights["Small Fonts"] = c.lineHeight;
    DrawHoverReadout(s, HoverForm(c.marker), {0, 0, 200, 100}, false);
    const auto labels = s.Of(TDrawCall::Rectangle);
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].rect.left, c.left) << "(" << c.marker.x << ", " << c.marker.y << ")";
    EXPECT_EQ(labels[0].rect.top, c.top) << "(" << c.marker.x << ", " << c.marker.y << ")";
    EXPECT_EQ(labels[0].rect.bottom - labels[0].rect.top, c.lineHeight);
  }
}

TEST(HoverReadout, ValuesAndWhenNothingShows) {
  const struct {
    const char* name;
    TPoint32 marker;
    TRect R;
    int32_t scale;
    bool inBox;
    const char* text;  // nullptr: nothing drawn
  } cases[] = {
      {"top row", {10, 1}, {0, 0, 200, 100}, 4096, false, "4.0k"},
      {"middle", {10, 51}, {0, 0, 200, 100}, 4096, false, "2.0k"},
      {"below R", {10, 101}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"far below", {10, 100000}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"no marker", {0, 0}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"x 0", {0, 50}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"y 0", {50, 0}, {0, 0, 200, 100}, 4096, false, nullptr},
      {"inside a box", {10, 10}, {0, 0, 200, 100}, 4096, true, nullptr},
      {"W 90", {10, 10}, {0, 0, 90, 100}, 4096, false, nullptr},
      {"H 50", {10, 10}, {0, 0, 200, 50}, 4096, false, nullptr},
      {"91 x 51", {10, 1}, {0, 0, 91, 51}, 4096, false, "4.0k"},
      {"scale 0 counts as 4096", {10, 1}, {0, 0, 200, 100}, 0, false, "4.0k"},
  };
  for (const auto& c : cases) {
    TRecordingSurface s;
    TStatsForm form = HoverForm(c.marker);
    form.GraphScaleMax = c.scale;
    DrawHoverReadout(s, form, c.R, c.inBox);
    const auto texts = s.Of(TDrawCall::DrawText);
    if (!c.text) {
      EXPECT_TRUE(s.Of(TDrawCall::Line).empty() && s.Of(TDrawCall::Ellipse).empty() && texts.empty()) << c.name;
    } else {
      ASSERT_EQ(texts.size(), 1u) << c.name;
      EXPECT_EQ(texts[0].text, c.text) << c.name;
    }
  }
}

TEST(HoverReadout, WithinTheTrafficLayer) {
  TStatsForm form = Form();
  form.GraphScaleMax = 4096;
  TTrafficHistory history;
  history.HistoryResize(200);

  // large boxes at 200 x 100: th 13, m 5, box 1 from (6, 83)
  form.MouseMarker = {7, 84};
  TRecordingSurface s;
  DrawTrafficLayer(s, form, history, {0, 0, 200, 100}, 50);
  EXPECT_TRUE(s.Of(TDrawCall::Ellipse).empty()) << "marker inside a box hides the readout";

  // the readout reads the undivided scale whatever the balance
  form.MouseMarker = {7, 1};
  s.Clear();
  DrawTrafficLayer(s, form, history, {0, 0, 200, 100}, 99);
  const auto texts = s.Of(TDrawCall::DrawText);
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[2].text, "4.0k");

  // colours come from the installed system colour source
  SetSystemColourSource([](int index) -> TColor { return index == SysColorInfoBk ? 0x00AA00 : 0x0000BB; });
  s.Clear();
  DrawHoverReadout(s, form, {0, 0, 200, 100}, false);
  SetSystemColourSource(nullptr);
  const auto labels = s.Of(TDrawCall::Rectangle);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].colour, 0x00AA00u);
  EXPECT_EQ(labels[0].outline, 0x0000BBu);
}

}  // namespace
