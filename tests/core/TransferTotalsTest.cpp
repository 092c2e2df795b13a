#include "traffic/TransferTotals.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "core/MemorySettings.h"
#include "traffic/Clock.h"

namespace {

namespace fs = std::filesystem;

// Month/day/year, as an English locale's short date would give it.
class TFakeClock : public TClock {
public:
  uint32_t Day = DayNumber(2026, 12, 6);
  uint32_t Today() override { return Day; }
  std::string FormatShortDate(uint32_t dayNumber) override {
    const TCivilDate c = CivilDate(dayNumber);
    return std::to_string(c.month) + "/" + std::to_string(c.day) + "/" + std::to_string(c.year);
  }
};

class TempDir {
public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("tarvelo_totals_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  std::string File(const char* name) const { return (path_ / name).string(); }

private:
  fs::path path_;
};

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::vector<std::string> kTickWrites = {"upload_l", "upload_h", "download_l", "download_h",
                                              "counter_elapsed"};
const std::vector<std::string> kCloseWrites = {"lastdate",   "counter_elapsed", "upload_l",
                                               "upload_h",   "download_l",      "download_h"};

TEST(DayNumbers, KnownDates) {
  struct Case {
    int32_t y, m, d;
    uint32_t n;
  } const cases[] = {
      {1, 1, 1, 1},
      {1600, 2, 29, 584082},     // divisible by 400: leap
      {1900, 3, 1, 693655},      // divisible by 100 only: not leap
      {1970, 1, 1, 719163},
      {2000, 1, 1, 730120},
      {2000, 3, 1, 730180},
      {2024, 12, 31, 739251},
      {2026, 12, 6, 739956},
      {9999, 12, 31, 3652059},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DayNumber(c.y, c.m, c.d), c.n) << c.y << "-" << c.m << "-" << c.d;
    const TCivilDate back = CivilDate(c.n);
    EXPECT_EQ(back.year, c.y) << "day " << c.n;
    EXPECT_EQ(back.month, c.m) << "day " << c.n;
    EXPECT_EQ(back.day, c.d) << "day " << c.n;
  }
}

TEST(DayNumbers, CivilDateIsTheInverseEverywhere) {
  TCivilDate prev = CivilDate(1);
  for (uint32_t n = 2; n <= 800000; ++n) {
    const TCivilDate c = CivilDate(n);
    ASSERT_EQ(DayNumber(c.year, c.month, c.day), n) << "day " << n;
    // consecutive days: next day of the month, or the 1st after the month's last
    const bool next = (c.year == prev.year && c.month == prev.month && c.day == prev.day + 1) ||
                      (c.day == 1 && (c.month == prev.month + 1 || (c.month == 1 && prev.month == 12)));
    ASSERT_TRUE(next) << "day " << n;
    prev = c;
  }
}

TEST(CounterHalves, JoinAndSplit) {
  struct Case {
    int32_t high, low;
    int64_t value;
  } const cases[] = {
      {0, 0, 0},
      {0, 1, 1},
      {0, INT32_MIN, INT64_C(0x80000000)},  // low half 2^31 is stored negative
      {0, -1, INT64_C(0xFFFFFFFF)},
      {1, 0, INT64_C(0x100000000)},
      {1, -1, INT64_C(8589934591)},
      {-1, -1, -1},
      {INT32_MAX, -1, INT64_MAX},
      {INT32_MIN, 0, INT64_MIN},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(JoinHalves(c.high, c.low), c.value) << c.high << ":" << c.low;
    EXPECT_EQ(HighHalf(c.value), c.high) << c.value;
    EXPECT_EQ(LowHalf(c.value), c.low) << c.value;
  }
}

TEST(TransferLog, PaddingAndLine) {
  struct Case {
    int64_t octets;
    const char* padded;
  } const cases[] = {
      {0, "       0B"},
      {512, "     512B"},
      {1024, "    1.0KB"},
      {1048575, " 1023.9KB"},
      {1610612736, "    1.5GB"},
      {INT64_C(1) << 50, "1048576.0GB"},  // longer than 9: unpadded
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TransferLogLine("d", c.octets, 0),
              std::string("d    UpLoad: ") + c.padded + "   DownLoad:        0B")
        << c.octets;
  }
  EXPECT_EQ(TransferLogLine("12/6/2026", 1610612736, 314782515),
            "12/6/2026    UpLoad:     1.5GB   DownLoad:   300.1MB");
  EXPECT_EQ(PadLeft("", 3), "   ");
  EXPECT_EQ(PadLeft("abcd", 3), "abcd");
}

