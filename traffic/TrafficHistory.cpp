#include "traffic/TrafficHistory.h"

#include <algorithm>

void TTrafficHistory::HistoryResize(int32_t n) {
  if (n < 0) n = 0;
  const auto want = static_cast<size_t>(n);
  for (auto& row : rows_) {
    const size_t have = row.size();
    if (want == have) continue;
    if (want > have) {
      row.insert(row.begin(), want - have, 0);
    } else {
      row.erase(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(have - want));
    }
  }
}

void TTrafficHistory::HistoryPush(int32_t down, int32_t up) {
  const int32_t samples[2] = {down, up};
  for (int r = 0; r < 2; ++r) {
    auto& row = rows_[r];
    if (row.empty()) continue;
    std::move(row.begin() + 1, row.end(), row.begin());
    row.back() = samples[r];
  }
}

int32_t TTrafficHistory::HistorySample(THistoryRow row, int32_t age) const {
  const auto& r = rows_[static_cast<int>(row)];
  if (age < 0 || age >= static_cast<int32_t>(r.size())) return 0;
  return r[r.size() - 1 - static_cast<size_t>(age)];
}
