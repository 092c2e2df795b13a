#include "traffic/TransferTotals.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <tuple>

#include "base/DayNumber.h"
#include "support/MemorySettings.h"
#include "traffic/Clock.h"
#include "traffic/LogPath.h"

namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;
using Ints = std::vector<int32_t>;

// Month/day/year, as an English locale's short date would give it.
class TFakeClock : public TClock {
public:
  uint32_t Day = DayNumber(2026, 12, 6);
  uint32_t Today() override { return Day; }
  std::string FormatShortDate(uint32_t n) override {
    const TCivilDate c = CivilDate(n);
    return std::to_string(c.month) + "/" + std::to_string(c.day) + "/" + std::to_string(c.year);
  }
};

const Names TickWrites = {"upload_l", "upload_h", "download_l", "download_h", "counter_elapsed"};
const Names CloseThenTick = {"lastdate", "counter_elapsed", "upload_l", "upload_h", "download_l", "download_h",
                             "upload_l", "upload_h", "download_l", "download_h", "counter_elapsed"};

TEST(CounterHalves, JoinAndSplit) {
  const struct { int32_t high, low; int64_t value; } cases[] = {
      {0, INT32_MIN, INT64_C(0x80000000)} /* low half 2^31 is stored negative */, {0, -1, INT64_C(0xFFFFFFFF)},
      {1, -1, INT64_C(8589934591)}, {-1, -1, -1}, {INT32_MIN, 0, INT64_MIN},
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::tuple(JoinHalves(c.high, c.low), HighHalf(c.value), LowHalf(c.value)),
              std::tuple(c.value, c.high, c.low)) << c.high << ":" << c.low;
}

TEST(TransferLog, PaddingAndLine) {
  const struct { int64_t octets; const char* padded; } cases[] = {
      {0, "       0B"}, {1048575, " 1023.9KB"}, {INT64_C(1) << 50, "1048576.0GB"} /* longer than 9: unpadded */,
  };
  for (const auto& c : cases)
    EXPECT_EQ(TransferLogLine("d", c.octets, 0), std::string("d    UpLoad: ") + c.padded + "   DownLoad:        0B")
        << c.octets;
  EXPECT_EQ(std::tuple(PadLeft("", 3), PadLeft("abcd", 3)), std::tuple("   ", "abcd"));
}

