#include "traffic/TransferTotals.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "base/ByteFormat.h"
#include "base/Rounding.h"
#include "settings/Settings.h"
#include "traffic/Clock.h"
#include "traffic/LogPath.h"

namespace {

void StoreCounters(const TTransferTotals& totals, TSettings& store) {
  WriteCounter64(store, "upload", totals.UploadCounter);
  WriteCounter64(store, "download", totals.DownloadCounter);
}

// Opened, written once and closed: the file is never held between days. Only a plain
// file gets the line; a name that is not one, or any failure, loses this line only.
void AppendLine(const std::string& path, const std::string& line) {
  if (!UsableLogPath(path)) return;
  struct stat info {};
  // Looked at before opening: opening a pipe to write would wait for its reader.
  if (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) return;
  std::FILE* f = std::fopen(path.c_str(), "ab");
  if (!f) return;
  // What was opened may still be a device the name did not show (a drive mapped onto one).
  if (::fstat(fileno(f), &info) == 0 && S_ISREG(info.st_mode)) {
    const std::string text = line + "\r\n";
    std::fwrite(text.data(), 1, text.size(), f);
  }
  std::fclose(f);
}

}  // namespace

std::string PadLeft(const std::string& text, size_t width) {
  if (text.size() >= width) return text;
  return std::string(width - text.size(), ' ') + text;
}

std::string TransferLogLine(const std::string& date, int64_t upload, int64_t download) {
  return date + "    UpLoad: " + PadLeft(FormatBytes(upload), 9) + "   DownLoad: " +
         PadLeft(FormatBytes(download), 9);
}

uint32_t TickSeconds(TTickTiming& timing, uint64_t nowMs) {
  const uint64_t last = timing.LastMs;
  timing.LastMs = nowMs;
  if (nowMs == 0 || last == 0 || nowMs < last) {
    timing.CarryMs = 0;
    return 1;
  }
  // Days of stall at most in practice; the cap only keeps the arithmetic in range.
  const uint64_t passed = std::min<uint64_t>(nowMs - last, uint64_t{1} << 40);
  const int64_t due = timing.CarryMs + static_cast<int64_t>(passed);
  const int64_t seconds = (due + 500) / 1000;  // due >= -500, so this rounds half up
  timing.CarryMs = due - seconds * 1000;
  return static_cast<uint32_t>(std::min<int64_t>(seconds, std::numeric_limits<uint32_t>::max()));
}

void AddTransfer(TTransferTotals& totals, TSettings& store, TClock& clock, uint64_t down, uint64_t up,
                 uint32_t seconds) {
  if (totals.LoggingEnabled && clock.Today() != totals.LastDate) CloseDay(totals, store, clock);

  constexpr uint64_t Max64 = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  totals.UploadCounter = SaturatingAdd(totals.UploadCounter, static_cast<int64_t>(std::min(up, Max64)));
  totals.DownloadCounter = SaturatingAdd(totals.DownloadCounter, static_cast<int64_t>(std::min(down, Max64)));
  StoreCounters(totals, store);

  // Stored as a signed integer, so it stops at 2^31 - 1 instead of turning negative.
  constexpr uint32_t Max32 = static_cast<uint32_t>(std::numeric_limits<int32_t>::max());
  totals.ElapsedCounter = totals.ElapsedCounter < Max32 && seconds < Max32 - totals.ElapsedCounter
                              ? totals.ElapsedCounter + seconds
                              : Max32;
  store.WriteInteger("counter_elapsed", static_cast<int32_t>(totals.ElapsedCounter));
}

void CloseDay(TTransferTotals& totals, TSettings& store, TClock& clock) {
  const uint32_t today = clock.Today();
  if (totals.UploadCounter > 0 || totals.DownloadCounter > 0)
    AppendLine(totals.LogFilePath,
               TransferLogLine(clock.FormatShortDate(today), totals.UploadCounter,
                               totals.DownloadCounter));

  totals.LastDate = today;
  totals.ElapsedCounter = 0;
  totals.UploadCounter = 0;
  totals.DownloadCounter = 0;

  store.WriteInteger("lastdate", static_cast<int32_t>(totals.LastDate));
  store.WriteInteger("counter_elapsed", 0);
  StoreCounters(totals, store);
}
