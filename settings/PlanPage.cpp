#include "settings/PlanPage.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr const char* CountNames[] = {"Download and upload", "Download only"};

// Digits of a number field; anything else (or nothing) reads as def, a number too big
// for the store as its largest value.
int32_t Number(const std::string& text, int32_t def) {
  int64_t n = 0;
  bool any = false;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return def;
    n = std::min<int64_t>(n * 10 + (c - '0'), INT32_MAX);
    any = true;
  }
  return any ? static_cast<int32_t>(n) : def;
}

}  // namespace

void InitPlanPage(TPageControls& c, TSettings& s) {
  c.SetText(IDC_PLAN_LIMIT, std::to_string(std::max(s.ReadInteger("PlanLimitGB", 0), 0)));
  for (const char* name : CountNames) c.AddItem(IDC_PLAN_COUNTS, name, 0);
  c.Select(IDC_PLAN_COUNTS, s.ReadBool("PlanDownloadOnly", false) ? 1 : 0);
  for (int day = 1; day <= 31; ++day) c.AddItem(IDC_PLAN_START_DAY, std::to_string(day), day);
  c.Select(IDC_PLAN_START_DAY, std::clamp(s.ReadInteger("PlanStartDay", 1), 1, 31) - 1);
  c.SetText(IDC_PLAN_ALERT, std::to_string(std::clamp(s.ReadInteger("PlanAlertPercent", 80), 1, 100)));
}

void ApplyPlanPage(TPageControls& c, TSettings& s) {
  s.WriteInteger("PlanLimitGB", Number(c.Text(IDC_PLAN_LIMIT), 0));
  s.WriteBool("PlanDownloadOnly", c.Selection(IDC_PLAN_COUNTS) == 1);
  s.WriteInteger("PlanStartDay", std::clamp(c.Selection(IDC_PLAN_START_DAY) + 1, 1, 31));
  s.WriteInteger("PlanAlertPercent", std::clamp(Number(c.Text(IDC_PLAN_ALERT), 80), 1, 100));
}
