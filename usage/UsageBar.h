// One slot of the usage chart: an hour of a day, a day of a month or a month of a year.
#pragma once
#include <cstdint>
#include <string>

struct TUsageBar {
  std::string Label;  // under the slot: "13", "7", "Dec"
  std::string Name;   // in the readout and the list: "7 Dec 2026 13:00"
  uint64_t Down = 0, Up = 0;
};
