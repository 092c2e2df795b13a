#include "base/ByteFormat.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(ByteFormat, UnitBoundaries) {
  // nullptr: the value is out of that formatter's range
  const struct { int64_t value; const char *text, *shortText; } cases[] = {
      {0, "0B", "0b"}, {1023, "1023B", "1023b"}, {1024, "1.0KB", "1.0k"}, {1535, "1.4KB", "1.4k"},
      {2047, "1.9KB", "1.9k"},  // tenths are cut, not rounded
      {1048575, "1023.9KB", "1023.9k"}, {1048576, "1.0MB", "1.0M"}, {1572864, "1.5MB", "1.5M"},
      {1073741823, "1023.9MB", "1023.9M"}, {1073741824, "1.0GB", "1024.0M"},  // no short unit above M
      {INT32_MAX, "1.9GB", "2047.9M"}, {4294967295, "3.9GB", nullptr}, {4294967296, "4.0GB", nullptr},
      // past 2 TiB the GB figure still grows instead of wrapping
      {INT64_C(2199023255552), "2048.0GB", nullptr}, {INT64_C(2199023255552) + 1610612736, "2049.5GB", nullptr},
      {INT64_MAX, "8589934591.9GB", nullptr},
      // negative counts stay plain digits
      {-1, "-1B", "-1b"}, {-5000, "-5000B", "-5000b"}, {INT64_MIN, "-9223372036854775808B", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatBytes(c.value) + " " + (c.shortText ? FormatBytesShort(static_cast<int32_t>(c.value)) : ""),
              std::string(c.text) + " " + (c.shortText ? c.shortText : "")) << c.value;
}

}  // namespace
