#include "render/TrayPicture.h"

#include <algorithm>

#include "render/GraphRenderer.h"
#include "render/Scaling.h"

namespace {

constexpr int32_t Bricks = 5;
constexpr int32_t BarUnits = 6;
constexpr int32_t BarAges = 7;

// A tray scale below 5 or 6 (only a stored manual value can be) would give a unit
// of 0: the bars would divide by it and every brick would light.
int32_t Unit(int32_t scale, int32_t parts) { return std::max(scale / parts, 1); }

struct TTrayColours {
  TColor frame, up, down;
};

void DrawBricks(TDrawSurface& s, const TTrayColours& c, bool fullTower, TDirectionScales scales, int32_t down,
                int32_t up) {
  const int32_t dUnit = Unit(scales.DownScale, Bricks);
  const int32_t uUnit = Unit(scales.UpScale, Bricks);
  const auto lit = [](int32_t i, int32_t unit, int32_t value) {
    return static_cast<double>(i) * unit <= value * 1.05 || (i == 1 && value > 0);
  };
  for (int32_t i = 1; i <= Bricks; ++i) {
    // bricks share their outline rows: 12-15, 9-12, 6-9, 3-6, 0-3
    const int32_t top = 15 - 3 * i, bottom = 19 - 3 * i;
    const struct { TRect box; int32_t unit, value; TColor fill; } towers[] = {
        {{1, top, 7, bottom}, dUnit, down, c.down}, {{9, top, 15, bottom}, uUnit, up, c.up}};
    for (const auto& t : towers) {
      if (lit(i, t.unit, t.value)) s.Rectangle(t.box, c.frame, t.fill);
      else if (fullTower) s.FrameRect(t.box, c.frame);  // the inside stays transparent
    }
  }
}

void DrawBars(TDrawSurface& s, const TTrayColours& c, const TTrafficHistory& history, TDirectionScales scales) {
  s.Line({0, 8}, {15, 8}, c.frame);   // the axis
  s.Line({15, 1}, {15, 15}, c.frame);  // the right edge
  const auto units = [](int32_t v, int32_t unit) {
    const int32_t k = v / unit;
    return std::min(k == 0 && v > 0 ? 1 : k, BarUnits);
  };
  const int32_t uUnit = Unit(scales.UpScale, BarUnits);
  const int32_t dUnit = Unit(scales.DownScale, BarUnits);
  // up-link bars rise from the axis, newest on the right
  for (int32_t i = 0; i < BarAges; ++i) {
    const int32_t x = 13 - 2 * i;
    const int32_t k = units(history.HistorySample(HistoryUp, i), uUnit);
    if (k > 0) s.Rectangle({x, 7 - k, x + 3, 9}, c.frame, c.up);
  }
  // down-link bars hang from it
  for (int32_t i = 0; i < BarAges; ++i) {
    const int32_t x = 13 - 2 * i;
    const int32_t k = units(history.HistorySample(HistoryDown, i), dUnit);
    if (k > 0) s.Rectangle({x, 8, x + 3, k + 10}, c.frame, c.down);
  }
}

}  // namespace

int32_t TrayIdleImage(int32_t trayMode, int32_t down, int32_t up, int32_t idleTicks) {
  if (trayMode >= static_cast<int32_t>(TTrayMode::MiniGraph) || down != 0 || up != 0) return -1;
  return idleTicks <= TrayShortIdleTicks ? TrayImageIdle : TrayImageLongIdle;
}

void DrawTrayPicture(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     int32_t down, int32_t up) {
  surface.FillRect({0, 0, TrayPictureSize, TrayPictureSize}, TrayBackground);
  const TTrayColours colours{ResolveColor(look.TrayFrameColor), ResolveColor(look.TrayUpColor),
                             ResolveColor(look.TrayDnColor)};
  const TDirectionScales scales = DirectionScales(look.TrayScaleMax, look.TrayScaleBallance);
  switch (static_cast<TTrayMode>(look.TrayMode)) {
    case TTrayMode::MiniGraph:
      // row 0 is left to the key unless a sample far above the scale reaches it
      DrawTrafficLayer(surface, look, history, {0, 1, TrayPictureSize, TrayPictureSize}, look.TrayScaleBallance);
      break;
    case TTrayMode::Bars:
      DrawBars(surface, colours, history, scales);
      break;
    default:
      DrawBricks(surface, colours, look.TrayMode == static_cast<int32_t>(TTrayMode::FullTower), scales, down, up);
      break;
  }
}
