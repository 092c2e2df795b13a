// The short date, against what the system itself gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "traffic/SystemClock.h"
#include "traffic/TransferTotals.h"

namespace {

std::string SystemShortDate(WORD y, WORD m, WORD d) {
  SYSTEMTIME st{};
  st.wYear = y;
  st.wMonth = m;
  st.wDay = d;
  char buf[1024];
  const int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf, sizeof buf);
  return n > 0 ? std::string(buf, n - 1) : std::string("<failed>");
}

TEST(SystemClock, ShortDateIsTheSystemsShortDate) {
  TSystemClock clock;
  struct Case {
    WORD y, m, d;
  } const cases[] = {{2026, 12, 6}, {2000, 1, 1}, {2000, 2, 29}, {1999, 12, 31}, {2038, 1, 19},
                     {1601, 1, 1}, {9999, 12, 31}};
  for (const auto& c : cases) {
    EXPECT_EQ(clock.FormatShortDate(DayNumber(c.y, c.m, c.d)), SystemShortDate(c.y, c.m, c.d))
        << c.y << "-" << c.m << "-" << c.d;
  }
  // dates the system cannot format give the empty text
  EXPECT_EQ(clock.FormatShortDate(0), "");
  const std::string early = SystemShortDate(1600, 12, 31);
  EXPECT_EQ(clock.FormatShortDate(DayNumber(1600, 12, 31)), early == "<failed>" ? "" : early);
  EXPECT_EQ(clock.FormatShortDate(0xFFFFFFFFu), "");
}

// A user format longer than the first 100-character buffer: the buffer grows.
TEST(SystemClock, LongFormatsGrowTheBuffer) {
  char saved[128] = {};
  ASSERT_GT(::GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved, sizeof saved), 0);
  // 109 characters on a Wednesday: past the first buffer, and still within what Wine's
  // ANSI formatter can hand back (it converts through a fixed 128-character buffer).
  const char* picture = "dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd dddd";
  if (!::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, picture))
    GTEST_SKIP() << "the user's short date format cannot be changed here";
  TSystemClock clock;
  const std::string text = clock.FormatShortDate(DayNumber(2026, 12, 9));  // a Wednesday
  const std::string expected = SystemShortDate(2026, 12, 9);
  ::SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, saved);
  EXPECT_GT(expected.size(), 100u) << expected;
  EXPECT_EQ(text, expected);
  EXPECT_EQ(SystemShortDate(2026, 12, 9).size() < 100u, true) << "format restored";
}

}  // namespace
