// Costs of the drawing toolkit under Wine: a paint shaped like the main graph's with the
// tool handles it makes, a tray-sized bitmap made and dropped, one tray icon made
// through an image strip, and ten thousand rounds of each of the last two with the
// live handle counts they leave. Run by hand:
//   scripts/wine-run.sh <build>/drawing_tools_bench.exe [iterations]
#include "toolkit/DrawBitmap.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "render/GdiSurface.h"
#include "toolkit/ImageStrip.h"

using namespace tk;

namespace {

using TClock = std::chrono::steady_clock;

double MicrosSince(TClock::time_point t0, int n) {
  return std::chrono::duration<double, std::micro>(TClock::now() - t0).count() / n;
}

void GraphLikePaint(TDrawSurface& s, std::vector<TPoint32>& area, int tick) {
  const TFontSpec small{"Small Fonts", 11, false}, large{"MS Sans Serif", 14, true};
  s.FillRect(TRect{0, 0, 263, 174}, 0xFFFFFF);
  for (int y = 10; y < 174; y += 13) s.Line({0, y}, {263, y}, 0xEFEFEF);
  for (int x = 3; x < 263; x += 10) s.Line({x, 0}, {x, 174}, 0xEFEFEF);
  const TSize cap = s.MeasureText("quillmoor.example", small);
  s.DrawString("quillmoor.example", TRect{264 - cap.cx, 175 - cap.cy, 264, 175}, small, 0xC0C0C0, TTextAlign::Left);
  s.DrawString("quillmoor.example", TRect{263 - cap.cx, 174 - cap.cy, 263, 174}, small, 0x806060, TTextAlign::Left);
  for (TColor fill : {0x1515FFu, 0x30FFFFu, 0x24ADFFu}) {
    for (int i = 0; i < 263; ++i)
      area[static_cast<size_t>(i)] = {262 - i, 175 - static_cast<int32_t>((i * 7u + tick + fill) % 120)};
    area[263] = {0, 175};
    area[264] = {263, 175};
    area[265] = {263, area[0].y};
    s.Polygon(area.data(), area.size(), 0x606060, fill);
  }
  const TSize t1 = s.MeasureText("12.5k", large);
  s.Rectangle(TRect{6, 150, 18 + t1.cx, 150 + t1.cy}, 0x404040, 0xFFFFFF);
  s.DrawString("12.5k", TRect{14, 150, 18 + t1.cx, 150 + t1.cy}, large, 0x1010C0, TTextAlign::Centre);
}

}  // namespace

int main(int argc, char** argv) {
  const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;

  TDrawBitmap* back = CreateDrawBitmap(263, 174);
  std::vector<TPoint32> area(266);
  TGdiSurface surface(*back->Canvas());
  GraphLikePaint(surface, area, 0);
  const long made = TDrawTool::HandlesMade();
  auto t0 = TClock::now();
  for (int i = 1; i <= n; ++i) GraphLikePaint(surface, area, i);
  std::printf("graph-like paint 263x174     %8.1f us, %.1f tool handles made per paint\n", MicrosSince(t0, n),
              double(TDrawTool::HandlesMade() - made) / n);
  Release(back);

  t0 = TClock::now();
  for (int i = 0; i < n; ++i) {
    TDrawBitmap* b = CreateDrawBitmap(16, 16);
    TGdiSurface s(*b->Canvas());
    s.FillRect(TRect{0, 0, 16, 16}, 0xFF00FF);
    s.Rectangle(TRect{1, 12, 7, 16}, 0, 0x1515FF);
    Release(b);
  }
  std::printf("16x16 bitmap, canvas, 2 draws %8.1f us\n", MicrosSince(t0, n));

  TImageStrip* strip = CreateImageStrip(nullptr);
  strip->SetColours(6);
  strip->SetImageWidth(16);
  strip->SetImageHeight(16);
  t0 = TClock::now();
  for (int i = 0; i < n; ++i) {
    TDrawBitmap* b = CreateDrawBitmap(16, 16);
    TGdiSurface(*b->Canvas()).FillRect(TRect{0, 0, 16, 16}, 0xFF00FF);
    const int index = strip->AddMasked(b, b->Pixel(0, 0));
    tk::unique_hicon icon = strip->GetIcon(index);
    strip->Remove(index);
    Release(b);
  }
  std::printf("tray picture to icon          %8.1f us\n", MicrosSince(t0, n));

  // The leak check's long form: what ten thousand rounds leave behind.
  constexpr int Rounds = 10000;
  const long gdi0 = tk::LiveGdiHandles();
  long peak = 0;
  t0 = TClock::now();
  for (int i = 0; i < Rounds; ++i) {
    TDrawBitmap* b = CreateDrawBitmap(16 + i % 7, 16);
    TGdiSurface s(*b->Canvas());
    s.FillRect(TRect{0, 0, 16, 16}, 0xFF00FF);
    s.Rectangle(TRect{1, 1, 7, 5}, 0, 0x0000FF + static_cast<uint32_t>(i % 3));
    s.DrawString("1k", TRect{0, 0, 16, 16}, TFontSpec{"Small Fonts", 11, false}, 0x00FF00, TTextAlign::Left);
    if (i % 2) b->SetWidth(30);
    peak = std::max(peak, tk::LiveGdiHandles() - gdi0);
    Release(b);
  }
  std::printf("%d bitmaps with canvas and tools: %.0f ms, peak +%ld live GDI, live GDI %ld -> %ld\n", Rounds,
              MicrosSince(t0, 1000), peak, gdi0, tk::LiveGdiHandles());
  TDrawBitmap* pic = CreateDrawBitmap(16, 16);
  TGdiSurface(*pic->Canvas()).FillRect(TRect{0, 0, 16, 16}, 0xFF00FF);
  const long user0 = tk::LiveUserHandles();
  t0 = TClock::now();
  for (int i = 0; i < Rounds; ++i) {
    const int index = strip->AddMasked(pic, 0xFF00FF);
    tk::unique_hicon icon = strip->GetIcon(index);
    strip->Remove(index);
  }
  std::printf("%d icons through the strip: %.0f ms, live USER %ld -> %ld\n", Rounds, MicrosSince(t0, 1000), user0,
              tk::LiveUserHandles());
  Release(pic);
  Release(strip);
  std::printf("live GDI %ld, live USER %ld at the end\n", tk::LiveGdiHandles(), tk::LiveUserHandles());
  return 0;
}
