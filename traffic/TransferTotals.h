// Persistent transfer totals, written to the store every tick, and the daily log.
#pragma once
#include <cstdint>
#include <string>

class TSettings;
class TClock;

// The totals as they are kept between ticks (and in the store, by the same names).
struct TTransferTotals {
  int64_t UploadCounter = 0, DownloadCounter = 0;
  uint32_t ElapsedCounter = 0;  // seconds counted
  uint32_t LastDate = 0;        // DayNumber of the day being counted
  std::string LogFilePath = "transfer_log.txt";
  bool LoggingEnabled = false;
};

// Blanks in front until the text is at least width characters long.
std::string PadLeft(const std::string& text, size_t width);

// One line of the transfer log, without its CR LF.
std::string TransferLogLine(const std::string& date, int64_t upload, int64_t download);

// When the last tick ran, so that a tick after a stall counts every second that passed.
struct TTickTiming {
  uint64_t LastMs = 0;  // monotonic milliseconds of the last tick; 0 before the first
  int64_t CarryMs = 0;  // time passed minus the seconds counted for it, within half a second
};

// The whole seconds since the last tick, rounded, with what rounding left carried on:
// a few milliseconds of jitter still count one a tick, a long run stays exact. A clock
// that tells nothing (0) or goes back counts one.
uint32_t TickSeconds(TTickTiming& timing, uint64_t nowMs);

// The tick's deltas (the octets received and sent) and the seconds it covered into the
// persistent totals; closes the day first when logging is on and the date moved (either
// way). Five store writes.
void AddTransfer(TTransferTotals& totals, TSettings& store, TClock& clock, uint64_t down, uint64_t up,
                 uint32_t seconds = 1);
// Appends the day's line (when either counter is above 0) and restarts the totals.
void CloseDay(TTransferTotals& totals, TSettings& store, TClock& clock);
