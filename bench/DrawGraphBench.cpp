// Microseconds per full DrawGraph of a 300 x 180 client area with a full 300-sample
// history, through the real GDI canvas into a screen-compatible bitmap, for a few
// shapes of traffic, then the cost of each drawing step. Run under Wine:
//   scripts/wine-run.sh <build>/draw_graph_bench.exe [iterations]
#include <cstdio>
#include <cstdlib>

#include "render/ColorTools.h"
#include "render/GdiSurface.h"
#include "render/GraphRenderer.h"
#include "render/HoverReadout.h"
#include "render/RateBoxes.h"
#include "toolkit/DrawBitmap.h"
#include "traffic/TrafficHistory.h"

using namespace tk;

namespace {

constexpr int32_t W = 300, H = 180;

struct TLcg {
  uint32_t state = 12345;
  uint32_t Next(uint32_t range) {
    state = state * 1103515245u + 12345u;
    return (state >> 8) % range;
  }
};

enum class TShape { Steady, Bursty, Random };

// Samples against a full scale of 65536.
TTrafficHistory MakeHistory(TShape shape) {
  TTrafficHistory history;
  history.HistoryResize(W);
  TLcg lcg;
  for (int i = 0; i < W; ++i) {
    int32_t down = 0, up = 0;
    switch (shape) {
      case TShape::Steady:  // a long download: a plateau with a few per cent of noise
        down = 40000 + static_cast<int32_t>(lcg.Next(4000));
        up = 3000 + static_cast<int32_t>(lcg.Next(600));
        break;
      case TShape::Bursty:  // browsing: a low floor with one burst in ten seconds
        down = lcg.Next(10) == 0 ? static_cast<int32_t>(lcg.Next(60000)) : static_cast<int32_t>(lcg.Next(3000));
        up = static_cast<int32_t>(lcg.Next(1500));
        break;
      case TShape::Random:  // every column independent over the whole height: the worst case
        down = static_cast<int32_t>(lcg.Next(60000));
        up = static_cast<int32_t>(lcg.Next(20000));
        break;
    }
    history.HistoryPush(down, up);
  }
  return history;
}

}  // namespace

int main(int argc, char** argv) {
  SetSystemColourSource([](int32_t index) -> TColor { return ::GetSysColor(index); });
  int iterations = 1000;
  if (argc > 1 && std::atoi(argv[1]) > 0) iterations = std::atoi(argv[1]);

  TGraphLook form;
  form.IsActive = false;  // flat look: the border too
  form.GraphScaleMax = 65536;
  form.DownRate = 48000;
  form.UpRate = 9000;
  form.MouseMarker = {150, 60};  // the hover readout too

  TDrawBitmap* bitmap = CreateDrawBitmap(W, H);
  TDrawCanvas* canvas = bitmap ? bitmap->Canvas() : nullptr;
  if (!canvas) {
    std::printf("DrawGraph bench: no bitmap could be made\n");
    return 1;
  }
  TGdiSurface surface(*canvas);
  const TRect R{0, 0, W, H};

  LARGE_INTEGER freq;
  ::QueryPerformanceFrequency(&freq);
  // microseconds per call of one drawing step
  auto time = [&](auto&& step) {
    for (int i = 0; i < 20; ++i) step();  // warm the tools and fonts
    LARGE_INTEGER start, stop;
    ::QueryPerformanceCounter(&start);
    for (int i = 0; i < iterations; ++i) step();
    ::GdiFlush();
    ::QueryPerformanceCounter(&stop);
    return static_cast<double>(stop.QuadPart - start.QuadPart) * 1e6 / static_cast<double>(freq.QuadPart) /
           iterations;
  };

  std::printf("DrawGraph %d x %d, %d samples, flat look, rate boxes and hover readout, %d paints each:\n", W, H, W,
              iterations);
  const struct {
    const char* name;
    TShape shape;
  } shapes[] = {{"steady download", TShape::Steady}, {"bursty browsing", TShape::Bursty},
                {"random columns (worst case)", TShape::Random}};
  for (const auto& s : shapes) {
    const TTrafficHistory history = MakeHistory(s.shape);
    const double us = time([&] { DrawGraph(surface, form, history, R); });
    std::printf("  %-28s %8.1f us per paint\n", s.name, us);
  }

  const TTrafficHistory history = MakeHistory(TShape::Bursty);
  TGraphLook quiet = form;
  quiet.DownRate = quiet.UpRate = 0;
  quiet.MouseMarker = {0, 0};
  std::printf("Steps, bursty browsing:\n");
  std::printf("  background        %8.1f us\n", time([&] { surface.FillRect(R, form.BGColor); }));
  std::printf("  grid              %8.1f us\n", time([&] { DrawGrid(surface, form, R); }));
  std::printf("  caption           %8.1f us\n", time([&] { DrawCaption(surface, form, R); }));
  std::printf("  three areas       %8.1f us\n",
              time([&] { DrawTrafficLayer(surface, quiet, history, R, form.ScaleBallance); }));
  std::printf("  rate boxes        %8.1f us\n", time([&] { DrawRateBoxes(surface, form, R); }));
  std::printf("  hover readout     %8.1f us\n", time([&] { DrawHoverReadout(surface, form, R, false); }));
  Release(bitmap);
  return 0;
}
