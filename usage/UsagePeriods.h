// Local calendar periods as ranges of day numbers: the day, the week from the user's
// first day of the week, the month, the year, and the data plan's billing period.
#pragma once
#include <cstdint>

// The days First .. End - 1.
struct TDayRange {
  uint32_t First = 0, End = 0;
  uint32_t Days() const { return End - First; }
  bool Contains(uint32_t day) const { return First <= day && day < End; }
  bool operator==(const TDayRange&) const = default;
};

// 0 Monday .. 6 Sunday (day 1, 1 January of year 1, was a Monday).
int32_t WeekDay(uint32_t day);
int32_t DaysInMonth(int32_t year, int32_t month);

TDayRange DayOf(uint32_t day);
// firstDay: 0 Monday .. 6 Sunday; anything else counts as Monday.
TDayRange WeekOf(uint32_t day, int32_t firstDay);
TDayRange MonthOf(uint32_t day);
TDayRange YearOf(uint32_t day);
// The billing period holding day: it starts on day startDay (1..31, clamped) of a month,
// or on the month's last day when the month is shorter, and ends where the next starts.
TDayRange BillingPeriodOf(uint32_t day, int32_t startDay);
