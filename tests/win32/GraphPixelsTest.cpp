// The GDI surface over the toolkit's canvas, and the graph drawn through it into a
// real bitmap, read back by pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "render/ColorTools.h"
#include "render/GdiSurface.h"
#include "render/GraphRenderer.h"
#include "support/ToolkitTestSupport.h"
#include "traffic/TrafficHistory.h"

using namespace tk;

namespace {

constexpr TColor Border = 0x202020, Down = 0x1515FF, Up = 0x30FFFF, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00,
                 Magenta = 0xFF00FF, White = 0xFFFFFF;

class GraphPixels : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemColourSource([](int index) -> TColor { return ::GetSysColor(index); });
    look.IsActive = true;
    look.ShowGrid = false;
    look.BGColor = 0xF0F0F0;
    look.FlatBorderColor = Border;
    look.DnColor = Down;
    look.UpColor = Up;
    look.GraphScaleMax = 3900;  // at H = 39 a sample's height is a hundredth of it
    history.HistoryResize(87);
  }
  void TearDown() override {
    bitmap.reset();
    EXPECT_EQ(handles.Leaked(), "");
    SetSystemColourSource(nullptr);
  }
  void Draw() {
    TGdiSurface surface(*bitmap->Canvas());
    DrawGraph(surface, look, history, {0, 0, 87, 39});
  }
  void Expect(std::initializer_list<std::pair<int, int>> at, TColor colour, const char* what) {
    for (auto [x, y] : at) EXPECT_EQ(bitmap->Pixel(x, y), colour) << what << " at (" << x << ", " << y << ")";
  }

  const THandleBaseline handles;
  TOwned<TDrawBitmap> bitmap{CreateDrawBitmap(87, 39)};
  TGraphLook look;
  TTrafficHistory history;
};

TEST_F(GraphPixels, AreasOutlinesAndOverlapBand) {
  // older columns: the upload is taller (the download hides behind it); the newest
  // twenty: the download is taller
  for (int i = 0; i < 67; ++i) history.HistoryPush(1000, 2000);
  for (int i = 0; i < 20; ++i) history.HistoryPush(2000, 1000);
  Draw();
  const TColor blend = MixColors(Down, Up, 0.7);
  EXPECT_EQ(blend, 0x28B9FFu);
  // newest columns 67..86: download top at row 20, upload top at row 30, the newest
  // height continued to the right edge
  Expect({{75, 10}}, 0xF0F0F0, "above the areas");
  Expect({{75, 20}}, MixColors(0x808080, Down, 0.3), "download outline");
  Expect({{75, 25}, {86, 25}}, Down, "download");
  Expect({{75, 30}}, MixColors(0x808080, Up, 0.3), "upload outline");
  Expect({{75, 35}}, Up, "upload");
  // older columns: upload top at row 20, the blended band from row 30 down
  Expect({{40, 20}}, MixColors(0x808080, Up, 0.3), "upload outline");
  Expect({{40, 25}}, Up, "upload");
  Expect({{40, 30}}, MixColors(0x808080, blend, 0.3), "band outline");
  Expect({{40, 35}}, blend, "band");
}

TEST_F(GraphPixels, FullScaleSystemColoursAndRateBoxes) {
  history.HistoryPush(100000, 0);
  look.BGColor = SysColour(COLOR_WINDOW);
  look.DownRate = look.UpRate = 1000;
  Draw();
  Expect({{86, 0}, {86, 20}}, Down, "sample above full scale cut at the top");
  Expect({{80, 20}, {3, 30}}, ::GetSysColor(COLOR_WINDOW), "system colour background");
  // box 1 spans rows 37 - th to 36 whatever the font gives: its outline mixed from
  // border, down colour and background
  Expect({{4, 30}, {4, 36}}, MixColors(MixColors(Border, Down, 0.3), ::GetSysColor(COLOR_WINDOW), 0.2), "box outline");
}

TEST_F(GraphPixels, SurfacePrimitivesKeepTheirTools) {
  TGdiSurface s(*bitmap->Canvas());
  s.FillRect(TRect{0, 0, 87, 39}, Magenta);
  const TPoint32 tri[] = {{2, 2}, {12, 2}, {2, 12}};
  s.Polygon(tri, 3, Red, Blue);
  s.Polygon(tri, 0, Red, Blue);
  s.FillRect(TRect{21, 5, 24, 8}, SysColour(COLOR_WINDOW));
  Expect({{2, 2}, {12, 2}, {2, 12}, {7, 2}}, Red, "polygon outline, its corners included");
  Expect({{4, 4}}, Blue, "polygon inside");
  Expect({{11, 11}}, Magenta, "outside the hypotenuse");
  Expect({{23, 7}}, ::GetSysColor(COLOR_WINDOW), "system colour resolved");
  const auto again = [&s] {
    s.Rectangle(TRect{14, 14, 20, 20}, Green, White);
    s.Line(TPoint32{0, 22}, TPoint32{10, 22}, Green);
    s.FrameRect(TRect{0, 0, 24, 24}, White);
    s.MeasureText("1k", TFontSpec{"Small Fonts", 11, false});
  };
  again();
  const long made = TDrawTool::HandlesMade();
  for (int i = 0; i < 20; ++i) again();
  EXPECT_EQ(TDrawTool::HandlesMade(), made) << "the same colours and font again make no new handles";
}

