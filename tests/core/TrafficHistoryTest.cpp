#include <gtest/gtest.h>

#include "traffic/TrafficHistory.h"

namespace {

TTrafficHistory Filled(std::initializer_list<int32_t> downOldestFirst) {
  TTrafficHistory h;
  h.HistoryResize(static_cast<int32_t>(downOldestFirst.size()));
  for (int32_t v : downOldestFirst) h.HistoryPush(v, -v);
  return h;
}

TEST(TrafficHistory, PushShiftsBothRowsAndDropsTheOldest) {
  TTrafficHistory h = Filled({1, 2, 3});
  h.HistoryPush(4, -4);
  EXPECT_EQ(h.HistorySample(HistoryDown, 0), 4);
  EXPECT_EQ(h.HistorySample(HistoryDown, 2), 2);
  EXPECT_EQ(h.HistorySample(HistoryUp, 1), -3);
  EXPECT_EQ(h.HistoryLength(), 3);
}

TEST(TrafficHistory, ResizeKeepsAges) {
  TTrafficHistory h = Filled({1, 2, 3});
  h.HistoryResize(5);  // wider: zeros on the old side
  EXPECT_EQ(h.HistorySample(HistoryDown, 0), 3);
  EXPECT_EQ(h.HistorySample(HistoryDown, 2), 1);
  EXPECT_EQ(h.HistorySample(HistoryDown, 3), 0);
  EXPECT_EQ(h.HistorySample(HistoryUp, 4), 0);
  h.HistoryResize(2);  // narrower: the newest stay
  EXPECT_EQ(h.HistorySample(HistoryDown, 0), 3);
  EXPECT_EQ(h.HistorySample(HistoryDown, 1), 2);
  EXPECT_EQ(h.HistorySample(HistoryUp, 1), -2);
}

TEST(TrafficHistory, AgesOutsideTheHistoryReadAsZero) {
  TTrafficHistory h = Filled({7, 8});
  EXPECT_EQ(h.HistorySample(HistoryDown, 2), 0);
  EXPECT_EQ(h.HistorySample(HistoryDown, 6), 0);
  EXPECT_EQ(h.HistorySample(HistoryDown, -1), 0);
  TTrafficHistory empty;
  empty.HistoryPush(5, 5);  // nothing to store into
  EXPECT_EQ(empty.HistorySample(HistoryUp, 0), 0);
}

}  // namespace
