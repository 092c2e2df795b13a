// The annotations over the graph's areas: two boxes with the current rates in the
// bottom-left corner and the readout of the rate at the mouse's height.
#pragma once
#include <array>

#include "app/StatsForm.h"
#include "render/DrawSurface.h"

// A downward arrow in box coordinates; the large one has a two-pixel shaft.
using TArrowVertices = std::array<TPoint32, 8>;
const TArrowVertices& ArrowTemplate(bool large);

// Both boxes (nothing when both rates are 0). True when MouseMarker lies inside one
// of the boxes drawn.
bool DrawRateBoxes(TDrawSurface& surface, const TStatsForm& form, TRect R);

// Leader, dot and label for the rate at MouseMarker's row, unless the marker is unset,
// inside a rate box, or R is too small.
void DrawHoverReadout(TDrawSurface& surface, const TStatsForm& form, TRect R, bool markerInBox);
