// Octets by local hour: the texts that name an hour, a day and a month, and the
// accumulator the tick feeds every second. The store sees the buckets only when they
// are written, once a minute and at each change of hour or adapter.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "traffic/Clock.h"

// "2026-12-07T13", "2026-12-07", "2026-12": the local hour, day and month.
std::string HourText(TLocalHour hour);
std::string DayText(uint32_t day);
std::string MonthText(uint32_t day);
// Reads an hour's text back; false for anything that is not one.
bool ParseHourText(const std::string& text, TLocalHour& hour);

// One adapter's octets in one local hour.
struct TUsageBucket {
  std::string Adapter;
  TLocalHour Hour;
  uint64_t Down = 0, Up = 0;
};

// At most this many buckets wait for a store that cannot take them (a month of hours);
// beyond it the oldest go, so memory stays bounded however long the store is away.
inline constexpr size_t MaxPendingBuckets = 31 * 24;

class TUsageAccumulator {
public:
  // A tick's octets into the bucket of its hour and adapter. True when that is another
  // bucket than the last tick's: the hour (or the adapter) changed, time to write.
  bool Add(const std::string& adapter, TLocalHour hour, uint64_t down, uint64_t up);
  // Everything not yet written, oldest first; buckets without octets included.
  const std::vector<TUsageBucket>& Pending() const { return pending_; }
  // The pending octets are in the store now; the current bucket goes on from zero.
  void Written();
  // Octets of the pending buckets from day `first` on (for the plan's period).
  uint64_t PendingSince(uint32_t first, bool downloadOnly) const;

private:
  std::vector<TUsageBucket> pending_;
};
