#include "usage/UsageCsv.h"

#include <map>
#include <utility>

#include "usage/HourBuckets.h"

bool ParseUsageUnit(const std::string& text, TUsageUnit& unit) {
  if (text == "hour") unit = TUsageUnit::Hour;
  else if (text == "day") unit = TUsageUnit::Day;
  else if (text == "month") unit = TUsageUnit::Month;
  else return false;
  return true;
}

std::string PeriodText(TLocalHour hour, TUsageUnit unit) {
  switch (unit) {
    case TUsageUnit::Hour: return HourText(hour);
    case TUsageUnit::Day: return DayText(hour.Day);
    case TUsageUnit::Month: break;
  }
  return MonthText(hour.Day);
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string UsageCsv(const std::vector<TUsageRow>& rows, TUsageUnit unit) {
  // byte order of the UTF-8 texts: the same whatever the locale
  std::map<std::pair<std::string, std::string>, std::pair<uint64_t, uint64_t>> sums;
  for (const TUsageRow& r : rows) {
    auto& s = sums[{PeriodText(r.Hour, unit), r.Adapter}];
    s.first += r.Down;
    s.second += r.Up;
  }
  std::string csv = "period,adapter,download_bytes,upload_bytes\r\n";
  for (const auto& [key, s] : sums)
    csv += key.first + ',' + CsvField(key.second) + ',' + std::to_string(s.first) + ',' + std::to_string(s.second) +
           "\r\n";
  return csv;
}
