// Byte counts and times as the rate boxes, the status text and the counters dialog show them.
#include "base/ByteFormat.h"
#include "dialogs/CounterFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(ByteFormat, UnitBoundaries) {
  // nullptr: the value is out of that formatter's range
  const struct { int64_t value; const char *text, *shortText; } cases[] = {
      {0, "0B", "0b"}, {1023, "1023B", "1023b"}, {1024, "1.0KB", "1.0k"},
      {2047, "1.9KB", "1.9k"},  // tenths are cut, not rounded
      {1048575, "1023.9KB", "1023.9k"}, {1048576, "1.0MB", "1.0M"},
      {1073741823, "1023.9MB", "1023.9M"}, {1073741824, "1.0GB", "1024.0M"},  // no short unit above M
      {INT32_MAX, "1.9GB", "2047.9M"}, {4294967296, "4.0GB", nullptr},
      // past 2 TiB the GB figure still grows instead of wrapping
      {INT64_C(2199023255552) + 1610612736, "2049.5GB", nullptr}, {INT64_MAX, "8589934591.9GB", nullptr},
      // negative counts stay plain digits
      {-1, "-1B", "-1b"}, {INT64_MIN, "-9223372036854775808B", nullptr},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FormatBytes(c.value) + " " + (c.shortText ? FormatBytesShort(static_cast<int32_t>(c.value)) : ""),
              std::string(c.text) + " " + (c.shortText ? c.shortText : "")) << c.value;
}

using Texts = std::vector<std::string>;
Texts All(const TCounterTexts& t) {
  return {t.Upload, t.UploadSpeed, t.Download, t.DownloadSpeed, t.Total, t.TotalSpeed, t.Elapsed};
}

TEST(CounterFormat, BytesAndElapsed) {
  const struct { int64_t value; const char* text; } bytes[] = {
      {0, "0B"}, {1023, "1023B"}, {-5000, "-5000B"}, {1024, "1.0KB"}, {1279, "1.2KB"}, {1280, "1.3KB"} /* 2.5 up */,
      {1996, "1.9KB"}, {1997, "2.0KB"},  // remainder 972, then the first that carries
      {298261, "291.3KB"}, {1048524, "1023.9KB"}, {1048566, "1.0MB"}, {1048576, "1.0MB"}, {1073740800, "1.0GB"},
      {INT64_C(1099511627775), "1024.0GB"},  // no unit above GB to carry into
      {(INT64_C(1) << 41) + 1610612736, "2049.5GB"}, {INT64_MAX, "8589934592.0GB"}};
  for (const auto& c : bytes) EXPECT_EQ(FormatBytesRounded(c.value), c.text) << c.value;
  const struct { int32_t seconds; const char* text; } times[] = {
      {0, "-"}, {59, "59s"}, {60, "1m "}, {3661, "1h 1m 1s"}, {90000, "1d 1h "}, {INT32_MAX, "24855d 3h 14m 7s"}};
  for (const auto& c : times) EXPECT_EQ(FormatElapsed(c.seconds), c.text) << c.seconds;
}

TEST(CounterFormat, Boxes) {
  const int64_t GiB = INT64_C(1) << 30, Min = INT64_MIN;
  const std::string MinB = std::to_string(Min) + "B";
  const struct { int64_t up, down; int32_t elapsed; Texts texts; } cases[] = {
      {0, 0, 0, {"-", "-", "-", "-", "-", "-", "-"}},
      {0, 0, 10, {"-", "0B/s", "-", "0B/s", "-", "0B/s", "10s"}},
      {1000, 2048, 0, {"1000B", "-", "2.0KB", "-", "3.0KB", "-", "-"}},
      {GiB, 0, 3600, {"1.0GB", "291.3KB/s", "-", "0B/s", "1.0GB", "291.3KB/s", "1h "}},
      // corrupt halves: the sum wraps, and the one quotient that traps is negated instead
      {Min, 0, -1, {MinB, MinB + "/s", "-", "0B/s", MinB, MinB + "/s", "-"}},
      {INT64_MAX, 1, 1, {"8589934592.0GB", "8589934592.0GB/s", "1B", "1B/s", MinB, MinB + "/s", "1s"}}};
  for (const auto& c : cases)
    EXPECT_EQ(All(CounterTexts(c.up, c.down, c.elapsed)), c.texts) << c.up << " up, " << c.down << " down, " << c.elapsed;
}

}  // namespace
