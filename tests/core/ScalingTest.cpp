#include "render/Scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>
#include <vector>

#include "traffic/TrafficHistory.h"

namespace {

TEST(ComputeAutoScale, Table) {
  struct TSample { int32_t age, down, up; };
  const struct { const char* name; std::vector<TSample> samples; int32_t current, expected; } cases[] = {
      {"zeros keep 4096", {}, 4096, 4096},
      {"zeros shrink 8192 to 5% above the floor", {}, 8192, 4301},
      {"4301 is inside the band and stays", {}, 4301, 4301},
      {"a sample equal to the peak leaves it", {{2, 4096, 0}}, 8192, 4301},
      {"one burst grows at once", {{17, 10000, 0}}, 4096, 10500},
      {"running peak: smaller older sample first", {{30, 10000, 0}, {5, 10400, 0}}, 4096, 10500},
      {"running peak: larger older sample first", {{30, 10400, 0}, {5, 10000, 0}}, 4096, 10920},
      {"down looked at before up at one age", {{3, 10000, 10400}}, 4096, 10500},
      {"hysteresis keeps the current value", {{3, 10400 * 100 / 105, 0}}, 10000, 10000},
      {"a peak exactly 5% above stays", {{3, 10000, 0}}, 10000, 10000},
      {"shrink rounds half to even (4693.5)", {{2, 4258, 0}}, 5000, 4694},
      {"shrink rounds half to even (4630.5)", {{2, 4200, 0}}, 5000, 4630},
      {"huge samples saturate", {{1, INT32_MAX, 0}}, 4096, INT32_MAX},
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(60);
    for (int32_t age = 59; age >= 0; --age) {
      const auto s = std::find_if(c.samples.begin(), c.samples.end(), [&](auto& s) { return s.age == age; });
      s == c.samples.end() ? h.HistoryPush(0, 0) : h.HistoryPush(s->down, s->up);
    }
    EXPECT_EQ(ComputeAutoScale(h, c.current), c.expected) << c.name;
  }
}

TEST(BalanceAndDirectionScales, Table) {
  const struct { int32_t scale, balance, down, up, percent; } cases[] = {
      {4096, 50, 4096, 4096, 98}, {4096, 51, 3932, 4096, 96}, {4096, 49, 4096, 3932, 96}, {4096, 1, 4096, 410, 10},
      {32768, 75, 17367, 32768, 53}, {4096, 52, 3891, 4096, 95}, {4096, 99, 410, 4096, 10},
      // stored outside the trackbar's 1..99, or a scale of 0 and below; a tenth of a tiny scale is still 1
      {4096, 100, 410, 4096, 10}, {4096, 0, 4096, 410, 10}, {0, 50, 4096, 4096, 98}, {-5, 1, 4096, 410, 10},
      {1, 99, 1, 1, 10}, {3, 1, 3, 1, 10},
  };
  for (const auto& c : cases) {
    const TDirectionScales s = DirectionScales(c.scale, c.balance);
    EXPECT_EQ(std::tuple(s.DownScale, s.UpScale, BalancePercent(c.balance)), std::tuple(c.down, c.up, c.percent))
        << c.scale << "/" << c.balance;
  }
}

}  // namespace
