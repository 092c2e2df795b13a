#include "dialogs/CounterFormat.h"

#include "settings/Settings.h"

namespace {

// A counter of zero shows a dash rather than "0B".
std::string TrafficText(int64_t octets) { return octets == 0 ? "-" : FormatBytesRounded(octets); }

// The average per second; a dash while no time was counted. A stored elapsed of -1
// would trap the division of the smallest count, so that one negates instead.
std::string SpeedText(int64_t octets, int32_t elapsed) {
  if (elapsed == 0) return "-";
  const int64_t speed = elapsed == -1 ? static_cast<int64_t>(0 - static_cast<uint64_t>(octets)) : octets / elapsed;
  return FormatBytesRounded(speed) + "/s";
}

}  // namespace

std::string FormatBytesRounded(int64_t octets) {
  if (octets < 1024) return std::to_string(octets) + "B";
  static const char* const units[] = {"KB", "MB", "GB"};
  constexpr size_t LastUnit = 2;
  uint64_t whole = static_cast<uint64_t>(octets) / 1024;
  uint64_t rest = static_cast<uint64_t>(octets) % 1024;
  size_t unit = 0;
  while (whole >= 1024 && unit < LastUnit) {
    rest = whole % 1024;
    whole /= 1024;
    ++unit;
  }
  // rest x 10 / 1024 rounded half up; only the step just below counts, as in the
  // truncating formatter.
  uint64_t tenths = (rest * 10 + 512) / 1024;
  if (tenths == 10) {
    tenths = 0;
    if (++whole == 1024 && unit < LastUnit) {
      whole = 1;
      ++unit;
    }
  }
  return std::to_string(whole) + "." + static_cast<char>('0' + tenths) + units[unit];
}

std::string FormatElapsed(int32_t seconds) {
  if (seconds <= 0) return "-";
  std::string text;
  const int32_t sec = seconds % 60, min = seconds / 60 % 60, hrs = seconds / 3600 % 24, days = seconds / 86400;
  if (sec > 0) text = std::to_string(sec) + "s";
  if (min > 0) text = std::to_string(min) + "m " + text;
  if (hrs > 0) text = std::to_string(hrs) + "h " + text;
  if (days > 0) text = std::to_string(days) + "d " + text;
  return text;
}

TCounterTexts CounterTexts(int64_t upload, int64_t download, int32_t elapsed) {
  // Corrupt stored halves may overflow the sum; it wraps rather than being undefined.
  const int64_t total = static_cast<int64_t>(static_cast<uint64_t>(upload) + static_cast<uint64_t>(download));
  return {TrafficText(upload), SpeedText(upload, elapsed), TrafficText(download), SpeedText(download, elapsed),
          TrafficText(total),  SpeedText(total, elapsed),  FormatElapsed(elapsed)};
}

TCounterTexts ReadCounterTexts(TSettings& store) {
  const int32_t elapsed = store.ReadInteger("counter_elapsed", 0);
  const int64_t upload = ReadCounter64(store, "upload");
  return CounterTexts(upload, ReadCounter64(store, "download"), elapsed);
}

void ResetStoredTotals(TSettings& store) {
  store.WriteInteger("counter_elapsed", 0);
  WriteCounter64(store, "upload", 0);
  WriteCounter64(store, "download", 0);
}
