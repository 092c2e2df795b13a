#include "app/UsageChartArt.h"

#include "render/GdiSurface.h"

TGdiUsageChartArt::~TGdiUsageChartArt() { tk::Release(buffer_); }

tk::TDrawCanvas* TGdiUsageChartArt::Canvas(int width, int height) {
  if (!buffer_) buffer_ = tk::CreateDrawBitmap(0, 0);
  buffer_->SetSize(width, height);
  return buffer_->Canvas();
}

void TGdiUsageChartArt::Draw(HDC dc, int width, int height, const std::vector<TUsageBar>& bars, int marked) {
  tk::TDrawCanvas* canvas = Canvas(width, height);
  if (!canvas) return;
  TGdiSurface surface(*canvas);
  DrawUsageChart(surface, look_, bars, {0, 0, width, height}, marked);
  buffer_->Draw(dc, 0, 0);
}

int TGdiUsageChartArt::BarAt(int width, int height, const std::vector<TUsageBar>& bars, POINT p) {
  tk::TDrawCanvas* canvas = Canvas(width, height);
  if (!canvas) return -1;
  TGdiSurface surface(*canvas);  // the layout measures its texts
  const TUsageChartLayout layout = LayoutUsageChart(surface, look_, bars, {0, 0, width, height});
  return UsageChartBarAt(layout, bars.size(), {p.x, p.y});
}
