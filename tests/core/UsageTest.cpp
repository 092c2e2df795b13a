// Periods, the data plan's figures and balloons, CSV and the export's arguments.
#include <gtest/gtest.h>

#include <tuple>

#include "app/ExportUsage.h"
#include "base/DayNumber.h"
#include "usage/DataPlan.h"
#include "usage/HourBuckets.h"
#include "usage/UsageCsv.h"
#include "usage/UsagePeriods.h"

namespace {

uint32_t D(int32_t y, int32_t m, int32_t d) { return DayNumber(y, m, d); }

TEST(UsagePeriods, BillingWeeksMonths) {
  // a start day the month lacks starts it on the month's last day
  const struct { uint32_t day; int32_t start; TDayRange want; } billing[] = {
      {D(2024, 2, 15), 31, {D(2024, 1, 31), D(2024, 2, 29)}}, {D(2024, 2, 29), 31, {D(2024, 2, 29), D(2024, 3, 31)}},
      {D(2026, 2, 28), 31, {D(2026, 2, 28), D(2026, 3, 31)}}, {D(2026, 3, 30), 31, {D(2026, 2, 28), D(2026, 3, 31)}},
      {D(2026, 4, 30), 31, {D(2026, 4, 30), D(2026, 5, 31)}}, {D(2026, 5, 30), 31, {D(2026, 4, 30), D(2026, 5, 31)}},
      {D(2026, 12, 7), 15, {D(2026, 11, 15), D(2026, 12, 15)}}, {D(2026, 12, 31), 1, {D(2026, 12, 1), D(2027, 1, 1)}},
      {D(2027, 1, 10), 30, {D(2026, 12, 30), D(2027, 1, 30)}}, {D(2026, 12, 7), 0, {D(2026, 12, 1), D(2027, 1, 1)}},
  };
  for (const auto& c : billing) EXPECT_EQ(BillingPeriodOf(c.day, c.start), c.want) << DayText(c.day) << " " << c.start;
  // 2026-12-07 is a Monday
  const struct { uint32_t day; int32_t first; uint32_t want; } weeks[] = {
      {D(2026, 12, 7), 0, D(2026, 12, 7)}, {D(2026, 12, 6), 0, D(2026, 11, 30)}, {D(2026, 12, 7), 6, D(2026, 12, 6)},
      {D(2026, 12, 5), 6, D(2026, 11, 29)}, {D(2026, 12, 12), 5, D(2026, 12, 12)}, {D(2026, 12, 9), 9, D(2026, 12, 7)},
  };
  for (const auto& c : weeks) EXPECT_EQ(WeekOf(c.day, c.first), (TDayRange{c.want, c.want + 7})) << c.first;
}

TEST(DataPlan, PaceDaysLeftAndAllowance) {
  constexpr uint64_t G = OctetsPerGB;
  // a 30-day period from 1 April; used, now (day of April, hour)
  const struct { int32_t limit; uint64_t used; int32_t day, hour; uint32_t left; uint64_t pace, allowance; } cases[] = {
      {30, 0, 1, 0, 30, 0, 1 * G},
      {30, 10 * G, 10, 23, 21, 30 * G, 20 * G / 21},  // ten days gone: the pace ends on 30
      {30, 1 * G, 1, 11, 30, 60 * G, 29 * G / 30},    // half a day for 1 GB
      {30, 31 * G, 30, 23, 1, 31 * G, 0},             // over the limit: nothing left a day
      {0, 5 * G, 16, 0, 15, 5 * G * 720 / 361, 0},    // no limit: the pace still
  };
  for (const auto& c : cases) {
    const TPlanFigures f = PlanFigures({c.limit, false, 1, 80}, c.used, {D(2026, 4, c.day), c.hour});
    EXPECT_EQ(std::tuple(f.Period, f.DaysLeft, f.Pace, f.Allowance, f.Limit),
              std::tuple(TDayRange{D(2026, 4, 1), D(2026, 5, 1)}, c.left, c.pace, c.allowance, c.limit * G))
        << c.used << " on " << c.day;
  }
}

TEST(DataPlan, EachBalloonOncePerPeriod) {
  constexpr uint64_t G = OctetsPerGB;
  const TDayRange p1{D(2026, 12, 1), D(2027, 1, 1)}, p2{D(2027, 1, 1), D(2027, 2, 1)};
  const struct { TDayRange period; uint64_t used; int32_t percent; TPlanAlert want; } steps[] = {
      {p1, 7999999999, 80, TPlanAlert::None}, {p1, 8 * G, 80, TPlanAlert::Alert}, {p1, 9 * G, 80, TPlanAlert::None},
      {p1, 10 * G - 1, 80, TPlanAlert::None}, {p1, 10 * G, 80, TPlanAlert::Limit}, {p1, 11 * G, 80, TPlanAlert::None},
      {p2, 12 * G, 80, TPlanAlert::Limit},  // straight past the limit: that balloon only
      {p2, 12 * G, 80, TPlanAlert::None},   {p1, 1, 0, TPlanAlert::None},  // a percentage of 0 counts as 1
  };
  TPlanAlertMemory memory;
  for (const auto& s : steps)
    EXPECT_EQ(CheckPlanAlert({10, false, 1, s.percent}, s.period, s.used, memory), s.want) << s.used;
  TPlanAlertMemory none;
  EXPECT_EQ(CheckPlanAlert({0, false, 1, 80}, p1, 100 * G, none), TPlanAlert::None);
}

TEST(UsageCsv, QuotingSumsAndOrder) {
  const struct { const char* in; const char* out; } fields[] = {
      {"eth0", "eth0"}, {"a,b", "\"a,b\""}, {"say \"hi\"", "\"say \"\"hi\"\"\""}, {"two\nlines", "\"two\nlines\""},
      {"cr\r", "\"cr\r\""}, {"Wi-Fi ÄÖ", "Wi-Fi ÄÖ"}, {"", ""},
  };
  for (const auto& f : fields) EXPECT_EQ(CsvField(f.in), f.out);
  const uint32_t d = D(2026, 12, 7);
  const std::vector<TUsageRow> rows = {{{d, 13}, "b,1", 5, 6}, {{d, 13}, "a", 1, 2}, {{d, 14}, "a", 3, 4},
                                       {{d + 1, 0}, "a", 10, 20}, {{d - 7, 9}, "a", 7, 8}};
  EXPECT_EQ(UsageCsv(rows, TUsageUnit::Day), "period,adapter,download_bytes,upload_bytes\r\n2026-11-30,a,7,8\r\n"
                                             "2026-12-07,a,4,6\r\n2026-12-07,\"b,1\",5,6\r\n2026-12-08,a,10,20\r\n");
  EXPECT_EQ(UsageCsv(rows, TUsageUnit::Month), "period,adapter,download_bytes,upload_bytes\r\n2026-11,a,7,8\r\n"
                                               "2026-12,a,14,26\r\n2026-12,\"b,1\",5,6\r\n");
  EXPECT_EQ(UsageCsv(rows, TUsageUnit::Hour), "period,adapter,download_bytes,upload_bytes\r\n2026-11-30T09,a,7,8\r\n"
                                              "2026-12-07T13,a,1,2\r\n2026-12-07T13,\"b,1\",5,6\r\n"
                                              "2026-12-07T14,a,3,4\r\n2026-12-08T00,a,10,20\r\n");
}

TEST(ExportUsage, Arguments) {
  using Args = std::vector<std::string>;
  const struct { Args args; bool ok; const char* file = ""; TUsageUnit by = TUsageUnit::Day; } cases[] = {
      {{"/export-usage", "out.csv"}, true, "out.csv", TUsageUnit::Day},
      {{"/EXPORT-USAGE", "a b.csv", "/By", "Hour"}, true, "a b.csv", TUsageUnit::Hour},
      {{"-export-usage", "x", "-by", "month"}, true, "x", TUsageUnit::Month},
      {{"/export-usage"}, false}, {{"/export-usage", ""}, false}, {{"/export-usage", "x", "/by"}, false},
      {{"/export-usage", "x", "/by", "week"}, false}, {{"/export-usage", "x", "day"}, false}, {{"/export"}, false},
  };
  for (const auto& c : cases) {
    TExportRequest r;
    std::string error;
    const bool ok = ParseExportArgs(c.args, r, error);
    EXPECT_EQ(std::tuple(ok, ok ? r.File : "", r.By, error.empty()), std::tuple(c.ok, c.file, c.by, c.ok))
        << c.args.size() << " " << c.args[0];
  }
}

}  // namespace
