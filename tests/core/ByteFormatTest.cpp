#include "app/ByteFormat.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct LongCase {
  int64_t value;
  const char* text;
};

TEST(ByteFormat, FormatBytesAtUnitBoundaries) {
  const LongCase cases[] = {
      {0, "0B"},
      {1, "1B"},
      {1023, "1023B"},
      {1024, "1.0KB"},
      {1535, "1.4KB"},
      {1536, "1.5KB"},
      {2047, "1.9KB"},  // tenths are cut, not rounded
      {1048575, "1023.9KB"},
      {1048576, "1.0MB"},
      {1572864, "1.5MB"},
      {1073741823, "1023.9MB"},
      {1073741824, "1.0GB"},
      {4294967295, "3.9GB"},
      {4294967296, "4.0GB"},
      // past 2 TiB the GB figure still grows instead of wrapping
      {2199023255552, "2048.0GB"},
      {2199023255552 + 1610612736, "2049.5GB"},
      {INT64_C(1) << 50, "1048576.0GB"},
      {INT64_MAX, "8589934591.9GB"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatBytes(c.value), c.text) << "value " << c.value;
  }
}

struct ShortCase {
  int32_t value;
  const char* text;
};

TEST(ByteFormat, FormatBytesShortAtUnitBoundaries) {
  const ShortCase cases[] = {
      {0, "0b"},
      {1023, "1023b"},
      {1024, "1.0k"},
      {1535, "1.4k"},
      {2047, "1.9k"},
      {1048575, "1023.9k"},
      {1048576, "1.0M"},
      {1572864, "1.5M"},
      {1073741824, "1024.0M"},  // no unit above M
      {INT32_MAX, "2047.9M"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatBytesShort(c.value), c.text) << "value " << c.value;
  }
}

TEST(ByteFormat, NegativeCountsStayPlainDigits) {
  EXPECT_EQ(FormatBytes(-5000), "-5000B");
  EXPECT_EQ(FormatBytes(INT64_MIN), "-9223372036854775808B");
  EXPECT_EQ(FormatBytesShort(-1), "-1b");
}

}  // namespace
