// The counters dialog's texts and the about box's licence and mail target.
#include "dialogs/CounterFormat.h"
#include "dialogs/LicenceText.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/Maker.h"
#include "support/MemorySettings.h"

namespace {

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
      {INT64_C(1) << 41, "2048.0GB"}, {(INT64_C(1) << 41) + 1610612736, "2049.5GB"}, {INT64_MAX, "8589934592.0GB"}};
  for (const auto& c : bytes) EXPECT_EQ(FormatBytesRounded(c.value), c.text) << c.value;
  const struct { int32_t seconds; const char* text; } times[] = {
      {INT32_MIN, "-"}, {0, "-"}, {59, "59s"}, {60, "1m "}, {3661, "1h 1m 1s"}, {86399, "23h 59m 59s"},
      {90000, "1d 1h "}, {INT32_MAX, "24855d 3h 14m 7s"}};
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

TEST(CounterFormat, StoredTotalsReadAndReset) {
  TMemorySettings store;
  for (const auto& [name, value] : {std::pair{"counter_elapsed", 2}, {"upload_h", 1}, {"upload_l", -1}, {"download_l", 2048}})
    store.SetInteger(name, value);
  // 2^33 - 1 octets sent: the low half is taken unsigned
  EXPECT_EQ(All(ReadCounterTexts(store)), Texts({"8.0GB", "4.0GB/s", "2.0KB", "1.0KB/s", "8.0GB", "4.0GB/s", "2s"}));
  ResetStoredTotals(store);
  EXPECT_EQ(store.Names('w'), Texts({"counter_elapsed", "upload_l", "upload_h", "download_l", "download_h"}));
  for (const std::string& name : store.Names('w')) EXPECT_EQ(store.RawInteger(name, 9), 0) << name;
}

TEST(LicenceText, EveryPlaceholderTakesTheTitle) {
  const std::string placeholder = "<%APPTITLE%>";
  auto count = [](const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++n;
    return n;
  };
  // a title holding the placeholder itself is put in once for each
  for (const std::string title : {"Tarvelo ", "Qx", "<%APPTITLE%>"}) {
    EXPECT_EQ(count(LicenceText(title), title), 4u) << title;
    EXPECT_EQ(count(LicenceText(title), placeholder), title == placeholder ? 4u : 0u) << title;
  }
  EXPECT_EQ(LicenceText("Tarvelo ").rfind("Tarvelo is freeware.", 0), 0u);
  EXPECT_EQ(AboutMailTarget("Tarvelo ", "1.2.3.4"),
            std::string("mailto:") + MakerEmail + "?subject=\"About Tarvelo  v. 1.2.3.4\"");
}

}  // namespace
