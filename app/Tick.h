// The one-second tick: sampling, idle handling, history, rescaling, smoothing,
// totals, repaint request, statistics text and tray image, in that order.
#pragma once
#include <cstdint>
#include <string>

#include "app/GraphWindow.h"
#include "app/StatsForm.h"
#include "traffic/TrafficHistory.h"

class TInterfaceTable;
class TSettings;
class TClock;
class TUsageRecorder;
class TRouteTable;

// The tray picture step, done by the tray glue.
class TTrayHost {
public:
  virtual ~TTrayHost() = default;
  virtual void RenderTrayImage(int32_t down, int32_t up) = 0;
};

struct TTickContext {
  TStatsForm& Form;
  TTrafficHistory& History;
  TInterfaceTable& Table;
  TSettings& Store;
  TClock& Clock;
  TGraphWindow& Window;
  TTrayHost& Tray;
  TUsageRecorder* Usage = nullptr;  // the usage history, when the program keeps one
  TRouteTable* Routes = nullptr;  // what the automatic adapter choice follows; none in most tests
};

// Idle ticks after which "AutoHide" hides the window (it hides on the next one).
inline constexpr int32_t AutoHideIdleTicks = 15;

// Runs one tick. Two ticks must never overlap.
void RunTick(TTickContext& ctx);

// This tick's smoothed rate of one history row, whose newest sample is now.
uint32_t SmoothedRate(const TTrafficHistory& history, THistoryRow row, int32_t now);

// The five statistics lines of the tray balloon, separated by LF CR.
std::string BuildStatusText(const TStatsForm& form);
