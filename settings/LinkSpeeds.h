// The manual choices of the options sheet's scale combo boxes: a name and its fixed
// octets per second (not derived from the name by any bits-to-bytes rule).
#pragma once
#include <cstdint>

struct TLinkSpeed {
  const char* Name;
  int32_t Value;
};

inline constexpr TLinkSpeed LinkSpeedList[] = {
    {"Modem 33,6", 4500},  {"Modem 56,4", 8000},    {"64kbit", 8500},
    {"128kbit", 17000},    {"256kbit", 33000},      {"512kbit", 65000},
    {"768kbit", 100000},   {"1mbit", 135000},       {"2mbit", 265000},
    {"10Mbit", 1100000},   {"100Mbit", 11000000},   {"1Gbit", 110000000},
};
