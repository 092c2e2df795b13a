#include "traffic/TransferTotals.h"

#include <sys/stat.h>

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

void AddTransfer(TTransferTotals& totals, TSettings& store, TClock& clock, int32_t down, int32_t up) {
  if (totals.LoggingEnabled && clock.Today() != totals.LastDate) CloseDay(totals, store, clock);

  totals.UploadCounter = SaturatingAdd(totals.UploadCounter, up);
  totals.DownloadCounter = SaturatingAdd(totals.DownloadCounter, down);
  StoreCounters(totals, store);

  // Stored as a signed integer, so it stops at 2^31 - 1 instead of turning negative.
  if (totals.ElapsedCounter < static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
    ++totals.ElapsedCounter;
  else
    totals.ElapsedCounter = std::numeric_limits<int32_t>::max();
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