struct Totals : ::testing::Test {
  TMemorySettings store;
  TFakeClock clock;
  TTransferTotals form;
  fs::path dir = fs::temp_directory_path() /
                 (std::string("tarvelo_totals_") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override {
    fs::remove_all(dir), fs::create_directories(dir);
    form.LogFilePath = (dir / "transfer_log.txt").string(), form.LoggingEnabled = true;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::tuple<uint32_t, int64_t, int64_t, uint32_t> Counters() const {
    return {form.LastDate, form.UploadCounter, form.DownloadCounter, form.ElapsedCounter};
  }
};

TEST_F(Totals, EveryTickWritesFiveValuesInOrder) {
  form.LoggingEnabled = false;
  form.UploadCounter = INT64_C(0x1FFFFFFFF);  // the carry crosses into the high half
  AddTransfer(form, store, clock, UINT64_C(0x200000007), 1, 3);  // 8 GiB in one tick, in full
  Ints stored;
  for (const auto& n : TickWrites) stored.push_back(store.RawInteger(n, 99));
  EXPECT_EQ(std::tuple(store.Names('w'), stored), std::tuple(TickWrites, Ints{0, 2, 7, 2, 3}));
  EXPECT_TRUE(form.LastDate == 0 && !store.Values.count("lastdate")) << "no date check while logging is off";
}

TEST_F(Totals, FirstRunClosesAnEmptyDayWithoutALine) {
  AddTransfer(form, store, clock, 300, 20);
  EXPECT_EQ(std::tuple(store.Names('w'), fs::exists(form.LogFilePath), store.RawInteger("lastdate", 0)),
            std::tuple(CloseThenTick, false, int32_t(clock.Day)));
  EXPECT_EQ(Counters(), std::tuple(clock.Day, 20, 300, 1u)) << "the tick that found the new date counts for it";
  store.Trace.clear();
  AddTransfer(form, store, clock, 1, 1);
  EXPECT_EQ(store.Names('w'), TickWrites) << "same day: no close";
}

TEST_F(Totals, DateChangeEitherWayWritesOneLine) {
  // line "": none, and so no file; the day is closed all the same
  const struct { const char* what; int32_t shift; int64_t up, down; const char* line; } cases[] = {
      {"forwards", +1, 1610612736, 314782515, "12/7/2026    UpLoad:     1.5GB   DownLoad:   300.1MB\r\n"},
      {"backwards", -1, 512, 0, "12/5/2026    UpLoad:      512B   DownLoad:        0B\r\n"},
      {"download only, years later", +800, 0, 1024, "2/13/2029    UpLoad:        0B   DownLoad:     1.0KB\r\n"},
      {"nothing counted", +1, 0, 0, ""}, {"negative upload", +1, -5, 0, ""},
      {"negative download", -1, 0, INT64_MIN, ""},
  };
  for (const auto& c : cases) {
    fs::remove(form.LogFilePath);
    if (*c.line) std::ofstream(form.LogFilePath, std::ios::binary) << "old line\r\n";
    form.LastDate = DayNumber(2026, 12, 6);
    clock.Day = form.LastDate + c.shift;
    form.UploadCounter = c.up, form.DownloadCounter = c.down, form.ElapsedCounter = 86400;
    store.Trace.clear();
    AddTransfer(form, store, clock, 5, 6);
    std::ifstream log(form.LogFilePath, std::ios::binary);
    EXPECT_EQ(std::tuple(fs::exists(form.LogFilePath), std::string(std::istreambuf_iterator<char>(log), {}), Counters(),
                         store.RawInteger("lastdate", 0), store.Names('w')),
              std::tuple(*c.line != 0, *c.line ? std::string("old line\r\n") + c.line : "", std::tuple(clock.Day, 6, 5, 1u),
                         int32_t(clock.Day), CloseThenTick)) << c.what;
  }
}

TEST_F(Totals, CountersSaturate) {
  form.LoggingEnabled = false;
  form.UploadCounter = INT64_MAX - 1, form.DownloadCounter = 5;
  AddTransfer(form, store, clock, UINT64_MAX, 10);
  EXPECT_EQ(std::tuple(form.UploadCounter, form.DownloadCounter), std::tuple(INT64_MAX, INT64_MAX));
  // elapsed before and the tick's seconds; past the format only from a damaged store
  for (const auto& [before, seconds] : {std::pair{uint32_t{INT32_MAX} - 9, 9u}, {0xFFFFFFFFu, 1u},
                                        {uint32_t{INT32_MAX} - 10, 0xFFFFFFFFu}}) {
    form.ElapsedCounter = before;
    AddTransfer(form, store, clock, 0, 0, seconds);
    EXPECT_EQ(std::tuple(form.ElapsedCounter, store.RawInteger("counter_elapsed", 0)),
              std::tuple(uint32_t{INT32_MAX}, INT32_MAX)) << before;
  }
}

// The log goes to plain files only: device names, directories, pipes and names the
// system cannot take lose the day's line, never the counters' reset.
TEST(LogPath, OnlyNamesOfPlainFilesAreUsable) {
  const struct { std::string path; bool usable; } cases[] = {
      {"transfer_log.txt", true}, {"\\\\server\\share\\log.txt", true}, {"console.txt", true}, {"c:day.txt", true},
      {std::string(MaxLogPathLength, 'a'), true}, {"", false}, {std::string(MaxLogPathLength + 1, 'a'), false},
      {"C:\\x\\aux.log", false}, {"C:\\logs\\", false}, {"\\\\.\\pipe\\x", false}, {"day.txt:hidden", false},
      {"1:\\x", false}, {"a?b", false}, {"a\tb", false}, {"C:\\My logs\\day.txt", true}, {"C:\\logs\\day.txt:x", false},
  };
  for (const auto& c : cases) EXPECT_EQ(UsableLogPath(c.path), c.usable) << "\"" << c.path.substr(0, 40) << "\"";
}

TEST_F(Totals, TheDayCloseWritesOnlyToAPlainFileAndAlwaysStartsAgain) {
  fs::create_directories(dir / "a_directory");
  const std::string fifo = (dir / "a_pipe").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // a reader already there, so a wrongful open does not wait and a write shows
  const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  for (const std::string name : {"", "a_directory", "a_pipe", "NUL", "missing/day.txt", "good.txt"}) {
    store = {};
    form = {5000, 7000, 42, clock.Day - 1, name.empty() ? name : (dir / name).string(), true};
    CloseDay(form, store, clock);
    EXPECT_EQ(std::tuple(Counters(), store.RawInteger("lastdate", -1)),
              std::tuple(std::tuple(clock.Day, 0, 0, 0u), int32_t(clock.Day))) << name;
  }
  char byte;
  EXPECT_EQ(read(reader, &byte, 1), 0) << "a line went into the pipe";
  close(reader);
  std::vector<std::string> left;
  for (const auto& e : fs::recursive_directory_iterator(dir)) left.push_back(e.path().lexically_relative(dir).string());
  std::sort(left.begin(), left.end());
  std::ifstream good(dir / "good.txt", std::ios::binary);
  EXPECT_EQ(std::tuple(left, std::string(std::istreambuf_iterator<char>(good), {})),
            std::tuple(Names{"a_directory", "a_pipe", "good.txt"}, "12/6/2026    UpLoad:     4.8KB   DownLoad:     6.8KB\r\n"));
}

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

TEST(TickSeconds, WholeSecondsThatPassedWithTheRestCarried) {
  // milliseconds since the tick before, and the seconds counted for the tick
  const struct { const char* what; int64_t passed; uint32_t seconds; } ticks[] = {
      {"first tick", 0, 1}, {"on time", 1000, 1}, {"early", 998, 1}, {"late", 1003, 1},
      {"a stall of five periods folded into one", 6000, 6}, {"right after it", 12, 0}, {"a tick and a half", 1490, 2},
      {"behind by half a second", 1000, 1}, {"no time at all", 0, 0}, {"the clock went back", -5000, 1}, {"then", 1000, 1},
      {"half a second rounds up", 500, 1}, {"so what is left is just under half of one", 999, 0},
  };
  TTickTiming timing;
  uint64_t now = 86400000;
  for (const auto& t : ticks) {
    now += t.passed;
    EXPECT_EQ(TickSeconds(timing, now), t.seconds) << t.what;
  }
  EXPECT_EQ(std::tuple(TickSeconds(timing, 0), TickSeconds(timing, 0)), std::tuple(1u, 1u)) << "a clock that tells nothing";

  // a long run with a timer that runs fast or slow still counts the seconds that passed
  for (const int64_t period : {999, 1001, 1250}) {
    TTickTiming run;
    uint64_t sum = TickSeconds(run, 5000), at = 5000;
    for (int i = 0; i < 100000; ++i) sum += TickSeconds(run, at += period);
    EXPECT_EQ(sum, 1 + uint64_t(period) * 100) << period;
  }
}

}  // namespace
