// The graph drawn through the real GDI canvas into a real bitmap, read back by pixel.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "render/ColorTools.h"
#include "render/GdiSurface.h"
#include "render/GraphRenderer.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/Handles.h"
#include "traffic/TrafficHistory.h"

using namespace tk;

namespace {

constexpr TColor Background = 0xF0F0F0, GridH = 0x00AA00, GridV = 0xAA0000, Border = 0x202020, Down = 0x1515FF,
                 Up = 0x30FFFF;
using Pixels = std::vector<std::pair<int32_t, int32_t>>;

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
    EXPECT_EQ(tk::LiveGdiHandles(), gdiBefore_) << "GDI handles leaked";
    SetSystemColourSource(nullptr);
  }
  void Draw() {
    bitmap_ = CreateDrawBitmap(87, 39);
    ASSERT_NE(bitmap_, nullptr);
    ASSERT_NE(bitmap_->Canvas(), nullptr);
    TGdiSurface surface(*bitmap_->Canvas());
    DrawGraph(surface, form, history, {0, 0, 87, 39});
  }
  uint32_t Pixel(int32_t x, int32_t y) { return bitmap_->Pixel(x, y); }
  void Expect(const Pixels& at, TColor colour, const char* what) {
    for (auto [x, y] : at) EXPECT_EQ(Pixel(x, y), colour) << what << " at (" << x << ", " << y << ")";
  }

  TGraphLook form;
  TTrafficHistory history;

private:
  TDrawBitmap* bitmap_ = nullptr;
  long gdiBefore_ = 0;
};

TEST_F(GraphPixels, BackgroundAndGrid) {
  form.GraphScaleMax = 4096;
  Draw();
  Expect({{40, 27}, {40, 14}, {40, 1}, {0, 27} /* from R.left */, {86, 27} /* to R.right */}, GridH, "grid row");
  Expect({{78, 20}, {68, 20}, {58, 20}, {48, 20}, {38, 20}, {28, 20}, {18, 20}, {8, 20}, {78, 0}, {78, 38}}, GridV,
         "grid column");
  Expect({{40, 20}, {0, 0}, {86, 38}, {40, 38}, {85, 26}}, Background, "background");
}

TEST_F(GraphPixels, FlatLookBorderAndShiftedGrid) {
  form.IsActive = false;
  form.GraphScaleMax = 4096;
  Draw();
  Expect({{0, 0}, {86, 0}, {0, 38}, {86, 38}, {40, 0}, {40, 38}, {0, 20}, {86, 20}}, Border, "ring");
  Expect({{40, 27}, {40, 15}, {40, 3}}, GridH, "grid row");
  Expect({{77, 20}}, GridV, "grid column");
  Expect({{40, 14}, {1, 1}}, Background, "background");
}

TEST_F(GraphPixels, AreasOutlinesAndOverlapBand) {
  // older columns: the upload is taller (the download hides behind it);
  // the newest twenty: the download is taller
  for (int i = 0; i < 67; ++i) history.HistoryPush(1000, 2000);
  for (int i = 0; i < 20; ++i) history.HistoryPush(2000, 1000);
  form.ShowGrid = false;
  Draw();
  const TColor blend = MixColors(Down, Up, 0.7);
  EXPECT_EQ(blend, 0x28B9FFu);
  // newest columns 67..86: download top at row 20, upload top at row 30, the newest
  // height continued to the right edge
  Expect({{75, 10}}, Background, "above the areas");
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
  form.ShowGrid = false;
  form.BGColor = 0x80000000u | COLOR_WINDOW;
  form.DownRate = form.UpRate = 1000;
  Draw();
  Expect({{86, 0}, {86, 20}}, Down, "sample above full scale cut at the top");
  Expect({{80, 20}}, ::GetSysColor(COLOR_WINDOW), "system colour background");
  // box 1 spans rows 37 - th to 36 whatever the font gives: its outline mixed from
  // border, down colour and background
  Expect({{4, 30}, {4, 36}}, MixColors(MixColors(Border, Down, 0.3), ::GetSysColor(COLOR_WINDOW), 0.2), "box outline");
  Expect({{3, 30}}, ::GetSysColor(COLOR_WINDOW), "left of the box");
}

}  // namespace
