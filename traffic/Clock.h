// Today's date and its short text, and the time that passes between ticks, behind a
// seam so tests can move both.
#pragma once
#include <cstdint>
#include <string>

// One hour of the local clock: its date and its hour. At the clock's change in autumn
// one hour comes twice and is the same hour both times; in spring one never comes.
struct TLocalHour {
  uint32_t Day = 0;  // DayNumber of the local date
  int32_t Hour = 0;  // 0..23
  bool operator==(const TLocalHour&) const = default;
};

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
  // The local date and hour, read at once so the two never straddle midnight. A clock
  // that tells no hour answers hour 0 of Today().
  virtual TLocalHour LocalHour() { return {Today(), 0}; }
};
