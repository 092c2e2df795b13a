// The main graph: background, grid, caption, the down-link and up-link areas with
// their overlap band, the rate boxes and the hover readout, drawn completely on
// every paint. Coordinates follow the graph's own absolute formulas: vertex
// heights are measured from H + 1, not from R.top.
#pragma once
#include <cstdint>

#include "render/DrawSurface.h"
#include "render/GraphLook.h"
#include "traffic/TrafficHistory.h"

// The whole picture into R, the client rectangle.
void DrawGraph(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history, TRect R);

// Grid lines after "ShowGrid" has been checked: look.GridMode is the stored mode + 1,
// bit 0 horizontal lines, bit 1 vertical lines.
void DrawGrid(TDrawSurface& surface, const TGraphLook& look, TRect R);

// The maker's address, faint, in the bottom-right corner (only in a large enough R).
void DrawCaption(TDrawSurface& surface, const TGraphLook& look, TRect R);

// The three areas with the scales of GraphScaleMax and the given balance, then, in a
// large enough R, the rate boxes and the hover readout. Also paints the tray's mini graph.
void DrawTrafficLayer(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                      TRect R, int32_t balance);

// One direction's filled area: the newest sample in column W - 1, continued flat to R.right.
void DrawDirectionArea(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                       TRect R, THistoryRow row, int32_t scale, TColor fill);

// The download hidden behind a taller (or equal) upload, as a blended band.
void DrawOverlapArea(TDrawSurface& surface, const TGraphLook& look, const TTrafficHistory& history,
                     TRect R, int32_t downScale, int32_t upScale);

// Top row of a sample's area for a drawing height and scale: H + 1 - height. Kept
// within +-2^24 so a sample far above (or below) the scale still makes a polygon
// the platform accepts; the visible rows are the same.
int32_t SampleTop(int32_t sample, int32_t height, int32_t scale);
