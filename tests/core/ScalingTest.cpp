#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "traffic/TrafficHistory.h"
#include "render/Scaling.h"

namespace {

// A history of `length` zeros with the given (age, down, up) samples.
struct TSample { int32_t age, down, up; };
TTrafficHistory HistoryWith(int32_t length, std::vector<TSample> samples) {
  TTrafficHistory h;
  h.HistoryResize(length);
  for (int32_t age = length - 1; age >= 0; --age) {
    int32_t d = 0, u = 0;
    for (const auto& s : samples)
      if (s.age == age) { d = s.down; u = s.up; }
    h.HistoryPush(d, u);
  }
  return h;
}

TEST(ComputeAutoScale, Table) {
  struct Case { const char* name; std::vector<TSample> samples; int32_t current; int32_t expected; };
  const Case cases[] = {
      {"zeros keep 4096", {}, 4096, 4096},
      {"zeros shrink 8192 to 5% above the floor", {}, 8192, 4301},
      {"4301 is inside the band and stays", {}, 4301, 4301},
      {"one burst grows at once", {{17, 10000, 0}}, 4096, 10500},
      {"running peak: smaller older sample first", {{30, 10000, 0}, {5, 10400, 0}}, 4096, 10500},
      {"running peak: larger older sample first", {{30, 10400, 0}, {5, 10000, 0}}, 4096, 10920},
      {"down looked at before up at one age", {{3, 10000, 10400}}, 4096, 10500},
      {"hysteresis keeps the current value", {{3, 10400 * 100 / 105, 0}}, 10000, 10000},
      {"shrink rounds half to even (4693.5)", {{2, 4258, 0}}, 5000, 4694},
      {"shrink rounds half to even (4630.5)", {{2, 4200, 0}}, 5000, 4630},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeAutoScale(HistoryWith(60, c.samples), c.current), c.expected) << c.name;
  }
}

TEST(ComputeAutoScale, HugeSamplesSaturateInsteadOfOverflowing) {
  const int32_t big = std::numeric_limits<int32_t>::max();
  EXPECT_EQ(ComputeAutoScale(HistoryWith(10, {{1, big, 0}}), 4096), big);
}

TEST(BalanceAndDirectionScales, Table) {
  struct Case { int32_t scale, balance, down, up, percent; };
  const Case cases[] = {
      {4096, 50, 4096, 4096, 98},  {4096, 51, 3932, 4096, 96}, {4096, 49, 4096, 3932, 96},
      {4096, 1, 4096, 410, 10},    {32768, 75, 17367, 32768, 53}, {4096, 52, 3891, 4096, 95},
      {4096, 99, 410, 4096, 10},
  };
  for (const auto& c : cases) {
    const auto s = DirectionScales(c.scale, c.balance);
    EXPECT_EQ(s.DownScale, c.down) << c.scale << "/" << c.balance;
    EXPECT_EQ(s.UpScale, c.up) << c.scale << "/" << c.balance;
    if (c.balance != 50) {
      EXPECT_EQ(BalancePercent(c.balance), c.percent) << c.balance;
    }
  }
}

TEST(BalanceAndDirectionScales, StoredNonsenseNeverGivesAZeroOrNegativeScale) {
  for (int32_t scale : {0, -5, 1, 3}) {
    for (int32_t balance : {-1000, 0, 1, 50, 99, 100, 100000}) {
      const auto s = DirectionScales(scale, balance);
      EXPECT_GE(s.DownScale, 1) << scale << "/" << balance;
      EXPECT_GE(s.UpScale, 1) << scale << "/" << balance;
    }
  }
  EXPECT_EQ(BalancePercent(-1000), BalancePercent(1));
  EXPECT_EQ(DirectionScales(0, 50).DownScale, 4096);
}

TEST(SampleHeight, RoundsHalfToEvenWithoutOverflow) {
  EXPECT_EQ(SampleHeight(51200, 100, 102400), 50);  // a manual 100 KB/s: half height
  EXPECT_EQ(SampleHeight(1, 1, 2), 0);              // 0.5 -> 0
  EXPECT_EQ(SampleHeight(3, 1, 2), 2);              // 1.5 -> 2
  EXPECT_EQ(SampleHeight(2000000000, 180, 4096), 87890625);  // v x H passes 2^31
  EXPECT_EQ(SampleHeight(2000000000, 180, 1), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(SampleHeight(100, 39, 0), 1);  // a zero scale counts as 4096
}

}  // namespace
