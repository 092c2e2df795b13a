// Two boxes with the current rates in the bottom-left corner of the graph.
#pragma once
#include <array>

#include "render/DrawSurface.h"
#include "render/GraphLook.h"

// A downward arrow in box coordinates; the large one has a two-pixel shaft.
using TArrowVertices = std::array<TPoint32, 8>;
const TArrowVertices& ArrowTemplate(bool large);

// Both boxes (nothing when both rates are 0). True when MouseMarker lies inside one
// of the boxes drawn.
bool DrawRateBoxes(TDrawSurface& surface, const TGraphLook& look, TRect R);

