#include "render/Scaling.h"

#include <cmath>
#include <cstdlib>

#include "base/Rounding.h"
#include "traffic/TrafficHistory.h"

namespace {
constexpr double Band = 1.05;
}  // namespace

int32_t UsableScale(int32_t stored) { return stored > 0 ? stored : DefaultScaleMax; }

int32_t UsableBalance(int32_t stored) {
  if (stored < 1) return 1;
  if (stored > 99) return 99;
  return stored;
}

int32_t ComputeAutoScale(const TTrafficHistory& history, int32_t current) {
  int32_t peak = DefaultScaleMax;
  for (int32_t age = history.HistoryLength() - 1; age >= 0; --age) {
    for (THistoryRow row : {HistoryDown, HistoryUp}) {
      const int32_t v = history.HistorySample(row, age);
      // truncated toward zero; saturated for samples near 2^31
      if (v > peak) peak = SaturatedTrunc(v * Band);
    }
  }
  if (current * Band < peak) return peak;
  if (current > peak * Band) return RoundHalfEven(peak * Band);
  return current;
}

int32_t BalancePercent(int32_t balance) {
  const int32_t k = std::abs(UsableBalance(balance) - 50) + 1;
  return 100 - static_cast<int32_t>(std::lround(k / 50.0 * 90.0));
}

TDirectionScales DirectionScales(int32_t scale, int32_t balance) {
  scale = UsableScale(scale);
  balance = UsableBalance(balance);
  TDirectionScales s{scale, scale};
  if (balance != 50) {
    int32_t reduced = RoundHalfEven(scale / 100.0 * BalancePercent(balance));
    if (reduced < 1) reduced = 1;  // a tiny scale must not become a zero divisor
    (balance > 50 ? s.DownScale : s.UpScale) = reduced;
  }
  return s;
}

int32_t SampleHeight(int32_t sample, int32_t height, int32_t scale) {
  return RoundHalfEven(static_cast<double>(sample) * height / UsableScale(scale));
}
