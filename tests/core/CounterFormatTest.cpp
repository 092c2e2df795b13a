#include "dialogs/CounterFormat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "settings/Settings.h"

namespace {

TEST(CounterFormat, FormatBytesRounded) {
  const struct { int64_t value; const char* text; } cases[] = {
      {0, "0B"}, {1000, "1000B"}, {1023, "1023B"}, {-5000, "-5000B"}, {1024, "1.0KB"}, {1536, "1.5KB"},
      {1024 + 255, "1.2KB"}, {1024 + 256, "1.3KB"},  // 2.5 tenths round up
      {1996, "1.9KB"}, {1997, "2.0KB"},              // remainder 972 and the first that carries
      {298261, "291.3KB"}, {1023 * 1024 + 972, "1023.9KB"},
      {1023 * 1024 + 1014, "1.0MB"}, {1048575, "1.0MB"},  // carried into the next unit
      {1048576, "1.0MB"}, {1073740800, "1.0GB"}, {1073741824, "1.0GB"},
      {INT64_C(1099511627775), "1024.0GB"},  // no unit above GB to carry into
      {INT64_C(1) << 41, "2048.0GB"}, {(INT64_C(1) << 41) + 1610612736, "2049.5GB"},
      {INT64_MAX, "8589934592.0GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatBytesRounded(c.value), c.text) << "value " << c.value;
}

TEST(CounterFormat, FormatElapsed) {
  const struct { int32_t seconds; const char* text; } cases[] = {
      {INT32_MIN, "-"}, {0, "-"}, {1, "1s"}, {59, "59s"}, {60, "1m "}, {61, "1m 1s"}, {3600, "1h "},
      {3661, "1h 1m 1s"}, {86399, "23h 59m 59s"}, {86400, "1d "}, {90000, "1d 1h "}, {90061, "1d 1h 1m 1s"},
      {INT32_MAX, "24855d 3h 14m 7s"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatElapsed(c.seconds), c.text) << "seconds " << c.seconds;
}

TEST(CounterFormat, Boxes) {
  const int64_t GiB = INT64_C(1) << 30;
  const struct { int64_t up, down; int32_t elapsed; TCounterTexts texts; } cases[] = {
      {0, 0, 0, {"-", "-", "-", "-", "-", "-", "-"}},
      {0, 0, 10, {"-", "0B/s", "-", "0B/s", "-", "0B/s", "10s"}},
      {1000, 2048, 0, {"1000B", "-", "2.0KB", "-", "3.0KB", "-", "-"}},
      {GiB, 0, 3600, {"1.0GB", "291.3KB/s", "-", "0B/s", "1.0GB", "291.3KB/s", "1h "}},
      {GiB, 3 * GiB, -2, {"1.0GB", "-536870912B/s", "3.0GB", "-1610612736B/s", "4.0GB", "-2147483648B/s", "-"}},
      // corrupt halves: the sum wraps and the one quotient that traps is negated instead
      {INT64_MIN, 0, -1, {"-9223372036854775808B", "-9223372036854775808B/s", "-", "0B/s",
                          "-9223372036854775808B", "-9223372036854775808B/s", "-"}},
      {INT64_MAX, 1, 1, {"8589934592.0GB", "8589934592.0GB/s", "1B", "1B/s",
                         "-9223372036854775808B", "-9223372036854775808B/s", "1s"}},
  };
  for (const auto& c : cases) {
    const TCounterTexts t = CounterTexts(c.up, c.down, c.elapsed);
    const auto& e = c.texts;
    EXPECT_EQ(std::vector({t.Upload, t.UploadSpeed, t.Download, t.DownloadSpeed, t.Total, t.TotalSpeed, t.Elapsed}),
              std::vector({e.Upload, e.UploadSpeed, e.Download, e.DownloadSpeed, e.Total, e.TotalSpeed, e.Elapsed}))
        << c.up << " up, " << c.down << " down in " << c.elapsed << " s";
  }
}

// Integers only, every access recorded.
class TRecordingStore : public TSettings {
public:
  std::map<std::string, int32_t> Values;
  std::vector<std::string> Reads, Writes;
  void Open() override {}
  int32_t ReadInteger(const std::string& name, int32_t def) override {
    Reads.push_back(name);
    auto it = Values.find(name);
    return it == Values.end() ? def : it->second;
  }
  bool ReadBool(const std::string&, bool def) override { return def; }
  std::string ReadString(const std::string&, const std::string& def) override { return def; }
  void WriteInteger(const std::string& name, int32_t value) override {
    Writes.push_back(name);
    Values[name] = value;
  }
  void WriteBool(const std::string&, bool) override {}
  void WriteString(const std::string&, const std::string&) override {}
};

TEST(CounterFormat, StoredTotalsReadAndReset) {
  TRecordingStore store;
  store.Values = {{"counter_elapsed", 2}, {"upload_h", 1}, {"upload_l", -1}, {"download_l", 2048}};
  const TCounterTexts t = ReadCounterTexts(store);
  EXPECT_EQ(store.Reads, std::vector<std::string>({"counter_elapsed", "upload_h", "upload_l", "download_h", "download_l"}));
  // 2^33 - 1 octets: the low half is taken unsigned
  EXPECT_EQ(std::vector({t.Upload, t.UploadSpeed, t.Download, t.Total, t.Elapsed}),
            std::vector<std::string>({"8.0GB", "4.0GB/s", "2.0KB", "8.0GB", "2s"}));

  ResetStoredTotals(store);
  EXPECT_EQ(store.Writes, std::vector<std::string>({"counter_elapsed", "upload_l", "upload_h", "download_l", "download_h"}));
  for (const auto& [name, value] : store.Values) EXPECT_EQ(value, 0) << name;
}

}  // namespace
