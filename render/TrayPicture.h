// The 16 x 16 picture of the traffic in the notification-area icon: two towers of
// bricks, a miniature of the graph, or seven bars a direction. Drawn on a magenta
// background; whatever colour ends up at (0, 0) becomes transparent in the icon.
#pragma once
#include <cstdint>

#include "base/Colour.h"
#include "render/DrawSurface.h"
#include "render/GraphLook.h"
#include "traffic/TrafficHistory.h"

// "TrayMode"; any other value draws bricks without the outlines of unlit ones.
enum class TTrayMode : int32_t { Bricks = 0, FullTower = 1, MiniGraph = 2, Bars = 3 };

inline constexpr int32_t TrayPictureSize = 16;
inline constexpr TColor TrayBackground = 0xFF00FF;  // magenta, the usual key
// Fixed images of the image list: shown during the first idle ticks, and after them.
inline constexpr int32_t TrayImageIdle = 1;
inline constexpr int32_t TrayImageLongIdle = 0;
// Idle ticks that still show TrayImageIdle.
inline constexpr int32_t TrayShortIdleTicks = 8;

// The fixed image an idle tick shows in the brick modes, or -1 when a picture is drawn.
// idleTicks already counts this tick.
int32_t TrayIdleImage(int32_t trayMode, int32_t down, int32_t up, int32_t idleTicks);

// This tick's picture, from (0, 0) to (16, 16), background first.
void DrawTrayPicture(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     int32_t down, int32_t up);
