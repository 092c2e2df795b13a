#include "app/UsageRecorder.h"

#include "settings/Settings.h"

namespace {

constexpr const char* PlanTitle = "Tarvelo: data plan";

}  // namespace

TUsageRecorder::TUsageRecorder(TSettings& settings, TUsageHost& host) : settings_(settings), host_(host) {
  ReloadPlan();
}

void TUsageRecorder::ReloadPlan() {
  plan_ = ReadPlanSettings(settings_);
  // stored as signed integers; a day number is always far below 2^31
  alerts_.AlertShown = static_cast<uint32_t>(settings_.ReadInteger("PlanAlertShown", 0));
  alerts_.LimitShown = static_cast<uint32_t>(settings_.ReadInteger("PlanLimitShown", 0));
  period_ = {};
  periodKnown_ = false;
  sinceWrite_ = UsageWriteSeconds;
}

void TUsageRecorder::Count(TLocalHour now, const std::string& adapter, uint64_t down, uint64_t up,
                           uint32_t seconds) {
  if (plan_.Limit() > 0 && !period_.Contains(now.Day)) {
    // a new period: what it holds so far is weighed at the next write
    period_ = BillingPeriodOf(now.Day, plan_.StartDay);
    periodUsed_ = 0;
    periodKnown_ = false;
    sinceWrite_ = UsageWriteSeconds;
  }
  const bool otherBucket = buckets_.Add(adapter, now, down, up);
  periodUsed_ += plan_.Counted(down, up);
  sinceWrite_ = seconds < UsageWriteSeconds - sinceWrite_ ? sinceWrite_ + seconds : UsageWriteSeconds;
  if (otherBucket || sinceWrite_ >= UsageWriteSeconds) Write();
  if (periodKnown_) CheckPlan();
}

bool TUsageRecorder::EnsureStore() {
  if (store_ && store_->Usable()) return true;
  store_.reset();  // a store that failed is opened afresh, at most once a write
  store_ = host_.OpenUsageStore();
  TellSetAside();
  return store_ && store_->Usable();
}

void TUsageRecorder::Write() {
  sinceWrite_ = 0;
  if (!EnsureStore()) return;  // the buckets wait in memory for a store that works
  if (plan_.Limit() > 0 && !periodKnown_ && period_.Days() > 0) LoadPeriod();
  bool any = false;
  for (const TUsageBucket& b : buckets_.Pending()) {
    if (b.Down == 0 && b.Up == 0) continue;
    store_->Add(host_.StoredAdapterName(b.Adapter), b.Hour, b.Down, b.Up);
    any = true;
  }
  if (!any || store_->Flush()) buckets_.Written();
  TellSetAside();
}

void TUsageRecorder::LoadPeriod() {
  std::vector<TUsageRow> rows;
  if (!store_->Read(period_.First, period_.End, rows)) return;
  // all adapters: one is watched at a time, and the plan is the line's
  uint64_t used = buckets_.PendingSince(period_.First, plan_.DownloadOnly);
  for (const TUsageRow& r : rows) used += plan_.Counted(r.Down, r.Up);
  periodUsed_ = used;
  periodKnown_ = true;
}

void TUsageRecorder::CheckPlan() {
  const TPlanAlert alert = CheckPlanAlert(plan_, period_, periodUsed_, alerts_);
  if (alert == TPlanAlert::None) return;
  settings_.WriteInteger("PlanAlertShown", static_cast<int32_t>(alerts_.AlertShown));
  settings_.WriteInteger("PlanLimitShown", static_cast<int32_t>(alerts_.LimitShown));
  const std::string limit = std::to_string(plan_.LimitGB) + " GB", used = FormatDecimalBytes(periodUsed_);
  const std::string text =
      alert == TPlanAlert::Limit
          ? "This period's " + limit + " are used up: " + used + " so far."
          : std::to_string(plan_.AlertPercent) + " % of this period's " + limit + " are used: " + used + ".";
  host_.UsageBalloon(PlanTitle, text + " The period runs to " + DayText(period_.End - 1) + ".");
}

void TUsageRecorder::TellSetAside() {
  if (!store_) return;
  std::string aside = store_->TakeSetAside();
  if (aside.empty()) return;
  const size_t slash = aside.find_last_of("/\\");
  if (slash != std::string::npos) aside.erase(0, slash + 1);
  host_.UsageBalloon("Tarvelo: usage history", "The usage history was damaged. It was kept as " + aside +
                                                   " and a new one started.");
}