struct TotalsFixture : ::testing::Test {
  TMemorySettings store;
  TFakeClock clock;
  TStatsForm form;
  TempDir dir;
  void SetUp() override {
    form.LogFilePath = dir.File("transfer_log.txt");
    form.LoggingEnabled = true;
  }
};

TEST_F(TotalsFixture, EveryTickWritesFiveValuesInOrder) {
  form.LoggingEnabled = false;
  form.UploadCounter = INT64_C(0x1FFFFFFFF);  // the carry crosses into the high half
  AddTransfer(form, store, clock, 7, 1);
  EXPECT_EQ(store.Names('w'), kTickWrites);
  EXPECT_EQ(store.RawInteger("upload_l", 99), 0);
  EXPECT_EQ(store.RawInteger("upload_h", 99), 2);
  EXPECT_EQ(store.RawInteger("download_l", 99), 7);
  EXPECT_EQ(store.RawInteger("download_h", 99), 0);
  EXPECT_EQ(store.RawInteger("counter_elapsed", 99), 1);
  // no date check while logging is off
  EXPECT_EQ(form.LastDate, 0u);
  EXPECT_FALSE(store.Has("lastdate"));
}

TEST_F(TotalsFixture, FirstRunClosesAnEmptyDayWithoutALine) {
  AddTransfer(form, store, clock, 300, 20);
  std::vector<std::string> expected = kCloseWrites;
  expected.insert(expected.end(), kTickWrites.begin(), kTickWrites.end());
  EXPECT_EQ(store.Names('w'), expected);
  EXPECT_FALSE(fs::exists(form.LogFilePath)) << "no line, so no file";
  EXPECT_EQ(form.LastDate, clock.Day);
  EXPECT_EQ(store.RawInteger("lastdate", 0), static_cast<int32_t>(clock.Day));
  // the tick that found the new date counts for the new day
  EXPECT_EQ(form.DownloadCounter, 300);
  EXPECT_EQ(form.UploadCounter, 20);
  EXPECT_EQ(form.ElapsedCounter, 1u);

  store.Trace.clear();
  AddTransfer(form, store, clock, 1, 1);
  EXPECT_EQ(store.Names('w'), kTickWrites) << "same day: no close";
}

TEST_F(TotalsFixture, DateChangeEitherWayWritesOneLine) {
  struct Case {
    const char* what;
    int32_t shift;
    int64_t up, down;
    const char* line;
  } const cases[] = {
      {"forwards", +1, 1610612736, 314782515,
       "12/7/2026    UpLoad:     1.5GB   DownLoad:   300.1MB\r\n"},
      {"backwards", -1, 512, 0, "12/5/2026    UpLoad:      512B   DownLoad:        0B\r\n"},
      {"download only, years later", +800, 0, 1024,
       "2/13/2029    UpLoad:        0B   DownLoad:     1.0KB\r\n"},
  };
  for (const auto& c : cases) {
    fs::remove(form.LogFilePath);
    {
      std::ofstream(form.LogFilePath, std::ios::binary) << "old line\r\n";
    }
    form.LastDate = DayNumber(2026, 12, 6);
    clock.Day = form.LastDate + c.shift;
    form.UploadCounter = c.up;
    form.DownloadCounter = c.down;
    form.ElapsedCounter = 86400;
    AddTransfer(form, store, clock, 5, 6);
    EXPECT_EQ(ReadAll(form.LogFilePath), std::string("old line\r\n") + c.line) << c.what;
    EXPECT_EQ(form.LastDate, clock.Day) << c.what;
    EXPECT_EQ(form.UploadCounter, 6) << c.what;
    EXPECT_EQ(form.DownloadCounter, 5) << c.what;
    EXPECT_EQ(form.ElapsedCounter, 1u) << c.what;
  }
}

