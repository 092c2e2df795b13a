#include "base/DayNumber.h"

namespace {

constexpr int32_t DaysBefore[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// DayNumber of 1 January 1970, the epoch of the civil-from-days arithmetic below.
constexpr int64_t UnixEpochDay = 719163;

}  // namespace

uint32_t DayNumber(int32_t year, int32_t month, int32_t day) {
  if (month < 1) month = 1;
  if (month > 12) month = 12;
  const int64_t y = static_cast<int64_t>(year) - 1;
  const int64_t n = day + DaysBefore[IsLeap(year) ? 1 : 0][month - 1] + y * 365 + y / 4 - y / 100 + y / 400;
  return static_cast<uint32_t>(n);
}

TCivilDate CivilDate(uint32_t dayNumber) {
  // Era-based inverse: the year counted from March so February's length comes last.
  const int64_t z = static_cast<int64_t>(dayNumber) - UnixEpochDay + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {static_cast<int32_t>(y), static_cast<int32_t>(m), static_cast<int32_t>(d)};
}
