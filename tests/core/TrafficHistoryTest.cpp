#include "traffic/TrafficHistory.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace {

TEST(TrafficHistory, ResizeKeepsAges) {
  // 1, 2, 3 pushed down (and their negatives up) into three columns, then resized
  const struct { int32_t width; std::vector<int32_t> byAge; } cases[] = {
      {5, {3, 2, 1, 0, 0}}, {3, {3, 2, 1}}, {2, {3, 2}}, {0, {}}, {-4, {}}};
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(3);
    for (int32_t v : {1, 2, 3}) h.HistoryPush(v, -v);
    h.HistoryResize(c.width);
    std::vector<int32_t> down, up;
    for (int32_t age = 0; age < h.HistoryLength(); ++age)
      down.push_back(h.HistorySample(HistoryDown, age)), up.push_back(-h.HistorySample(HistoryUp, age));
    EXPECT_EQ(std::tuple(down, up), std::tuple(c.byAge, c.byAge)) << c.width;
  }
}

}  // namespace
