#include "traffic/Sleep.h"

#include "settings/Settings.h"
#include "traffic/TransferTotals.h"

void NoteSuspend(TSleepState& sleep, uint64_t nowMs) {
  if (sleep.Asleep) return;  // a second notice: the first one's time stands
  sleep.Asleep = true;
  sleep.SuspendedAtMs = nowMs;
  sleep.HeldTicks = 0;
}

void NoteResume(TSleepState& sleep, uint64_t nowMs) {
  // A resume without a suspend notice (after a critical one) leaves nothing out.
  if (!sleep.Asleep) return;
  sleep.Asleep = false;
  if (nowMs > sleep.SuspendedAtMs) sleep.SleptMs += nowMs - sleep.SuspendedAtMs;
}

uint64_t AwakeMs(const TSleepState& sleep, uint64_t nowMs) {
  if (nowMs == 0) return 0;
  uint64_t slept = sleep.SleptMs;
  if (sleep.Asleep && nowMs > sleep.SuspendedAtMs) slept += nowMs - sleep.SuspendedAtMs;
  // never 0, which would read as a clock that cannot tell
  return nowMs > slept ? nowMs - slept : 1;
}

bool HoldTick(TSleepState& sleep, uint64_t nowMs) {
  if (!sleep.Asleep) return false;
  if (++sleep.HeldTicks <= MaxHeldTicks) return true;
  NoteResume(sleep, nowMs);
  return false;
}

void StoreTotals(const TTransferTotals& totals, TSettings& store) {
  WriteCounter64(store, "upload", totals.UploadCounter);
  WriteCounter64(store, "download", totals.DownloadCounter);
  store.WriteInteger("counter_elapsed", static_cast<int32_t>(totals.ElapsedCounter));
}
