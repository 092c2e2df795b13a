// The SQLite store on a temporary file, and the recorder that feeds it from the tick.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "app/UsageRecorder.h"
#include "base/DayNumber.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"
#include "traffic/TransferTotals.h"
#include "usage/SqliteUsageStore.h"

namespace {

namespace fs = std::filesystem;
const uint32_t Day = DayNumber(2026, 12, 7);

struct TScratch {
  fs::path Dir = fs::temp_directory_path() / ("tarvelo_usage_" + std::to_string(::getpid()));
  std::string Db = (Dir / "usage.db").string();
  TScratch() { fs::remove_all(Dir), fs::create_directories(Dir); }
  ~TScratch() { fs::remove_all(Dir); }
};

using Rows = std::vector<std::tuple<std::string, std::string, uint64_t, uint64_t>>;
Rows Read(TUsageStore& store, uint32_t first = 1, uint32_t end = Day + 400) {
  std::vector<TUsageRow> rows;
  Rows out;
  if (!store.Read(first, end, rows)) return {{"unreadable", "", 0, 0}};
  for (const TUsageRow& r : rows) out.emplace_back(HourText(r.Hour), r.Adapter, r.Down, r.Up);
  return out;
}

TEST(SqliteUsageStore, RoundTripFlushAndReaders) {
  TScratch s;
  {
    TSqliteUsageStore store(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day);
    ASSERT_TRUE(store.Usable()) << store.Problem();
    EXPECT_TRUE(store.Add("eth0", {Day, 23}, 5, 6) && store.Add("eth0", {Day, 23}, 1, 1) && store.Add("Wi-Fi", {Day, 23}, 7, 0));
    EXPECT_TRUE(store.Add("eth0", {Day + 1, 0}, uint64_t{1} << 40, 0) && store.Flush());
    // a reader beside the writer: the export while the program runs
    TSqliteUsageStore reader(s.Db, TSqliteUsageStore::TMode::ReadOnly);
    EXPECT_EQ(Read(reader), (Rows{{"2026-12-07T23", "Wi-Fi", 7, 0}, {"2026-12-07T23", "eth0", 6, 7},
                                  {"2026-12-08T00", "eth0", uint64_t{1} << 40, 0}}));
    EXPECT_EQ(Read(reader, Day + 1, Day + 2).size(), 1u);
    store.Add("eth0", {Day, 1}, 9, 9);  // never flushed: lost with the store, not half kept
  }
  TSqliteUsageStore again(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day);
  EXPECT_EQ(Read(again).size(), 3u);
  std::string schema;  // what any SQLite tool sees
  sqlite3* db = nullptr;
  sqlite3_open(s.Db.c_str(), &db);
  sqlite3_exec(db, "SELECT user_version || journal_mode FROM pragma_user_version, pragma_journal_mode",
               [](void* out, int, char** v, char**) { return *static_cast<std::string*>(out) = v[0], 0; }, &schema, nullptr);
  sqlite3_close(db);
  EXPECT_EQ(schema, "1wal");
  TSqliteUsageStore none((s.Dir / "missing.db").string(), TSqliteUsageStore::TMode::ReadOnly);
  EXPECT_TRUE(none.Usable() && Read(none).empty() && !fs::exists(s.Dir / "missing.db"));
}

TEST(SqliteUsageStore, DamagedFileSetAsideOnceAndAFreshOneStarted) {
  TScratch s;
  std::ofstream(s.Db) << std::string(5000, 'x');
  TSqliteUsageStore reader(s.Db, TSqliteUsageStore::TMode::ReadOnly);
  EXPECT_FALSE(reader.Usable() || reader.Problem().empty());  // the export says why, and moves nothing
  fs::copy_file(s.Db, s.Dir / "usage-damaged-2026-12-07.db");  // a name taken already
  TSqliteUsageStore store(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day);
  const std::string aside = (s.Dir / "usage-damaged-2026-12-07-2.db").string();
  const std::string first = store.TakeSetAside();
  EXPECT_EQ(std::tuple(store.Usable(), first, store.TakeSetAside(), fs::file_size(aside)), std::tuple(true, aside, "", 5000u));
  EXPECT_TRUE(store.Add("eth0", {Day, 3}, 1, 2) && store.Flush());
  EXPECT_EQ(Read(store), (Rows{{"2026-12-07T03", "eth0", 1, 2}}));
}

TEST(SqliteUsageStore, ReadOnlyOrLockedFileLosesNothingAndIsNotSetAside) {
  TScratch s;
  { TSqliteUsageStore(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day).Add("eth0", {Day, 1}, 1, 1); }
  fs::permissions(s.Db, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  // as a user who may not write it (root may write anything)
  const pid_t child = fork();
  if (child == 0) {
    if (getuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    TSqliteUsageStore store(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day);
    const bool refused = !store.Add("eth0", {Day, 1}, 1, 1) & !store.Flush();
    _exit(refused && store.TakeSetAside().empty() && fs::exists(s.Db) ? 0 : 1);
  }
  int status = -1;
  waitpid(child, &status, 0);
  EXPECT_EQ(status, 0);
  fs::permissions(s.Db, fs::perms::owner_write, fs::perm_options::add);

  TSqliteUsageStore store(s.Db, TSqliteUsageStore::TMode::ReadWrite, Day);
  sqlite3* other = nullptr;
  sqlite3_open(s.Db.c_str(), &other);
  sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
  EXPECT_FALSE(store.Add("eth0", {Day, 2}, 3, 3));
  EXPECT_FALSE(store.Flush());
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  EXPECT_TRUE(store.Add("eth0", {Day, 2}, 3, 3) && store.Flush());
  EXPECT_EQ(Read(store), (Rows{{"2026-12-07T02", "eth0", 3, 3}}));
}

// The real store, counted; it can be made to refuse.
class THost : public TUsageHost {
public:
  explicit THost(std::string db) : db_(std::move(db)) {}
  int Flushes = 0;
  bool Refuse = false;
  std::vector<std::string> Balloons;
  std::unique_ptr<TUsageStore> OpenUsageStore() override {
    class TCounted : public TUsageStore {
    public:
      explicit TCounted(THost& host) : real_(host.db_, TSqliteUsageStore::TMode::ReadWrite, Day), host_(host) {}
      bool Add(const std::string& a, TLocalHour h, uint64_t d, uint64_t u) override {
        return !host_.Refuse && real_.Add(a, h, d, u);
      }
      bool Flush() override { return ++host_.Flushes, !host_.Refuse && real_.Flush(); }
      bool Read(uint32_t first, uint32_t end, std::vector<TUsageRow>& rows) override { return real_.Read(first, end, rows); }
      TSqliteUsageStore real_;
      THost& host_;
    };
    return std::make_unique<TCounted>(*this);
  }
  void UsageBalloon(const std::string& title, const std::string&) override { Balloons.push_back(title); }
  std::string db_;
};

TEST(UsageRecorder, WritesAMinuteAnHourAndOnRequestAndDaysOf23And25Hours) {
  TScratch s;
  TMemorySettings settings;
  THost host(s.Db);
  TUsageRecorder rec(settings, host);
  // per step: ticks of 1 s in that local hour, octets a tick; the writes so far
  const struct { int32_t hour; int ticks; uint64_t down; bool refuse; int flushes; } steps[] = {
      {0, 1, 10, false, 1},   // the first tick opens the store and writes
      {0, 59, 10, false, 1},  // not a statement a second
      {0, 1, 10, false, 2},   // a minute
      {1, 3, 10, false, 3},   // a new hour
      {3, 2, 10, true, 4},    // spring: 2 never comes; a refused write keeps everything
      {3, 60, 1, false, 5},
      {2, 1, 5, false, 6},    // autumn: 2 comes back...
      {2, 30, 5, false, 6},   // ...twice, into the same row
  };
  for (const auto& st : steps) {
    host.Refuse = st.refuse;
    for (int i = 0; i < st.ticks; ++i) rec.Count({Day, st.hour}, "eth0", st.down, 1, 1);
    EXPECT_EQ(host.Flushes, st.flushes) << st.hour;
  }
  rec.FlushNow();
  EXPECT_EQ(Read(*rec.Store()), (Rows{{"2026-12-07T00", "eth0", 610, 61}, {"2026-12-07T01", "eth0", 30, 3},
                                      {"2026-12-07T02", "eth0", 155, 31}, {"2026-12-07T03", "eth0", 80, 62}}));
  EXPECT_EQ(host.Flushes, 7);
}

TEST(UsageRecorder, PlanBalloonsOncePerPeriodAcrossRestarts) {
  TScratch s;
  TMemorySettings settings;
  settings.SetInteger("PlanLimitGB", 1), settings.SetInteger("PlanAlertPercent", 50);
  THost host(s.Db);
  const uint64_t M = 100000000;  // a tenth of the limit
  {
    TUsageRecorder rec(settings, host);
    for (int i = 0; i < 6; ++i) rec.Count({Day, 1}, "eth0", M, 0, 1);  // 60 %: one balloon
    rec.FlushNow();
  }
  TUsageRecorder again(settings, host);  // the store holds 60 %, the registry the balloon
  again.Count({Day, 2}, "eth0", 0, 0, 1);
  EXPECT_EQ(host.Balloons.size(), 1u);
  for (int i = 0; i < 4; ++i) again.Count({Day, 2}, "eth0", M / 2, M / 2, 1);  // upload counts too: 100 %
  again.Count({Day + 30, 2}, "eth0", 6 * M, 0, 1);  // the next period, straight past its half
  EXPECT_EQ(host.Balloons, (std::vector<std::string>(3, "Tarvelo: data plan")));
  EXPECT_EQ(std::tuple(settings.RawInteger("PlanAlertShown", 0), settings.RawInteger("PlanLimitShown", 0)),
            std::tuple(int32_t(DayNumber(2027, 1, 1)), int32_t(Day - 6)));
}

// A clock whose date and hour the test sets; Today() may say the next day already, as a
// second read just after midnight would.
class THourClock : public TFixedClock {
public:
  TLocalHour Now;
  uint32_t TodayReads = 0;
  TLocalHour LocalHour() override { return Now; }
  uint32_t Today() override { return TodayReads; }
  std::string FormatShortDate(uint32_t day) override { return DayText(day); }
};

TEST(UsageRecorder, TheDaysRowsHoldWhatTheDaysLogLineHolds) {
  TScratch s;
  TMemorySettings settings;
  THost host(s.Db);
  TUsageRecorder rec(settings, host);
  TTickRig rig;
  THourClock clock;
  TTickContext ctx{rig.Form, rig.History, rig.Table, rig.Store, clock, rig.Window, rig.Tray, &rec};
  rig.Form.LoggingEnabled = true, rig.Form.LastDate = Day;
  rig.Form.LogFilePath = (s.Dir / "log.txt").string();
  const struct { TLocalHour at; uint32_t todayRead; uint32_t down, up; } ticks[] = {
      {{Day, 22}, Day, 1000, 10}, {{Day, 23}, Day, 2000, 20},
      {{Day, 23}, Day + 1, 4000, 40},   // the hour read before midnight, the date after it
      {{Day + 1, 0}, Day + 1, 8000, 80},  // the day closes with the tick that meets it
  };
  for (const auto& t : ticks) {
    clock.Now = t.at, clock.TodayReads = t.todayRead;
    rig.Table.Row("NIC").InOctets += t.down, rig.Table.Row("NIC").OutOctets += t.up;
    RunTick(ctx);
  }
  rec.FlushNow();
  std::vector<TUsageRow> rows;
  ASSERT_TRUE(rec.Store()->Read(Day, Day + 1, rows));
  uint64_t down = 0, up = 0;
  for (const TUsageRow& r : rows) down += r.Down, up += r.Up;
  std::ifstream log(rig.Form.LogFilePath);
  std::string line;
  std::getline(log, line);
  EXPECT_EQ(std::tuple(down, up, line), std::tuple(7000u, 70u, TransferLogLine("2026-12-08", 70, 7000) + "\r"));
  EXPECT_EQ(std::tuple(rig.Form.DownloadCounter, rig.Form.UploadCounter), std::tuple(8000, 80));
}

}  // namespace
