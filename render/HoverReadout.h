// The readout of the rate at the mouse's height: a leader line, a dot and a label.
#pragma once
#include "render/DrawSurface.h"
#include "render/GraphLook.h"

// Nothing when the marker is unset, inside a rate box, or R is too small.
void DrawHoverReadout(TDrawSurface& surface, const TGraphLook& look, TRect R, bool markerInBox);
