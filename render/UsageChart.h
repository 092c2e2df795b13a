// The usage window's bar chart: one slot per hour of a day, day of a month or month of
// a year, the download stacked under the upload in the graph's colours, a value scale
// in decimal units, and the slot under the mouse with its values. Text sizes come with
// the look, so the window can scale them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "render/DrawSurface.h"
#include "usage/UsageBar.h"

struct TUsageChartLook {
  TColor Background = 0xFFFFFF, Grid = 0xE0E0E0, Text = 0x000000, Marker = 0x000000;
  TColor Down = 0x1515FF, Up = 0x30FFFF;
  TFontSpec Font{"MS Sans Serif", 13, false};
};

struct TUsageChartLayout {
  TRect Plot;             // where the bars stand; the scale's top at Plot.top
  int32_t Slot = 0;       // pixels per bar's slot
  uint64_t Scale = 0;     // octets at the top of the plot
  int32_t LabelEvery = 1; // every how many slots a label fits
};

// The smallest 1, 2, 2.5 or 5 x 10^k at or above max (at least 1000).
uint64_t NiceScale(uint64_t max);
TUsageChartLayout LayoutUsageChart(TDrawSurface& surface, const TUsageChartLook& look,
                                   const std::vector<TUsageBar>& bars, TRect R);
// The slot under the point, or -1.
int32_t UsageChartBarAt(const TUsageChartLayout& layout, size_t count, TPoint32 p);
// marked: the slot whose values the readout shows (-1: the legend instead).
void DrawUsageChart(TDrawSurface& surface, const TUsageChartLook& look, const std::vector<TUsageBar>& bars,
                    TRect R, int32_t marked);
