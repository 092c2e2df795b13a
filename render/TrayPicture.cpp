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

// Where the bricks of one size go: they share their outline rows, the towers stand on
// the bottom row, two columns apart, with one column free on either side.
struct TBrickLayout {
  int32_t step, width, left, right;
  TRect Brick(int32_t size, int32_t i, bool upTower) const {
    const int32_t top = size - 1 - step * i, x = upTower ? right : left;
    return {x, top, x + width, top + step + 1};
  }
};
TBrickLayout BrickLayout(int32_t size) {
  const int32_t width = (size - 4) / 2;
  return {(size - 1) / Bricks, width, 1, size - 1 - width};
}

void DrawBricks(TDrawSurface& s, const TTrayColours& c, bool fullTower, TDirectionScales scales, int32_t down,
                int32_t up, int32_t size) {
  const int32_t dUnit = Unit(scales.DownScale, Bricks);
  const int32_t uUnit = Unit(scales.UpScale, Bricks);
  const auto lit = [](int32_t i, int32_t unit, int32_t value) {
    return static_cast<double>(i) * unit <= value * 1.05 || (i == 1 && value > 0);
  };
  const TBrickLayout layout = BrickLayout(size);
  for (int32_t i = 1; i <= Bricks; ++i) {
    // at 16 px the rows 12-15, 9-12, 6-9, 3-6, 0-3
    const struct { TRect box; int32_t unit, value; TColor fill; } towers[] = {
        {layout.Brick(size, i, false), dUnit, down, c.down}, {layout.Brick(size, i, true), uUnit, up, c.up}};
    for (const auto& t : towers) {
      if (lit(i, t.unit, t.value)) s.Rectangle(t.box, c.frame, t.fill);
      else if (fullTower) s.FrameRect(t.box, c.frame);  // the inside stays transparent
    }
  }
}

void DrawBars(TDrawSurface& s, const TTrayColours& c, const TTrafficHistory& history, TDirectionScales scales,
              int32_t size) {
  const int32_t axis = size / 2, edge = size - 1;
  s.Line({0, axis}, {edge, axis}, c.frame);  // the axis
  s.Line({edge, 1}, {edge, edge}, c.frame);  // the right edge
  // Bars share their side columns; the newest stands against the edge. A unit is a
  // whole number of rows, the six of them reaching the second row at most.
  const int32_t pitch = (size - 2) / BarAges;
  const auto rows = [axis](int32_t k) { return (k * (axis - 2) + BarUnits / 2) / BarUnits; };
  const auto units = [](int32_t v, int32_t unit) {
    const int32_t k = v / unit;
    return std::min(k == 0 && v > 0 ? 1 : k, BarUnits);
  };
  const int32_t uUnit = Unit(scales.UpScale, BarUnits);
  const int32_t dUnit = Unit(scales.DownScale, BarUnits);
  // up-link bars rise from the axis, newest on the right
  for (int32_t i = 0; i < BarAges; ++i) {
    const int32_t x = edge - pitch * (i + 1);
    const int32_t k = units(history.HistorySample(HistoryUp, i), uUnit);
    if (k > 0) s.Rectangle({x, axis - 1 - rows(k), x + pitch + 1, axis + 1}, c.frame, c.up);
  }
  // down-link bars hang from it
  for (int32_t i = 0; i < BarAges; ++i) {
    const int32_t x = edge - pitch * (i + 1);
    const int32_t k = units(history.HistorySample(HistoryDown, i), dUnit);
    if (k > 0) s.Rectangle({x, axis, x + pitch + 1, axis + 2 + rows(k)}, c.frame, c.down);
  }
}

}  // namespace

int32_t TrayIdleImage(int32_t trayMode, int32_t down, int32_t up, int32_t idleTicks) {
  if (trayMode >= static_cast<int32_t>(TTrayMode::MiniGraph) || down != 0 || up != 0) return -1;
  return idleTicks <= TrayShortIdleTicks ? TrayImageIdle : TrayImageLongIdle;
}

int32_t TrayPictureSizeFor(int32_t smallIcon) {
  for (const int32_t size : {32, 24, 20})
    if (smallIcon >= size) return size;
  return TrayPictureSize;
}

void DrawTrayPicture(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     int32_t down, int32_t up, int32_t size) {
  surface.FillRect({0, 0, size, size}, TrayBackground);
  const TTrayColours colours{ResolveColor(look.TrayFrameColor), ResolveColor(look.TrayUpColor),
                             ResolveColor(look.TrayDnColor)};
  const TDirectionScales scales = DirectionScales(look.TrayScaleMax, look.TrayScaleBallance);
  switch (static_cast<TTrayMode>(look.TrayMode)) {
    case TTrayMode::MiniGraph:
      // row 0 is left to the key unless a sample far above the scale reaches it
      DrawTrafficLayer(surface, look, history, {0, 1, size, size}, look.TrayScaleBallance);
      break;
    case TTrayMode::Bars:
      DrawBars(surface, colours, history, scales, size);
      break;
    default:
      DrawBricks(surface, colours, look.TrayMode == static_cast<int32_t>(TTrayMode::FullTower), scales, down, up,
                 size);
      break;
  }
}

void DrawIdleTrayPicture(TDrawSurface& surface, int32_t image, int32_t size) {
  // the colours of the bitmap's two pictures: grey empty towers, and one dim brick each
  const bool longIdle = image == TrayImageLongIdle;
  const TColor frame = longIdle ? 0xA0A0A0 : 0x606060;
  surface.FillRect({0, 0, size, size}, TrayBackground);
  const TBrickLayout layout = BrickLayout(size);
  for (int32_t i = 1; i <= Bricks; ++i) {
    const TRect down = layout.Brick(size, i, false), up = layout.Brick(size, i, true);
    if (!longIdle && i == 1) {
      surface.Rectangle(down, frame, 0x7878C8);
      surface.Rectangle(up, frame, 0x6EC8C8);
    } else {
      surface.FrameRect(down, frame);
      surface.FrameRect(up, frame);
    }
  }
}
