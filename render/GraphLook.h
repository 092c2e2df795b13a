// Everything the renderers read: the appearance settings, the full-scale values, and
// the few facts of the moment the picture shows (focus, mouse, current rates). The
// program's state record is built on it; tests fill one directly.
#pragma once
#include <cstdint>
#include <string>

#include "base/Colour.h"
#include "base/DpiScale.h"
#include "base/Geometry.h"

struct TGraphLook {
  // the graph window
  TColor BGColor = 0xFFFFFF, FlatBorderColor = 0x000000;
  TColor GridColor = 0xEFEFEF, GridColor2 = 0xEFEFEF;
  TColor UpColor = 0x30FFFF, DnColor = 0x1515FF;
  TColor AreaOutlineGrey = 0x808080;
  bool ShowGrid = true;
  int32_t GridMode = 3;  // stored value + 1: bit 0 horizontal, bit 1 vertical lines
  int32_t ScaleBallance = 50;
  int32_t GraphScaleMax = 4096;

  // the tray picture
  int32_t TrayMode = 1;
  int32_t TrayScaleBallance = 50;
  int32_t TrayScaleMax = 4096;
  TColor TrayUpColor = 0x30FFFF, TrayDnColor = 0x1515FF, TrayFrameColor = 0x000000;

  // the moment
  bool IsActive = false;  // the graph window has the focus
  bool GoFlat = true;     // no frame while unfocused
  TPoint32 MouseMarker;   // client position of the mouse; (0, 0) = none
  uint32_t UpRate = 0, DownRate = 0;  // smoothed octets per tick
  // The DPI of the graph's monitor: texts and the annotations' sizes and thresholds are
  // in 96-DPI units.
  int32_t Dpi = BaseDpi;
  int32_t Px(int32_t length) const { return ScaleToDpi(length, Dpi); }
};

// The fonts of the graph's texts.
struct TFontSpec {
  std::string face;    // "MS Sans Serif", "Small Fonts"
  int32_t height = 0;  // cell height in pixels
  bool bold = false;
  bool operator==(const TFontSpec&) const = default;
};
inline TFontSpec SmallFontsSpec() { return {"Small Fonts", 11, false}; }     // caption, small boxes, readout
inline TFontSpec LargeRateFontSpec() { return {"MS Sans Serif", 14, true}; }  // large rate boxes
// A font of 96-DPI units at the graph's DPI.
inline TFontSpec AtDpi(TFontSpec font, const TGraphLook& look) {
  font.height = look.Px(font.height);
  return font;
}
