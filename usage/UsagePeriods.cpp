#include "usage/UsagePeriods.h"

#include <algorithm>

#include "base/DayNumber.h"

namespace {

// The day a billing period starts in the given month.
uint32_t BillingStart(int32_t year, int32_t month, int32_t startDay) {
  return DayNumber(year, month, std::min(startDay, DaysInMonth(year, month)));
}

void NextMonth(int32_t& year, int32_t& month) {
  if (++month > 12) month = 1, ++year;
}

void PreviousMonth(int32_t& year, int32_t& month) {
  if (--month < 1) month = 12, --year;
}

}  // namespace

int32_t WeekDay(uint32_t day) { return static_cast<int32_t>((day + 6) % 7); }

int32_t DaysInMonth(int32_t year, int32_t month) {
  static constexpr int32_t Days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  return month == 2 && leap ? 29 : Days[std::clamp(month, 1, 12) - 1];
}

TDayRange DayOf(uint32_t day) { return {day, day + 1}; }

TDayRange WeekOf(uint32_t day, int32_t firstDay) {
  if (firstDay < 0 || firstDay > 6) firstDay = 0;
  const uint32_t back = static_cast<uint32_t>((WeekDay(day) - firstDay + 7) % 7);
  return {day - back, day - back + 7};
}

TDayRange MonthOf(uint32_t day) {
  const TCivilDate c = CivilDate(day);
  const uint32_t first = DayNumber(c.year, c.month, 1);
  return {first, first + static_cast<uint32_t>(DaysInMonth(c.year, c.month))};
}

TDayRange YearOf(uint32_t day) {
  const TCivilDate c = CivilDate(day);
  return {DayNumber(c.year, 1, 1), DayNumber(c.year + 1, 1, 1)};
}

TDayRange BillingPeriodOf(uint32_t day, int32_t startDay) {
  startDay = std::clamp(startDay, 1, 31);
  const TCivilDate c = CivilDate(day);
  int32_t y = c.year, m = c.month;
  uint32_t first = BillingStart(y, m, startDay);
  if (first > day) {
    PreviousMonth(y, m);
    first = BillingStart(y, m, startDay);
  }
  NextMonth(y, m);
  return {first, BillingStart(y, m, startDay)};
}
