// The usage window's chart on the recording surface, and what the window shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "base/DayNumber.h"
#include "dialogs/UsageView.h"
#include "render/UsageChart.h"
#include "support/RecordingSurface.h"

namespace {

constexpr uint64_t G = 1000000000;

TEST(UsageChart, ScaleSlotsBarsAndReadout) {
  const struct { uint64_t max, scale; } scales[] = {{0, 1000}, {1000, 1000}, {1001, 2000}, {2001, 2500},
                                                    {2501, 5000}, {5001, 10000}, {1500000000, 2000000000}};
  for (const auto& c : scales) EXPECT_EQ(NiceScale(c.max), c.scale) << c.max;

  std::vector<TUsageBar> bars(24);
  for (int h = 0; h < 24; ++h) bars[h].Label = std::to_string(h), bars[h].Name = "hour " + std::to_string(h);
  bars[0].Down = 1 * G, bars[0].Up = G / 2, bars[5].Up = 1500000000;
  TRecordingSurface s;
  const TRect R{0, 0, 300, 150};
  const TUsageChartLook look;
  // "2.00 GB" is 35 wide; text 13 high: the plot from (43, 21) to (294, 133), 251 / 24 = 10 a slot
  const TUsageChartLayout l = LayoutUsageChart(s, look, bars, R);
  EXPECT_EQ(std::tuple(l.Plot, l.Slot, l.Scale, l.LabelEvery), std::tuple(TRect{43, 21, 294, 133}, 10, 2 * G, 2));
  const struct { TPoint32 p; int32_t bar; } hits[] = {{{43, 50}, 0}, {{52, 50}, 0}, {{53, 21}, 1}, {{42, 50}, -1},
                                                      {{50, 20}, -1}, {{50, 133}, -1}, {{282, 60}, 23}, {{283, 60}, -1}};
  for (const auto& h : hits) EXPECT_EQ(UsageChartBarAt(l, bars.size(), h.p), h.bar) << h.p.x << "," << h.p.y;

  s.Clear();
  DrawUsageChart(s, look, bars, R, 0);
  std::vector<std::tuple<TRect, TColor>> fills;
  for (const TDrawCall& c : s.Of(TDrawCall::FillRect)) fills.emplace_back(c.rect, c.colour);
  // the download under the upload: 56 and 84 of 112 rows; an upload alone from the bottom
  EXPECT_EQ(fills, (std::vector<std::tuple<TRect, TColor>>{{R, look.Background}, {{44, 77, 51, 133}, look.Down},
                                                           {{44, 49, 51, 77}, look.Up}, {{94, 49, 101, 133}, look.Up}}));
  const auto strings = s.Of(TDrawCall::DrawString);
  EXPECT_EQ(strings.back().text, "hour 0:  download 1.00 GB,  upload 500.00 MB");
  EXPECT_EQ(std::count_if(strings.begin(), strings.end(), [](auto& c) { return c.text == "22" || c.text == "23"; }), 1);
  EXPECT_EQ(s.Of(TDrawCall::FrameRect).at(0).rect, (TRect{43, 21, 53, 133}));
}

TEST(UsageView, PeriodsTitlesAndSteps) {
  const uint32_t d = DayNumber(2026, 12, 7);
  const struct { TUsageScale scale; int step; const char* title; uint32_t first, end; } cases[] = {
      {TUsageScale::Day, 0, "Monday 7 December 2026", d, d + 1},
      {TUsageScale::Day, -1, "Sunday 6 December 2026", d - 1, d},
      {TUsageScale::Month, 1, "January 2027", DayNumber(2027, 1, 1), DayNumber(2027, 2, 1)},
      {TUsageScale::Month, -1, "November 2026", DayNumber(2026, 11, 1), DayNumber(2026, 12, 1)},
      {TUsageScale::Year, -1, "2025", DayNumber(2025, 1, 1), DayNumber(2026, 1, 1)},
  };
  for (const auto& c : cases) {
    TUsageView v{c.scale, d, ""};
    if (c.step) StepView(v, c.step);
    EXPECT_EQ(std::tuple(ShownTitle(v), ShownRange(v)), std::tuple(c.title, TDayRange{c.first, c.end}));
  }
}

TEST(UsageView, BarsAndSummaryFromRows) {
  const uint32_t d = DayNumber(2024, 2, 29);  // a Thursday, the last day of a leap February
  const std::vector<TUsageRow> rows = {{{d, 2}, "eth0", 1, 2}, {{d, 2}, "wlan", 10, 20}, {{d - 1, 23}, "eth0", 100, 200},
                                       {{d - 3, 0}, "eth0", 1000, 0}, {{d - 40, 5}, "eth0", 7, 7}};
  const auto month = BuildBars({TUsageScale::Month, d, ""}, rows);
  ASSERT_EQ(month.size(), 29u);
  EXPECT_EQ(std::tuple(month[28].Label, month[28].Name, month[28].Down, month[27].Up, month[25].Down),
            std::tuple("29", "29 Feb 2024", 11u, 200u, 1000u));
  const auto day = BuildBars({TUsageScale::Day, d, "eth0"}, rows);
  EXPECT_EQ(std::tuple(day.size(), day[2].Down, day[2].Name), std::tuple(24u, 1u, "29 Feb 2024 02:00"));
  EXPECT_EQ(BuildBars({TUsageScale::Year, d, ""}, rows)[0].Down, 7u);
  // weeks from Sunday; the plan's period from the 27th
  const auto lines = SummaryLines(rows, "eth0", d, 6, 27);
  const std::vector<std::tuple<std::string, uint64_t>> want = {{"Today", 1}, {"Yesterday", 100}, {"This week", 1101},
                                                               {"This month", 1101}, {"Plan period", 101}};
  std::vector<std::tuple<std::string, uint64_t>> got;
  for (const TUsageLine& l : lines) got.emplace_back(l.Name, l.Down);
  EXPECT_EQ(got, want);
  EXPECT_EQ(lines[4].Dates, "27 Feb 2024 - 26 Mar 2024");
  EXPECT_EQ(SummaryRange(d, 6, 27), (TDayRange{DayNumber(2024, 2, 1), d + 1}));
}

}  // namespace
