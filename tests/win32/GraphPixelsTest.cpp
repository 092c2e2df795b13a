// The toolkit's canvas, the GDI surface over it and the graph drawn through it into a
// real bitmap, read back by pixel; and no handle left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/ColorTools.h"
#include "render/GdiSurface.h"
#include "render/GraphRenderer.h"
#include "render/TrayPicture.h"
#include "support/WineTest.h"
#include "traffic/TrafficHistory.h"

using namespace tk;

namespace {

constexpr TColor Down = 0x1515FF, Up = 0x30FFFF, Red = 0x0000FF, Blue = 0xFF0000, Green = 0x00FF00,
                 Magenta = 0xFF00FF, White = 0xFFFFFF;
const TFontSpec Small{"Small Fonts", 11, false};

struct TPixel { int x, y; TColor colour; const char* what; };

class GraphPixels : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemColourSource([](int index) -> TColor { return ::GetSysColor(index); });
    look.IsActive = true, look.ShowGrid = false, look.BGColor = 0xF0F0F0, look.FlatBorderColor = 0x202020;
    look.DnColor = Down, look.UpColor = Up;
    look.GraphScaleMax = 3900;  // at H = 39 a sample's height is a hundredth of it
    history.HistoryResize(87);
  }
  void TearDown() override {
    bitmap.reset();
    EXPECT_EQ(handles.Leaked(), "");
    SetSystemColourSource(nullptr);
  }
  void Expect(std::initializer_list<TPixel> pixels) {
    for (const TPixel& p : pixels) EXPECT_EQ(bitmap->Pixel(p.x, p.y), p.colour) << p.what;
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
  TGdiSurface surface(*bitmap->Canvas());
  DrawGraph(surface, look, history, {0, 0, 87, 39});
  const TColor blend = MixColors(Down, Up, 0.7);
  // newest columns: download top at row 20, upload top at row 30, the newest height
  // continued to the right edge; older columns: upload top at row 20, the band from row 30
  Expect({{75, 10, 0xF0F0F0, "above the areas"}, {75, 20, MixColors(0x808080, Down, 0.3), "download outline"},
          {86, 25, Down, "download at the right edge"}, {75, 35, Up, "upload"}, {40, 25, Up, "older upload"},
          {40, 35, blend, "band"}});
}

TEST_F(GraphPixels, SurfacePolygonAndSystemColours) {
  TGdiSurface s(*bitmap->Canvas());
  s.FillRect(TRect{0, 0, 87, 39}, Magenta);
  const TPoint32 tri[] = {{2, 2}, {12, 2}, {2, 12}};
  s.Polygon(tri, 3, Red, Blue);
  s.FillRect(TRect{21, 5, 24, 8}, SysColour(COLOR_WINDOW));
  Expect({{2, 12, Red, "polygon's last corner"}, {7, 2, Red, "polygon outline"}, {4, 4, Blue, "polygon inside"},
          {23, 7, ::GetSysColor(COLOR_WINDOW), "system colour resolved"}});
}

TEST_F(GraphPixels, RepaintWithKeptToolsCopiesTheSamePixelsAsAFreshDrawing) {
  constexpr int W = 263, H = 174;  // the window's size: caption, grid and rate boxes all drawn
  for (int i = 0; i < W; ++i) history.HistoryPush((i * 7919) % 4000, (i * 104729) % 3000);
  look.ShowGrid = true, look.GridMode = 3, look.DownRate = 12500, look.UpRate = 900;
  const auto draw = [this](TDrawBitmap& b, const TGraphLook& l) {
    b.SetSize(W, H);
    TGdiSurface surface(*b.Canvas());
    DrawGraph(surface, l, history, {0, 0, W, H});
  };
  // the kept one made as the window's back buffer is: empty, then sized by each paint
  TOwned<TDrawBitmap> kept(CreateDrawBitmap(0, 0)), fresh(CreateDrawBitmap(W, H)), screen(CreateDrawBitmap(W, H));
  // an earlier paint in other colours fills the kept tools; the next must not show them
  TGraphLook other = look;
  other.BGColor = 0x102030, other.DnColor = 0x10DF30, other.GridColor = 0x405060;
  draw(*kept, other);
  look.GoFlat = true, look.IsActive = false;
  draw(*kept, look);
  draw(*fresh, look);
  kept->Draw(screen->Canvas()->Handle(), 0, 0);  // as the paint copies it on
  int differ = 0;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) differ += screen->Pixel(x, y) != fresh->Pixel(x, y);
  EXPECT_EQ(differ, 0) << "pixels that differ from a drawing with new tools";
}

