// The usage window: the history by hour, day or month with a chart and a list, a
// summary of recent periods, the data plan's figures, and an export to CSV. Modal,
// resizable, usable by keyboard alone; its place is remembered.
#pragma once
#include "toolkit/WinApi.h"

#include <string>
#include <vector>

#include "usage/UsageBar.h"

class TSettings;
class TUsageStore;

// The chart's drawing, supplied by the program (the renderer stands beside the dialogs).
class TUsageChartArt {
public:
  virtual ~TUsageChartArt() = default;
  // The whole chart into dc at (0, 0), width x height; marked: the slot shown in the
  // readout, -1 for none.
  virtual void Draw(HDC dc, int width, int height, const std::vector<TUsageBar>& bars, int marked) = 0;
  // The slot under p for the same size and bars, or -1.
  virtual int BarAt(int width, int height, const std::vector<TUsageBar>& bars, POINT p) = 0;
};

// store: the history, or null when it cannot be had; settings: the program's key (the
// plan, the window's place). today: the local hour now.
void ShowUsageWindow(HWND owner, TUsageStore* store, TSettings& settings, TUsageChartArt& art);
