// Persistent transfer totals, written to the store every tick, and the daily log.
#pragma once
#include <cstdint>
#include <string>

#include "app/StatsForm.h"

class TSettings;
class TClock;

// Day count in the proleptic Gregorian calendar; 1 January of year 1 is day 1.
uint32_t DayNumber(int32_t year, int32_t month, int32_t day);
struct TCivilDate { int32_t year, month, day; };
TCivilDate CivilDate(uint32_t dayNumber);

// Blanks in front until the text is at least width characters long.
std::string PadLeft(const std::string& text, size_t width);

// One line of the transfer log, without its CR LF.
std::string TransferLogLine(const std::string& date, int64_t upload, int64_t download);

// The tick's deltas into the persistent totals; closes the day first when logging is
// on and the date moved (either way). Five store writes.
void AddTransfer(TStatsForm& form, TSettings& store, TClock& clock, int32_t down, int32_t up);
// Appends the day's line (when either counter is above 0) and restarts the totals.
void CloseDay(TStatsForm& form, TSettings& store, TClock& clock);

// 64-bit totals are stored as two integers, "_h" the high and "_l" the low half.
int64_t JoinHalves(int32_t high, int32_t low);
int32_t HighHalf(int64_t value);
int32_t LowHalf(int64_t value);
