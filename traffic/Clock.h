// Today's date and its short text, and the time that passes between ticks, behind a
// seam so tests can move both.
#pragma once
#include <cstdint>
#include <string>

class TClock {
public:
  virtual ~TClock() = default;
  // DayNumber of the local date (1 January of year 1 is day 1).
  virtual uint32_t Today() = 0;
  // The user's short date format for that day; empty when the system cannot format it.
  virtual std::string FormatShortDate(uint32_t dayNumber) = 0;
  // Milliseconds on a clock that only goes forward, moved neither by a change of the
  // date nor by the system's sleep. 0 from a clock that cannot tell.
  virtual uint64_t MonotonicMs() { return 0; }
};
