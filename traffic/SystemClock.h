// Today's date from the local clock and the user's short date format.
#pragma once
#include "traffic/Clock.h"

class TSystemClock : public TClock {
public:
  uint32_t Today() override;
  std::string FormatShortDate(uint32_t dayNumber) override;
  // The interrupt time without the system's sleep: a stall counts, a night asleep does
  // not, as no tick could run then either.
  uint64_t MonotonicMs() override;
  TLocalHour LocalHour() override;
};