TEST_F(GraphPixels, TextIsTransparentCentredAndKeepsNoStaleTool) {
  TGdiSurface s(*bitmap->Canvas());
  s.FillRect(TRect{0, 0, 87, 39}, Green);
  s.DrawString("12.5k", TRect{0, 0, 87, 39}, Small, Red, TTextAlign::Centre);
  int minX = 87, maxX = -1;
  for (int y = 0; y < 39; ++y)
    for (int x = 0; x < 87; ++x) {
      const uint32_t p = bitmap->Pixel(x, y);
      ASSERT_TRUE(p == Green || p == Red) << "background touched at " << x << "," << y;
      if (p == Red) minX = std::min(minX, x), maxX = std::max(maxX, x);
    }
  ASSERT_GE(maxX, 0) << "no text";
  EXPECT_NEAR((minX + maxX) / 2.0, 43.5, 3.0) << "not centred";
  // The same font in a new colour; then a solid fill in the clear brush's colour.
  s.FillRect(TRect{0, 0, 87, 39}, White);
  s.DrawString("MMMM", TRect{2, 2, 40, 20}, Small, Blue, TTextAlign::Left);
  s.FillRect(TRect{0, 24, 10, 30}, Red);
  s.FrameRect(TRect{0, 0, 87, 39}, Green);
  s.DrawString("MMMM", TRect{44, 2, 85, 20}, Small, Red, TTextAlign::Left);
  s.FillRect(TRect{10, 24, 20, 30}, Green);
  int blue = 0;
  for (int y = 2; y < 20; ++y)
    for (int x = 2; x < 40; ++x) blue += bitmap->Pixel(x, y) == Blue;
  EXPECT_GT(blue, 0) << "text colour after a red text in the same font";
  Expect({{5, 26, Red, "red fill"}, {15, 26, Green, "green fill after a clear green brush"}});
}

// What the canvas selects for each call, and the coordinates it passes on.
TEST(DrawCanvas, PixelRules) {
  auto bmp = FilledBitmap(20, 20, Magenta);
  TDrawCanvas* c = bmp->Canvas();
  c->Pen()->SetColour(Red);
  c->Brush()->SetColour(Blue);
  c->Rectangle(0, 0, 16, 16);
  c->Brush()->SetColour(Green);
  c->FillRect(RECT{2, 2, 6, 6});
  c->Brush()->SetColour(White);  // the pen stays red: the frame must not take it
  c->FrameRect(RECT{8, 8, 13, 13});
  c->Ellipse(17, 0, 19, 2);
  const struct { const char* what; RECT r; uint32_t colour; } areas[] = {
      {"rectangle right edge in column 15", {15, 0, 16, 16}, Red}, {"bottom edge in row 15", {0, 15, 16, 16}, Red},
      {"fill", {2, 2, 6, 6}, Green}, {"fill right edge exclusive", {6, 2, 7, 6}, Blue},
      {"fill bottom edge exclusive", {2, 6, 6, 7}, Blue}, {"dot right edge exclusive", {19, 0, 20, 3}, Magenta},
      {"dot bottom edge exclusive", {16, 2, 20, 3}, Magenta},
      {"frame", {8, 8, 13, 9}, White}, {"frame fills nothing", {9, 9, 12, 12}, Blue},
  };
  for (const auto& a : areas) EXPECT_EQ(Mismatches(*bmp, a.r, a.colour), "") << a.what;
  EXPECT_NE(Mismatches(*bmp, {17, 0, 19, 2}, Magenta), "") << "dot drew nothing";
}

TEST(Leaks, BitmapsAndTools) {
  const THandleBaseline handles;
  std::vector<HGDIOBJ> lastMade;
  for (int i = 0; i < 30; ++i) {  // a leak shows within a few dozen rounds
    TOwned<TDrawBitmap> b(CreateDrawBitmap(16 + i % 7, 16));
    TDrawCanvas* c = b->Canvas();
    c->Brush()->SetColour(Red + uint32_t(i % 3));
    c->Rectangle(1, 1, 7, 5);
    RECT r{0, 0, 16, 16};
    c->DrawTextRect("1k", r, 0);
    if (i % 2) b->SetWidth(30);
    lastMade = {b->Handle(), c->Handle(), c->Pen()->Handle(), c->Brush()->Handle(), c->Font()->Handle()};
  }
  EXPECT_EQ(handles.Leaked(), "") << "bitmaps, canvases or tools";
  // Wine's own table, beyond our counts (GetGuiResources is a stub there).
  for (HGDIOBJ h : lastMade) EXPECT_EQ(GetObjectType(h), 0u) << "GDI still knows " << h;
}

}  // namespace

// The tray picture at 24 px (a 150 % display), drawn through GDI: whole-pixel bricks and
// bars of that size, the inside of an unlit brick and the corner left to the key.
TEST_F(GraphPixels, TrayPictureAt24Pixels) {
  bitmap.reset(CreateDrawBitmap(24, 24));
  look.TrayFrameColor = Blue, look.TrayUpColor = Green, look.TrayDnColor = Red, look.TrayScaleMax = 4096;
  for (int i = 0; i < 7; ++i) history.HistoryPush(4096, 4096);
  TGdiSurface surface(*bitmap->Canvas());
  look.TrayMode = 1;
  DrawTrayPicture(surface, look, history, 4096, 0, 24);
  Expect({{0, 0, Magenta, "corner"}, {1, 23, Blue, "lowest brick's outline"}, {5, 21, Red, "lit brick"},
          {5, 4, Red, "top brick lit"}, {10, 19, Blue, "brick's right outline"}, {11, 21, Magenta, "between towers"},
          {13, 21, Blue, "unlit frame"}, {17, 21, Magenta, "inside an unlit brick"}, {17, 2, Magenta, "above the towers"}});
  look.TrayMode = 3;
  DrawTrayPicture(surface, look, history, 4096, 4096, 24);
  Expect({{0, 0, Magenta, "corner"}, {0, 12, Blue, "axis"}, {23, 5, Blue, "right edge"}, {21, 5, Green, "newest up bar"},
          {21, 20, Red, "newest down bar"}, {3, 5, Green, "oldest up bar"}, {1, 5, Magenta, "left of the bars"},
          {21, 0, Magenta, "above the tallest bar"}});
}
