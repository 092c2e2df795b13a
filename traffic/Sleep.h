// The system's sleep as the tick sees it: between the suspend and the resume notices
// no tick runs and no second is counted, so the average speeds stay true; the first
// tick after the resume counts every octet since the last one before.
#pragma once
#include <cstdint>

class TSettings;
struct TTransferTotals;

struct TSleepState {
  bool Asleep = false;
  uint64_t SuspendedAtMs = 0;  // monotonic milliseconds at the suspend notice
  uint64_t SleptMs = 0;        // time asleep so far, left out of every count
  int32_t HeldTicks = 0;       // ticks held since the suspend notice
};

// Ticks held at most: a timer still firing this long after a suspend notice with no
// resume after it means the system never slept, so counting goes on by itself.
inline constexpr int32_t MaxHeldTicks = 30;

void NoteSuspend(TSleepState& sleep, uint64_t nowMs);
void NoteResume(TSleepState& sleep, uint64_t nowMs);
// The monotonic clock with the time asleep left out; 0 stays 0 (a clock that cannot tell).
uint64_t AwakeMs(const TSleepState& sleep, uint64_t nowMs);
// True when this tick must do nothing, the system being asleep.
bool HoldTick(TSleepState& sleep, uint64_t nowMs);

// The totals as they stand, written before the system sleeps.
void StoreTotals(const TTransferTotals& totals, TSettings& store);
