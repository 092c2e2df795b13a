// The data plan: a monthly limit in decimal gigabytes (10^9 octets, as providers bill),
// what counts against it, the day its period starts and the alert percentage; the
// figures the usage window shows and the two balloons, each once a period.
#pragma once
#include <cstdint>
#include <string>

#include "traffic/Clock.h"
#include "usage/UsagePeriods.h"

class TSettings;

inline constexpr uint64_t OctetsPerGB = 1000000000;

struct TPlanSettings {
  int32_t LimitGB = 0;  // 0: no limit
  bool DownloadOnly = false;
  int32_t StartDay = 1;  // 1..31
  int32_t AlertPercent = 80;  // 1..100
  uint64_t Limit() const { return LimitGB > 0 ? static_cast<uint64_t>(LimitGB) * OctetsPerGB : 0; }
  // What a tick's octets add to the plan's use.
  uint64_t Counted(uint64_t down, uint64_t up) const { return DownloadOnly ? down : down + up; }
};

// "PlanLimitGB", "PlanDownloadOnly", "PlanStartDay", "PlanAlertPercent", with their defaults.
TPlanSettings ReadPlanSettings(TSettings& store);

struct TPlanFigures {
  TDayRange Period;
  uint64_t Used = 0, Limit = 0;
  uint32_t DaysLeft = 0;   // today included
  uint64_t Pace = 0;       // the use at the period's close if it goes on as so far
  uint64_t Allowance = 0;  // a day, for the rest of the period, to stay within the limit
};

TPlanFigures PlanFigures(const TPlanSettings& plan, uint64_t used, TLocalHour now);

enum class TPlanAlert { None, Alert, Limit };

// The first day of the period in which each balloon was last shown ("PlanAlertShown",
// "PlanLimitShown"), so a restart does not show it again.
struct TPlanAlertMemory {
  uint32_t AlertShown = 0, LimitShown = 0;
};

// The balloon due now, if any, noted in memory. A use that goes straight past the limit
// gets the limit's balloon only.
TPlanAlert CheckPlanAlert(const TPlanSettings& plan, const TDayRange& period, uint64_t used, TPlanAlertMemory& memory);

// Decimal units: "950 B", "1.23 kB", "12.35 MB", "1.00 GB", two decimals, rounded.
std::string FormatDecimalBytes(uint64_t octets);
