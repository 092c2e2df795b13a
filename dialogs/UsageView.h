// What the usage window shows, apart from any window: the period on view and its bars,
// the summary of today, yesterday, this week, this month and the plan's period, and
// the plan's figures as text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "usage/DataPlan.h"
#include "usage/UsageBar.h"
#include "usage/UsageCsv.h"
#include "usage/UsagePeriods.h"
#include "usage/UsageStore.h"

// The bars: the hours of a day, the days of a month, the months of a year.
enum class TUsageScale { Day, Month, Year };

struct TUsageView {
  TUsageScale Scale = TUsageScale::Month;
  uint32_t Anchor = 0;  // a day in the period on view
  std::string Adapter;  // empty: all adapters
};

TDayRange ShownRange(const TUsageView& view);
// "Monday 7 December 2026", "December 2026", "2026".
std::string ShownTitle(const TUsageView& view);
// The previous (-1) or next (+1) period of the same scale.
void StepView(TUsageView& view, int direction);
// The unit the bars count in, for an export of what is on view.
TUsageUnit ShownUnit(const TUsageView& view);
// One bar a slot, empty slots included, from the rows of the shown range.
std::vector<TUsageBar> BuildBars(const TUsageView& view, const std::vector<TUsageRow>& rows);

struct TUsageLine {
  std::string Name, Dates;
  uint64_t Down = 0, Up = 0;
};
// Today, yesterday, this week (from firstDayOfWeek, 0 Monday), this month, and the plan's
// period, from rows that cover them all (see SummaryRange).
std::vector<TUsageLine> SummaryLines(const std::vector<TUsageRow>& rows, const std::string& adapter, uint32_t today,
                                     int32_t firstDayOfWeek, int32_t planStartDay);
TDayRange SummaryRange(uint32_t today, int32_t firstDayOfWeek, int32_t planStartDay);
// The plan's lines: the period, used against the limit, days left, the pace and the
// daily amount; and how full the bar is, 0..100.
std::vector<std::string> PlanLines(const TPlanSettings& plan, const TPlanFigures& f);
int32_t PlanPercent(const TPlanFigures& f);
