#include "dialogs/UsageView.h"

#include <algorithm>

#include "base/DayNumber.h"
#include "usage/HourBuckets.h"

namespace {

constexpr const char* Months[] = {"January", "February", "March",     "April",   "May",      "June",
                                  "July",    "August",   "September", "October", "November", "December"};
constexpr const char* WeekDays[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};

std::string MonthName(int32_t month) { return Months[std::clamp(month, 1, 12) - 1]; }

// "7 Dec 2026"
std::string ShortDate(uint32_t day) {
  const TCivilDate c = CivilDate(day);
  return std::to_string(c.day) + " " + MonthName(c.month).substr(0, 3) + " " + std::to_string(c.year);
}

std::string Dates(const TDayRange& r) {
  return r.Days() == 1 ? ShortDate(r.First) : ShortDate(r.First) + " - " + ShortDate(r.End - 1);
}

}  // namespace

TDayRange ShownRange(const TUsageView& view) {
  switch (view.Scale) {
    case TUsageScale::Day: return DayOf(view.Anchor);
    case TUsageScale::Month: return MonthOf(view.Anchor);
    case TUsageScale::Year: break;
  }
  return YearOf(view.Anchor);
}

std::string ShownTitle(const TUsageView& view) {
  const TCivilDate c = CivilDate(view.Anchor);
  switch (view.Scale) {
    case TUsageScale::Day:
      return std::string(WeekDays[WeekDay(view.Anchor)]) + " " + std::to_string(c.day) + " " + MonthName(c.month) +
             " " + std::to_string(c.year);
    case TUsageScale::Month: return MonthName(c.month) + " " + std::to_string(c.year);
    case TUsageScale::Year: break;
  }
  return std::to_string(c.year);
}

void StepView(TUsageView& view, int direction) {
  const TDayRange r = ShownRange(view);
  if (direction > 0) {
    view.Anchor = r.End;
  } else if (r.First > 1) {
    view.Anchor = ShownRange({view.Scale, r.First - 1, {}}).First;
  }
}

TUsageUnit ShownUnit(const TUsageView& view) {
  return view.Scale == TUsageScale::Day ? TUsageUnit::Hour
         : view.Scale == TUsageScale::Month ? TUsageUnit::Day : TUsageUnit::Month;
}

std::vector<TUsageBar> BuildBars(const TUsageView& view, const std::vector<TUsageRow>& rows) {
  const TDayRange r = ShownRange(view);
  std::vector<TUsageBar> bars;
  if (view.Scale == TUsageScale::Day) {
    for (int32_t h = 0; h < 24; ++h)
      bars.push_back({std::to_string(h), ShortDate(r.First) + " " + (h < 10 ? "0" : "") + std::to_string(h) + ":00"});
  } else if (view.Scale == TUsageScale::Month) {
    for (uint32_t d = r.First; d < r.End; ++d) bars.push_back({std::to_string(d - r.First + 1), ShortDate(d)});
  } else {
    const int32_t year = CivilDate(r.First).year;
    for (int32_t m = 1; m <= 12; ++m) bars.push_back({MonthName(m).substr(0, 3), MonthName(m) + " " + std::to_string(year)});
  }
  for (const TUsageRow& row : rows) {
    if (!r.Contains(row.Hour.Day) || (!view.Adapter.empty() && row.Adapter != view.Adapter)) continue;
    const size_t i = view.Scale == TUsageScale::Day     ? static_cast<size_t>(std::clamp(row.Hour.Hour, 0, 23))
                     : view.Scale == TUsageScale::Month ? row.Hour.Day - r.First
                                                        : static_cast<size_t>(CivilDate(row.Hour.Day).month - 1);
    bars[i].Down += row.Down;
    bars[i].Up += row.Up;
  }
  return bars;
}

TDayRange SummaryRange(uint32_t today, int32_t firstDayOfWeek, int32_t planStartDay) {
  const uint32_t first = std::min({today - 1, WeekOf(today, firstDayOfWeek).First, MonthOf(today).First,
                                   BillingPeriodOf(today, planStartDay).First});
  return {first, today + 1};
}

std::vector<TUsageLine> SummaryLines(const std::vector<TUsageRow>& rows, const std::string& adapter, uint32_t today,
                                     int32_t firstDayOfWeek, int32_t planStartDay) {
  const TDayRange week = WeekOf(today, firstDayOfWeek), month = MonthOf(today);
  const TDayRange plan = BillingPeriodOf(today, planStartDay);
  std::vector<TUsageLine> lines = {{"Today", Dates(DayOf(today))}, {"Yesterday", Dates(DayOf(today - 1))},
                                   {"This week", Dates(week)}, {"This month", Dates(month)},
                                   {"Plan period", Dates(plan)}};
  const TDayRange ranges[] = {DayOf(today), DayOf(today - 1), week, month, plan};
  for (const TUsageRow& row : rows) {
    if (!adapter.empty() && row.Adapter != adapter) continue;
    for (size_t i = 0; i < lines.size(); ++i)
      if (ranges[i].Contains(row.Hour.Day)) lines[i].Down += row.Down, lines[i].Up += row.Up;
  }
  return lines;
}

std::vector<std::string> PlanLines(const TPlanSettings& plan, const TPlanFigures& f) {
  std::vector<std::string> lines = {"Period: " + Dates(f.Period) + ", " + std::to_string(f.DaysLeft) +
                                    (f.DaysLeft == 1 ? " day left" : " days left")};
  const std::string counts = plan.DownloadOnly ? " (download only)" : " (download and upload)";
  if (f.Limit == 0) {
    lines.push_back("Used: " + FormatDecimalBytes(f.Used) + counts + "; no limit set");
  } else {
    lines.push_back("Used: " + FormatDecimalBytes(f.Used) + " of " + std::to_string(plan.LimitGB) + " GB" + counts);
    lines.push_back(f.Allowance > 0 ? "To stay within it: " + FormatDecimalBytes(f.Allowance) + " a day"
                                    : "The limit is reached");
  }
  lines.push_back("At this pace: " + FormatDecimalBytes(f.Pace) + " by the period's end");
  return lines;
}

int32_t PlanPercent(const TPlanFigures& f) {
  if (f.Limit == 0) return 0;
  return static_cast<int32_t>(std::min<uint64_t>(100, f.Used / (f.Limit / 100)));
}
