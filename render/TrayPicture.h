// The picture of the traffic in the notification-area icon: two towers of bricks, a
// miniature of the graph, or seven bars a direction, laid out in whole pixels for the
// small-icon size of the display (16, 20, 24 or 32). Drawn on a magenta background;
// whatever colour ends up at (0, 0) becomes transparent in the icon.
#pragma once
#include <cstdint>

#include "base/Colour.h"
#include "render/DrawSurface.h"
#include "render/GraphLook.h"
#include "traffic/TrafficHistory.h"

// "TrayMode"; any other value draws bricks without the outlines of unlit ones.
enum class TTrayMode : int32_t { Bricks = 0, FullTower = 1, MiniGraph = 2, Bars = 3 };

inline constexpr int32_t TrayPictureSize = 16;  // at 96 DPI
inline constexpr TColor TrayBackground = 0xFF00FF;  // magenta, the usual key
// Fixed images of the image list: shown during the first idle ticks, and after them.
inline constexpr int32_t TrayImageIdle = 1;
inline constexpr int32_t TrayImageLongIdle = 0;
// Idle ticks that still show TrayImageIdle.
inline constexpr int32_t TrayShortIdleTicks = 8;

// The fixed image an idle tick shows in the brick modes, or -1 when a picture is drawn.
// idleTicks already counts this tick.
int32_t TrayIdleImage(int32_t trayMode, int32_t down, int32_t up, int32_t idleTicks);

// The picture size for the small-icon size the shell asks for: the largest of 16, 20,
// 24 and 32 that fits, never below 16.
int32_t TrayPictureSizeFor(int32_t smallIcon);

// This tick's picture, from (0, 0) to (size, size), background first.
void DrawTrayPicture(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     int32_t down, int32_t up, int32_t size = TrayPictureSize);
// A fixed idle image (TrayImageIdle or TrayImageLongIdle) at a size the bitmap does not have.
void DrawIdleTrayPicture(TDrawSurface& surface, int32_t image, int32_t size);
