// The graph drawn through the real GDI canvas into a real bitmap, read back by pixel.
#include "toolkit/DrawBitmap.h"

#include <gtest/gtest.h>

#include <utility>

#include "app/TrafficHistory.h"
#include "render/ColorTools.h"
#include "render/GraphRenderer.h"
#include "toolkit/Handles.h"

namespace {

constexpr TColor Background = 0xF0F0F0;
constexpr TColor GridH = 0x00AA00;
constexpr TColor GridV = 0xAA0000;
constexpr TColor Border = 0x202020;
constexpr TColor Down = 0x1515FF;
constexpr TColor Up = 0x30FFFF;

class GraphPixels : public ::testing::Test {
protected:
  void SetUp() override {
    SetSystemColourSource([](int index) -> TColor { return ::GetSysColor(index); });
    gdiBefore_ = tk::LiveGdiHandles();
    form.IsActive = true;
    form.GoFlat = true;
    form.BGColor = Background;
    form.GridColor = GridH;
    form.GridColor2 = GridV;
    form.FlatBorderColor = Border;
    form.DnColor = Down;
    form.UpColor = Up;
    form.GridMode = 3;
    form.GraphScaleMax = 3900;  // at H = 39 a sample's height is a hundredth of it
    history.HistoryResize(87);
  }
  void TearDown() override {
    Release(bitmap_);
    bitmap_ = nullptr;
    EXPECT_EQ(tk::LiveGdiHandles(), gdiBefore_) << "GDI handles leaked";
    SetSystemColourSource(nullptr);
  }

  void Draw(int32_t w, int32_t h) {
    bitmap_ = CreateDrawBitmap(w, h);
    ASSERT_NE(bitmap_, nullptr);
    TDrawCanvas* canvas = bitmap_->Canvas();
    ASSERT_NE(canvas, nullptr);
    DrawGraph(*canvas, form, history, {0, 0, w, h});
  }
  uint32_t Pixel(int32_t x, int32_t y) { return bitmap_->Pixel(x, y); }

  TStatsForm form;
  TTrafficHistory history;

private:
  TDrawBitmap* bitmap_ = nullptr;
  long gdiBefore_ = 0;
};

TEST_F(GraphPixels, BackgroundAndGrid) {
  form.GraphScaleMax = 4096;
  Draw(87, 39);
  for (int32_t y : {27, 14, 1}) EXPECT_EQ(Pixel(40, y), GridH) << "row " << y;
  for (int32_t x : {78, 68, 58, 48, 38, 28, 18, 8}) EXPECT_EQ(Pixel(x, 20), GridV) << "column " << x;
  EXPECT_EQ(Pixel(0, 27), GridH) << "rows start at R.left";
  EXPECT_EQ(Pixel(86, 27), GridH) << "and end at R.right";
  EXPECT_EQ(Pixel(78, 0), GridV);
  EXPECT_EQ(Pixel(78, 38), GridV);
  for (auto [x, y] : {std::pair{40, 20}, {0, 0}, {86, 38}, {40, 38}, {85, 26}})
    EXPECT_EQ(Pixel(x, y), Background) << "(" << x << ", " << y << ")";
}

TEST_F(GraphPixels, FlatLookBorderAndShiftedGrid) {
  form.IsActive = false;
  form.GraphScaleMax = 4096;
  Draw(87, 39);
  for (auto [x, y] : {std::pair{0, 0}, {86, 0}, {0, 38}, {86, 38}, {40, 0}, {40, 38}, {0, 20}, {86, 20}})
    EXPECT_EQ(Pixel(x, y), Border) << "ring at (" << x << ", " << y << ")";
  for (int32_t y : {27, 15, 3}) EXPECT_EQ(Pixel(40, y), GridH) << "row " << y;
  EXPECT_EQ(Pixel(40, 14), Background);
  EXPECT_EQ(Pixel(77, 20), GridV);
  EXPECT_EQ(Pixel(1, 1), Background);
}

TEST_F(GraphPixels, AreasOutlinesAndOverlapBand) {
  // older columns: the upload is taller (the download hides behind it);
  // the newest twenty: the download is taller
  for (int i = 0; i < 67; ++i) history.HistoryPush(1000, 2000);
  for (int i = 0; i < 20; ++i) history.HistoryPush(2000, 1000);
  form.ShowGrid = false;
  Draw(87, 39);

  const TColor blend = MixColors(Down, Up, 0.7);
  EXPECT_EQ(blend, 0x28B9FFu);
  // newest columns 67..86: download top at row 20, upload top at row 30
  EXPECT_EQ(Pixel(75, 10), Background);
  EXPECT_EQ(Pixel(75, 20), MixColors(0x808080, Down, 0.3)) << "download outline";
  EXPECT_EQ(Pixel(75, 25), Down);
  EXPECT_EQ(Pixel(75, 30), MixColors(0x808080, Up, 0.3)) << "upload outline";
  EXPECT_EQ(Pixel(75, 35), Up);
  EXPECT_EQ(Pixel(86, 25), Down) << "newest height continues to the right edge";
  // older columns: upload top at row 20, the blended band from row 30 down
  EXPECT_EQ(Pixel(40, 20), MixColors(0x808080, Up, 0.3));
  EXPECT_EQ(Pixel(40, 25), Up);
  EXPECT_EQ(Pixel(40, 30), MixColors(0x808080, blend, 0.3)) << "band outline";
  EXPECT_EQ(Pixel(40, 35), blend);
}

TEST_F(GraphPixels, SampleAboveFullScaleIsCutAtTheTop) {
  history.HistoryPush(100000, 0);
  form.ShowGrid = false;
  Draw(87, 39);
  EXPECT_EQ(Pixel(86, 0), Down);
  EXPECT_EQ(Pixel(86, 20), Down);
  EXPECT_EQ(Pixel(80, 20), Background);
}

TEST_F(GraphPixels, SystemColourBackground) {
  form.BGColor = 0x80000000u | 5;  // COLOR_WINDOW
  form.ShowGrid = false;
  Draw(87, 39);
  EXPECT_EQ(Pixel(40, 20), ::GetSysColor(COLOR_WINDOW));
}

TEST_F(GraphPixels, RateBoxOutline) {
  form.DownRate = 1000;
  form.UpRate = 1000;
  form.ShowGrid = false;
  Draw(87, 39);
  // box 1 spans rows 37 - th to 36 whatever the font gives: its outline mixed from border, down colour and background
  const TColor outline = MixColors(MixColors(Border, Down, 0.3), Background, 0.2);
  EXPECT_EQ(Pixel(4, 30), outline);
  EXPECT_EQ(Pixel(4, 36), outline);
  EXPECT_EQ(Pixel(3, 30), Background);
}

}  // namespace
