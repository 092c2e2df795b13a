// Where the hours of usage are kept: octets down and up per local hour and adapter,
// added to, never overwritten. The program has one SQLite implementation.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/DayNumber.h"
#include "traffic/Clock.h"

struct TUsageRow {
  TLocalHour Hour;
  std::string Adapter;  // UTF-8, as stored
  uint64_t Down = 0, Up = 0;
};

class TUsageStore {
public:
  virtual ~TUsageStore() = default;
  // Adds an hour's octets to what the store holds for that hour and adapter, as part of
  // the write under way; nothing is kept before Flush.
  virtual bool Add(const std::string& adapter, TLocalHour hour, uint64_t down, uint64_t up) = 0;
  // Ends the write: all that was added since the last flush is kept, in one transaction,
  // or none of it is (false).
  virtual bool Flush() = 0;
  // The rows of the days first .. end - 1, by hour and then adapter.
  virtual bool Read(uint32_t firstDay, uint32_t endDay, std::vector<TUsageRow>& rows) = 0;
  // Every row: the days of all four-digit years, as the store compares the hours' texts.
  bool ReadAll(std::vector<TUsageRow>& rows) { return Read(DayNumber(1, 1, 1), DayNumber(9999, 12, 31), rows); }
  // Whether it can be used at all; one that cannot is opened again later.
  virtual bool Usable() const { return true; }
  // The name a damaged file was moved aside under, once; empty otherwise.
  virtual std::string TakeSetAside() { return {}; }
};
