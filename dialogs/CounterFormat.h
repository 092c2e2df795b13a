// What the counters dialog shows: the stored totals as short texts, and their reset.
#pragma once
#include <cstdint>
#include <string>

class TSettings;

// "B" below 1024, then "KB", "MB", "GB" with one rounded decimal (1536 -> "1.5KB").
// A tenth that rounds up to ten carries into the whole number and on into the next
// unit (1023.99 KB -> "1.0MB"); quotients are 64-bit, so 2 TiB and more read right.
std::string FormatBytesRounded(int64_t octets);
// "1d 1h 1m 1s", zero parts left out but their blanks kept ("1m "); "-" for none.
std::string FormatElapsed(int32_t seconds);

// The dialog's seven boxes.
struct TCounterTexts {
  std::string Upload, UploadSpeed, Download, DownloadSpeed, Total, TotalSpeed, Elapsed;
};
TCounterTexts CounterTexts(int64_t upload, int64_t download, int32_t elapsed);
// The same from the stored totals: elapsed, then each counter high half first.
TCounterTexts ReadCounterTexts(TSettings& store);
// Zero into "counter_elapsed", "upload_l", "upload_h", "download_l", "download_h", in
// that order.
void ResetStoredTotals(TSettings& store);
