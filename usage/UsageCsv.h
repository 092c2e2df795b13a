// The usage history as CSV: "period,adapter,download_bytes,upload_bytes", one row per
// period and adapter, sorted by period and then adapter; UTF-8, RFC 4180 quoting, CR LF.
#pragma once
#include <string>
#include <vector>

#include "usage/UsageStore.h"

enum class TUsageUnit { Hour, Day, Month };

// "hour", "day", "month"; false for anything else.
bool ParseUsageUnit(const std::string& text, TUsageUnit& unit);
// The period's text of an hour: "2026-12-07T13", "2026-12-07" or "2026-12".
std::string PeriodText(TLocalHour hour, TUsageUnit unit);
// A field quoted when it holds a comma, a quote, CR or LF; quotes doubled.
std::string CsvField(const std::string& text);
// The rows summed into the unit's periods, with the header line.
std::string UsageCsv(const std::vector<TUsageRow>& rows, TUsageUnit unit);
