// Today's date and its short text, behind a seam so tests can move the date.
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
};