TEST_F(TotalsFixture, ZeroOrNegativeCountersStoreTheDateOnly) {
  struct Case {
    int64_t up, down;
  } const cases[] = {{0, 0}, {-5, 0}, {0, INT64_MIN}};
  for (const auto& c : cases) {
    form.LastDate = 100;
    form.UploadCounter = c.up;
    form.DownloadCounter = c.down;
    form.ElapsedCounter = 4000;
    CloseDay(form, store, clock);
    EXPECT_FALSE(fs::exists(form.LogFilePath)) << c.up << "/" << c.down;
    EXPECT_EQ(store.RawInteger("lastdate", 0), static_cast<int32_t>(clock.Day));
    EXPECT_EQ(store.RawInteger("counter_elapsed", 1), 0);
    EXPECT_EQ(form.ElapsedCounter, 0u);
  }
}

TEST_F(TotalsFixture, ADayCloseWritesSixValuesInOrder) {
  form.UploadCounter = 1;
  CloseDay(form, store, clock);
  EXPECT_EQ(store.Names('w'), kCloseWrites);
  for (const char* n : {"counter_elapsed", "upload_l", "upload_h", "download_l", "download_h"})
    EXPECT_EQ(store.RawInteger(n, 99), 0) << n;
}

TEST_F(TotalsFixture, AnUnwritableLogLosesOnlyTheLine) {
  const std::string cases[] = {
      dir.File("a_directory"),
      dir.File("missing_dir/transfer_log.txt"),
      "",
  };
  fs::create_directory(dir.File("a_directory"));
  for (const auto& path : cases) {
    form.LogFilePath = path;
    form.LastDate = 1;
    form.UploadCounter = 1000;
    form.DownloadCounter = 2000;
    AddTransfer(form, store, clock, 0, 0);
    EXPECT_EQ(form.LastDate, clock.Day) << path;
    EXPECT_EQ(form.UploadCounter, 0) << path;
    EXPECT_EQ(form.DownloadCounter, 0) << path;
    EXPECT_EQ(store.RawInteger("lastdate", 0), static_cast<int32_t>(clock.Day)) << path;
  }
  EXPECT_TRUE(fs::is_directory(dir.File("a_directory")));
  EXPECT_FALSE(fs::exists(dir.File("missing_dir")));
}

TEST_F(TotalsFixture, CountersSaturateInsteadOfWrapping) {
  form.LoggingEnabled = false;
  form.UploadCounter = INT64_MAX - 1;
  form.DownloadCounter = INT64_MIN + 1;
  form.ElapsedCounter = INT32_MAX;
  AddTransfer(form, store, clock, -10, 10);
  EXPECT_EQ(form.UploadCounter, INT64_MAX);
  EXPECT_EQ(form.DownloadCounter, INT64_MIN);
  EXPECT_EQ(form.ElapsedCounter, static_cast<uint32_t>(INT32_MAX));
  EXPECT_EQ(store.RawInteger("counter_elapsed", 0), INT32_MAX);
  // a stored count past the format (read from a damaged store) is pulled back too
  form.ElapsedCounter = 0xFFFFFFFFu;
  AddTransfer(form, store, clock, 0, 0);
  EXPECT_EQ(store.RawInteger("counter_elapsed", 0), INT32_MAX);
}

TEST_F(TotalsFixture, AFailedStoreStillCounts) {
  store.Failed = true;
  AddTransfer(form, store, clock, 10, 20);
  AddTransfer(form, store, clock, 10, 20);
  EXPECT_EQ(form.UploadCounter, 40);
  EXPECT_EQ(form.DownloadCounter, 20);
  EXPECT_EQ(form.ElapsedCounter, 2u);
  EXPECT_TRUE(store.Values.empty());
}

}  // namespace
