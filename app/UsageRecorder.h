// The glue between the tick and the usage history: each tick's octets go into the
// hour's bucket in memory and into the data plan's use; the store is written once a
// minute, at each change of hour or adapter and when asked to (suspend, end of
// session, Quit, the usage window), one transaction each. The plan's balloons come
// from here, each once a period.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "traffic/Clock.h"
#include "usage/DataPlan.h"
#include "usage/HourBuckets.h"
#include "usage/UsageStore.h"

class TSettings;

// Seconds between two writes of the history at most.
inline constexpr uint32_t UsageWriteSeconds = 60;

class TUsageHost {
public:
  virtual ~TUsageHost() = default;
  // The history's store, opened now; null (or one not usable) when it cannot be had.
  virtual std::unique_ptr<TUsageStore> OpenUsageStore() = 0;
  // A balloon from the tray icon, a warning.
  virtual void UsageBalloon(const std::string& title, const std::string& text) = 0;
  // The adapter's description as the store keeps it (UTF-8).
  virtual std::string StoredAdapterName(const std::string& name) { return name; }
};

class TUsageRecorder {
public:
  // settings: the program's key, for the plan and the balloons already shown.
  TUsageRecorder(TSettings& settings, TUsageHost& host);

  // One tick: now is its local hour, seconds how long it covered.
  void Count(TLocalHour now, const std::string& adapter, uint64_t down, uint64_t up, uint32_t seconds);
  // Writes everything pending at once: for suspend, the end of the session and Quit.
  void FlushNow() { Write(); }
  // Reads the plan's settings again (after the options sheet); the next tick writes
  // and weighs the period anew.
  void ReloadPlan();
  // The store, opened if it can be; null when it cannot.
  TUsageStore* Store() { return EnsureStore() ? store_.get() : nullptr; }

  const TPlanSettings& Plan() const { return plan_; }
  // The plan's use in its current period, when known.
  bool PeriodUse(uint64_t& used) const { return used = periodUsed_, periodKnown_; }

private:
  void Write();
  bool EnsureStore();
  void LoadPeriod();
  void CheckPlan();
  void TellSetAside();

  TSettings& settings_;
  TUsageHost& host_;
  TUsageAccumulator buckets_;
  std::unique_ptr<TUsageStore> store_;
  uint32_t sinceWrite_ = UsageWriteSeconds;  // the first tick writes, so the store opens then
  TPlanSettings plan_;
  TPlanAlertMemory alerts_;
  TDayRange period_;
  uint64_t periodUsed_ = 0;
  bool periodKnown_ = false;
};
