// Dates as day numbers in the proleptic Gregorian calendar; 1 January of year 1 is day 1.
#pragma once
#include <cstdint>

uint32_t DayNumber(int32_t year, int32_t month, int32_t day);

struct TCivilDate {
  int32_t year, month, day;
};
TCivilDate CivilDate(uint32_t dayNumber);
