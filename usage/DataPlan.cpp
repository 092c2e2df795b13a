#include "usage/DataPlan.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "settings/Settings.h"
#include "settings/SettingsCatalogue.h"

namespace {

int32_t ReadCatalogued(TSettings& store, const char* name) {
  const TSettingDef* d = FindSetting(name);
  return store.ReadInteger(name, d ? d->Default : 0);
}

uint64_t Saturated(unsigned __int128 v) {
  return v > std::numeric_limits<uint64_t>::max() ? std::numeric_limits<uint64_t>::max() : static_cast<uint64_t>(v);
}

}  // namespace

TPlanSettings ReadPlanSettings(TSettings& store) {
  TPlanSettings p;
  p.LimitGB = std::max(ReadCatalogued(store, "PlanLimitGB"), 0);
  p.DownloadOnly = store.ReadBool("PlanDownloadOnly", false);
  p.StartDay = std::clamp(ReadCatalogued(store, "PlanStartDay"), 1, 31);
  p.AlertPercent = std::clamp(ReadCatalogued(store, "PlanAlertPercent"), 1, 100);
  return p;
}

TPlanFigures PlanFigures(const TPlanSettings& plan, uint64_t used, TLocalHour now) {
  TPlanFigures f;
  f.Period = BillingPeriodOf(now.Day, plan.StartDay);
  f.Used = used;
  f.Limit = plan.Limit();
  f.DaysLeft = f.Period.End - now.Day;
  // the hour under way counts as gone: a pace from its first minutes errs high, not low
  const uint64_t gone = uint64_t{now.Day - f.Period.First} * 24 + static_cast<uint64_t>(std::clamp(now.Hour, 0, 23)) + 1;
  f.Pace = Saturated(static_cast<unsigned __int128>(used) * (uint64_t{f.Period.Days()} * 24) / gone);
  if (f.Limit > used && f.DaysLeft > 0) f.Allowance = (f.Limit - used) / f.DaysLeft;
  return f;
}

TPlanAlert CheckPlanAlert(const TPlanSettings& plan, const TDayRange& period, uint64_t used, TPlanAlertMemory& memory) {
  const uint64_t limit = plan.Limit();
  if (limit == 0) return TPlanAlert::None;
  if (used >= limit) {
    if (memory.LimitShown == period.First) return TPlanAlert::None;
    memory.LimitShown = memory.AlertShown = period.First;
    return TPlanAlert::Limit;
  }
  // used x 100 >= limit x percent, without the product's overflow
  const uint64_t p = static_cast<uint64_t>(std::clamp(plan.AlertPercent, 1, 100));
  const uint64_t threshold = limit / 100 * p + (limit % 100 * p + 99) / 100;
  if (used < threshold || memory.AlertShown == period.First) return TPlanAlert::None;
  memory.AlertShown = period.First;
  return TPlanAlert::Alert;
}

std::string FormatDecimalBytes(uint64_t octets) {
  char buf[40];
  if (octets < 1000) {
    std::snprintf(buf, sizeof buf, "%llu B", static_cast<unsigned long long>(octets));
    return buf;
  }
  static constexpr const char* Units[] = {"kB", "MB", "GB", "TB", "PB", "EB"};
  double unit = 1000;
  size_t u = 0;
  while (u + 1 < std::size(Units) && octets >= unit * 1000) unit *= 1000, ++u;
  double v = static_cast<double>(octets) / unit;
  // 999.996 kB reads as 1.00 MB, not 1000.00 kB
  if (v >= 999.995 && u + 1 < std::size(Units)) v /= 1000, ++u;
  std::snprintf(buf, sizeof buf, "%.2f %s", v, Units[u]);
  return buf;
}
