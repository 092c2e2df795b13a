#include "usage/HourBuckets.h"

#include <cstdio>

#include "base/DayNumber.h"

namespace {

// Digits of text[at, at + n) as a number; -1 when one is not a digit.
int32_t Digits(const std::string& text, size_t at, size_t n) {
  int32_t v = 0;
  for (size_t i = at; i < at + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    v = v * 10 + (text[i] - '0');
  }
  return v;
}

}  // namespace

std::string DayText(uint32_t day) {
  const TCivilDate c = CivilDate(day);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", c.year, c.month, c.day);
  return buf;
}

std::string MonthText(uint32_t day) { return DayText(day).substr(0, 7); }

std::string HourText(TLocalHour hour) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "T%02d", hour.Hour);
  return DayText(hour.Day) + buf;
}

bool ParseHourText(const std::string& text, TLocalHour& hour) {
  if (text.size() != 13 || text[4] != '-' || text[7] != '-' || text[10] != 'T') return false;
  const int32_t y = Digits(text, 0, 4), m = Digits(text, 5, 2), d = Digits(text, 8, 2), h = Digits(text, 11, 2);
  if (y < 1 || m < 1 || m > 12 || d < 1 || h < 0 || h > 23) return false;
  const uint32_t day = DayNumber(y, m, d);
  // 31 February and the like do not come back as themselves
  const TCivilDate back = CivilDate(day);
  if (back.month != m || back.day != d) return false;
  hour = {day, h};
  return true;
}

bool TUsageAccumulator::Add(const std::string& adapter, TLocalHour hour, uint64_t down, uint64_t up) {
  bool changed = false;
  if (pending_.empty() || !(pending_.back().Hour == hour) || pending_.back().Adapter != adapter) {
    changed = !pending_.empty();
    if (pending_.size() >= MaxPendingBuckets) pending_.erase(pending_.begin());
    pending_.push_back({adapter, hour, 0, 0});
  }
  TUsageBucket& b = pending_.back();
  b.Down += down;
  b.Up += up;
  return changed;
}

void TUsageAccumulator::Written() {
  if (pending_.empty()) return;
  TUsageBucket current = pending_.back();
  current.Down = current.Up = 0;
  pending_.assign(1, current);
}

uint64_t TUsageAccumulator::PendingSince(uint32_t first, bool downloadOnly) const {
  uint64_t sum = 0;
  for (const TUsageBucket& b : pending_)
    if (b.Hour.Day >= first) sum += b.Down + (downloadOnly ? 0 : b.Up);
  return sum;
}
