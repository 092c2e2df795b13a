#include "traffic/TransferTotals.h"

#include <cstdio>
#include <limits>

#include "app/ByteFormat.h"
#include "settings/uSettingsBase.h"
#include "traffic/Clock.h"

namespace {

constexpr int32_t kDaysBefore[2][12] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335},
};

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// DayNumber of 1 January 1970, the epoch of the civil-from-days arithmetic below.
constexpr int64_t kUnixEpochDay = 719163;

// A store can hold anything; a counter near the 64-bit limit must not wrap.
int64_t SaturatingAdd(int64_t a, int64_t b) {
  int64_t r;
  if (__builtin_add_overflow(a, b, &r))
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
  return r;
}

void StoreCounters(const TStatsForm& form, TSettings& store) {
  store.WriteInteger("upload_l", LowHalf(form.UploadCounter));
  store.WriteInteger("upload_h", HighHalf(form.UploadCounter));
  store.WriteInteger("download_l", LowHalf(form.DownloadCounter));
  store.WriteInteger("download_h", HighHalf(form.DownloadCounter));
}

// Opened, written once and closed: the file is never held between days. Any failure
// loses this line only.
void AppendLine(const std::string& path, const std::string& line) {
  if (path.empty()) return;
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return;
  const std::string text = line + "\r\n";
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
}

}  // namespace

uint32_t DayNumber(int32_t year, int32_t month, int32_t day) {
  if (month < 1) month = 1;
  if (month > 12) month = 12;
  const int64_t y = static_cast<int64_t>(year) - 1;
  const int64_t n = day + kDaysBefore[IsLeap(year) ? 1 : 0][month - 1] + y * 365 + y / 4 -
                    y / 100 + y / 400;
  return static_cast<uint32_t>(n);
}

TCivilDate CivilDate(uint32_t dayNumber) {
  // Era-based inverse: the year counted from March so February's length comes last.
  const int64_t z = static_cast<int64_t>(dayNumber) - kUnixEpochDay + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const int64_t d = doy - (153 * mp + 2) / 5 + 1;
  const int64_t m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {static_cast<int32_t>(y), static_cast<int32_t>(m), static_cast<int32_t>(d)};
}

std::string PadLeft(const std::string& text, size_t width) {
  if (text.size() >= width) return text;
  return std::string(width - text.size(), ' ') + text;
}

std::string TransferLogLine(const std::string& date, int64_t upload, int64_t download) {
  return date + "    UpLoad: " + PadLeft(FormatBytes(upload), 9) + "   DownLoad: " +
         PadLeft(FormatBytes(download), 9);
}

void AddTransfer(TStatsForm& form, TSettings& store, TClock& clock, int32_t down, int32_t up) {
  if (form.LoggingEnabled && clock.Today() != form.LastDate) CloseDay(form, store, clock);

  form.UploadCounter = SaturatingAdd(form.UploadCounter, up);
  form.DownloadCounter = SaturatingAdd(form.DownloadCounter, down);
  StoreCounters(form, store);

  // Stored as a signed integer, so it stops at 2^31 - 1 instead of turning negative.
  if (form.ElapsedCounter < static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
    ++form.ElapsedCounter;
  else
    form.ElapsedCounter = std::numeric_limits<int32_t>::max();
  store.WriteInteger("counter_elapsed", static_cast<int32_t>(form.ElapsedCounter));
}

void CloseDay(TStatsForm& form, TSettings& store, TClock& clock) {
  const uint32_t today = clock.Today();
  if (form.UploadCounter > 0 || form.DownloadCounter > 0)
    AppendLine(form.LogFilePath,
               TransferLogLine(clock.FormatShortDate(today), form.UploadCounter,
                               form.DownloadCounter));

  form.LastDate = today;
  form.ElapsedCounter = 0;
  form.UploadCounter = 0;
  form.DownloadCounter = 0;

  store.WriteInteger("lastdate", static_cast<int32_t>(form.LastDate));
  store.WriteInteger("counter_elapsed", 0);
  StoreCounters(form, store);
}

int64_t JoinHalves(int32_t high, int32_t low) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) |
                              static_cast<uint32_t>(low));
}

int32_t HighHalf(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
}

int32_t LowHalf(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
