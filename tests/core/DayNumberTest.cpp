#include "base/DayNumber.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

TEST(DayNumbers, KnownDatesAndTheInverse) {
  const struct { int32_t y, m, d; uint32_t n; } cases[] = {
      {1, 1, 1, 1}, {1600, 2, 29, 584082} /* divisible by 400: leap */, {1900, 3, 1, 693655} /* by 100 only: not */,
      {2000, 3, 1, 730180}, {2026, 12, 6, 739956}, {9999, 12, 31, 3652059},
  };
  for (const auto& c : cases) {
    const TCivilDate back = CivilDate(c.n);
    EXPECT_EQ(std::tuple(DayNumber(c.y, c.m, c.d), back.year, back.month, back.day), std::tuple(c.n, c.y, c.m, c.d));
  }
  // every day follows the one before: next day of the month, or the 1st after the month's last
  TCivilDate prev = CivilDate(1);
  for (uint32_t n = 2; n <= 800000; ++n) {
    const TCivilDate c = CivilDate(n);
    ASSERT_EQ(DayNumber(c.year, c.month, c.day), n) << "day " << n;
    ASSERT_TRUE((c.year == prev.year && c.month == prev.month && c.day == prev.day + 1) ||
                (c.day == 1 && (c.month == prev.month + 1 || (c.month == 1 && prev.month == 12))))
        << "day " << n;
    prev = c;
  }
  // months outside 1..12 are taken as the nearest month
  EXPECT_EQ(std::tuple(DayNumber(2026, 0, 5), DayNumber(2026, 13, 1)),
            std::tuple(DayNumber(2026, 1, 5), DayNumber(2026, 12, 1)));
}

}  // namespace
