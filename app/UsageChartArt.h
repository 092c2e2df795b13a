// The usage window's chart drawn by its renderer on GDI, through a buffer so a repaint
// never flickers.
#pragma once
#include "toolkit/WinApi.h"

#include "dialogs/UsageWindow.h"
#include "render/UsageChart.h"
#include "toolkit/DrawBitmap.h"

class TGdiUsageChartArt final : public TUsageChartArt {
public:
  explicit TGdiUsageChartArt(const TUsageChartLook& look) : look_(look) {}
  ~TGdiUsageChartArt() override;
  TGdiUsageChartArt(const TGdiUsageChartArt&) = delete;
  TGdiUsageChartArt& operator=(const TGdiUsageChartArt&) = delete;

  void Draw(HDC dc, int width, int height, const std::vector<TUsageBar>& bars, int marked) override;
  int BarAt(int width, int height, const std::vector<TUsageBar>& bars, POINT p) override;

private:
  tk::TDrawCanvas* Canvas(int width, int height);

  TUsageChartLook look_;
  tk::TDrawBitmap* buffer_ = nullptr;
};
