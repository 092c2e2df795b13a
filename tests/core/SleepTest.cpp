#include "app/PowerEvents.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/FakeTick.h"

namespace {

class TDayClock : public TFixedClock {
public:
  uint32_t Day = 739956;
  uint32_t Today() override { return Day; }
  std::string FormatShortDate(uint32_t n) override { return "day " + std::to_string(n); }
};

// A night asleep across midnight: held ticks count nothing, the first one after the
// resume closes the day under the date it is written and counts the gap's octets, and
// the time between the notices is not counted.
TEST(Sleep, TheTimeAsleepIsNotCountedAndTheDayClosesAtTheFirstTickAfter) {
  TTickRig rig;
  TDayClock clock;
  TTickContext ctx{rig.Form, rig.History, rig.Table, rig.Store, clock, rig.Window, rig.Tray};
  const std::filesystem::path log = std::filesystem::temp_directory_path() / "tarvelo_sleep_test.txt";
  std::filesystem::remove(log);
  rig.Form.LogFilePath = log.string(), rig.Form.LoggingEnabled = true, rig.Form.LastDate = clock.Day;
  clock.NowMs = 5000;
  enum E { Tick, Suspend, Resume };
  const struct { E event; uint64_t afterMs; uint32_t down, day; int64_t counted; uint32_t elapsed; int32_t ticks; }
      steps[] = {
          {Tick, 0, 100, 739956, 100, 1, 1},           {Tick, 1000, 100, 739956, 200, 2, 2},
          {Suspend, 400, 30, 739956, 200, 2, 2},       {Tick, 1000, 0, 739956, 200, 2, 2},  // held
          {Tick, 28800000, 0, 739957, 200, 2, 2},      {Resume, 5000, 0, 739957, 200, 2, 2},
          {Tick, 600, 20, 739957, 50, 1, 3},  // 0.4 s before and 0.6 s after; the day closed first
          {Resume, 1000, 0, 739957, 50, 1, 3},         {Tick, 1000, 10, 739957, 60, 3, 4},  // nothing left out
      };
  for (size_t i = 0; i < std::size(steps); ++i) {
    const auto& s = steps[i];
    clock.NowMs += s.afterMs, clock.Day = s.day, rig.Table.Row("NIC").InOctets += s.down;
    if (s.event == Tick) RunTick(ctx);
    if (s.event == Suspend) SystemSuspending(rig.Form, rig.Store, clock.NowMs);
    if (s.event == Resume) SystemResumed(rig.Form, rig.Store, rig.Table, nullptr, clock.NowMs);
    EXPECT_EQ(std::tuple(rig.Form.DownloadCounter, rig.Form.ElapsedCounter, rig.Form.TickCount),
              std::tuple(s.counted, s.elapsed, s.ticks)) << "step " << i;
  }
  std::ifstream in(log, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "day 739957    UpLoad:        0B   DownLoad:      200B\r\n");
  std::filesystem::remove(log);
}

TEST(Sleep, TheSuspendStoresTheTotalsAndATimerThatKeepsFiringEndsTheHold) {
  TTickRig rig;
  SystemSuspending(rig.Form, rig.Store, 1000);
  EXPECT_EQ(rig.Log, (TEventLog{"store upload_l", "store upload_h", "store download_l", "store download_h",
                                "store counter_elapsed"}));
  rig.Log.clear();
  for (int i = 0; i < MaxHeldTicks; ++i) rig.Tick(10, 0);
  EXPECT_TRUE(rig.Log.empty());
  rig.Tick(10, 0);
  EXPECT_EQ(rig.Form.DownloadCounter, (MaxHeldTicks + 1) * 10);
}

}  // namespace