TEST_F(GraphPixels, RepaintWithKeptToolsCopiesTheSamePixelsAsAFreshDrawing) {
  // the window's size, so the caption, grid and rate boxes are all drawn
  constexpr int W = 263, H = 174;
  for (int i = 0; i < W; ++i) history.HistoryPush((i * 7919) % 4000, (i * 104729) % 3000);
  look.ShowGrid = true, look.GridMode = 3, look.DownRate = 12500, look.UpRate = 900;
  const auto draw = [this](TDrawBitmap& b, const TGraphLook& l) {
    TGdiSurface surface(*b.Canvas());
    DrawGraph(surface, l, history, {0, 0, W, H});
  };
  TOwned<TDrawBitmap> kept(CreateDrawBitmap(W, H)), fresh(CreateDrawBitmap(W, H)), screen(CreateDrawBitmap(W, H));
  // earlier paints in other colours fill the kept tools; the last one must not show them
  for (const TColor bg : {TColor{0x102030}, TColor{SysColour(COLOR_WINDOW)}, TColor{0xF0F0F0}}) {
    TGraphLook l = look;
    l.BGColor = bg, l.DnColor = bg ^ 0x00FF00, l.IsActive = bg != 0xF0F0F0, l.GoFlat = true;
    draw(*kept, l);
  }
  look.GoFlat = true, look.IsActive = false;
  draw(*kept, look);
  draw(*fresh, look);
  screen->Canvas();
  kept->Draw(screen->Canvas()->Handle(), 0, 0);  // as the paint copies it on
  int differ = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) differ += screen->Pixel(x, y) != fresh->Pixel(x, y);
  EXPECT_EQ(differ, 0) << "pixels that differ from a drawing with new tools";
}

TEST_F(GraphPixels, KeptToolsAnswerTheirOwnStyleAndColour) {
  TGdiSurface s(*bitmap->Canvas());
  const TFontSpec font{"Small Fonts", 11, false};
  s.FillRect(TRect{0, 0, 87, 39}, White);
  s.FrameRect(TRect{0, 0, 87, 39}, Green);  // the brush is green now, with no handle yet
  s.DrawString("MMMM", TRect{2, 2, 40, 20}, font, Red, TTextAlign::Left);  // a clear green brush made
  s.DrawString("MMMM", TRect{44, 2, 85, 20}, font, Blue, TTextAlign::Left);  // the same font, new colour
  s.FillRect(TRect{0, 24, 10, 30}, Red);
  s.FillRect(TRect{10, 24, 20, 30}, Green);  // solid green: never the clear brush kept before
  int red = 0, blue = 0;
  for (int y = 2; y < 20; ++y)
    for (int x = 2; x < 85; ++x) (x < 40 ? red : blue) += bitmap->Pixel(x, y) == (x < 40 ? Red : Blue);
  EXPECT_TRUE(red > 0 && blue > 0) << "text colours, red " << red << " blue " << blue;
  Expect({{5, 26}}, Red, "red fill");
  Expect({{15, 26}}, Green, "green fill after a clear green brush");
}

TEST_F(GraphPixels, SurfaceTextIsTransparentAtTheTopOfItsBox) {
  TGdiSurface s(*bitmap->Canvas());
  s.FillRect(TRect{0, 0, 87, 39}, Green);
  const TFontSpec font{"Small Fonts", 11, false};
  const TSize size = s.MeasureText("12.5k", font);
  EXPECT_GT(s.MeasureText("a&b", font).cx, s.MeasureText("ab", font).cx) << "'&' taken as a prefix";
  EXPECT_EQ(Mismatches(*bitmap, {0, 0, 87, 39}, Green), "") << "measuring drew";
  s.DrawString("12.5k", TRect{0, 0, 87, 39}, font, Red, TTextAlign::Centre);
  int minX = 87, maxX = -1, minY = 39;
  for (int y = 0; y < 39; ++y)
    for (int x = 0; x < 87; ++x) {
      const uint32_t p = bitmap->Pixel(x, y);
      ASSERT_TRUE(p == Green || p == Red) << "background touched at " << x << "," << y;
      if (p == Red) minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y);
    }
  EXPECT_TRUE(maxX >= 0 && minY < size.cy) << "no text, or not at the top of the box";
  EXPECT_NEAR((minX + maxX) / 2.0, 43.5, 3.0) << "not centred";
}

}  // namespace
