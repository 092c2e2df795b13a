#include "app/Tick.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "support/FakeTick.h"

namespace {

TEST(Smoothing, SteadyLevelBurstDecayAndHalves) {
  // oldest first, the last one this tick's; ages past a narrow history read as 0
  const struct { std::vector<int32_t> samples; int32_t width; uint32_t rate; } cases[] = {
      {{1000, 1000, 1000, 1000, 1000, 1000, 1000}, 300, 1000}, {{0, 7000}, 300, 5407}, {{7000, 0}, 300, 500},
      {{7000, 0, 0, 0, 0, 0, 0}, 300, 143}, {{7000, 0, 0, 0, 0, 0, 0, 0}, 300, 0},
      {{7000, 0, 0}, 3, 333}, {{7000, 0, 0, 0}, 3, 0}, {{7000}, 0, 5407},
      {{7, 0}, 10, 0}, {{21, 0}, 10, 2}, {{35, 0}, 10, 2},  // 0.5, 1.5, 2.5
      {{0x7FFFFFFF, 0x7FFFFFFF}, 10, 1812213241}, {{0, 0x7FFFFFFF}, 10, 1658821552},
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(c.width);
    for (int32_t v : c.samples) h.HistoryPush(0, v);
    EXPECT_EQ(SmoothedRate(h, HistoryUp, c.samples.back()), c.rate) << c.samples.size() << " samples in " << c.width;
  }
}

TEST(Tick, AutoHideOnSixteenthIdleTickAndShowOnTrafficUnlessUserHidden) {
  // per step: ticks of traffic given, then idle ticks, hides and shows so far
  const struct { const char* what; bool autoHide, visible, userHidden; int ticks; uint32_t down, up;
                 int idle, hides, shows; } steps[] = {
      {"15 idle ticks leave it visible", true, true, false, 15, 0, 0, 15, 0, 0},
      {"the 16th hides it", true, true, false, 1, 0, 0, 16, 1, 0},
      {"repeated while idle", true, false, false, 1, 0, 0, 17, 2, 0},
      {"traffic shows it", true, false, false, 1, 0, 1, 0, 2, 1},
      {"already visible", true, true, false, 1, 1, 0, 0, 2, 1},
      {"off: never hides", false, true, false, 40, 0, 0, 40, 2, 1},
      {"off, hidden: no traffic, no show", false, false, false, 1, 0, 0, 41, 2, 1},
      {"the user hid it", false, false, true, 1, 10, 0, 0, 2, 1},
      {"shown again", false, false, false, 1, 10, 0, 0, 2, 2},
  };
  TTickRig rig;
  for (const auto& s : steps) {
    rig.Form.AutoHide = s.autoHide, rig.Form.UserHidden = s.userHidden, rig.Window.Visible = s.visible;
    for (int i = 0; i < s.ticks; ++i) rig.Tick(s.down, s.up);
    EXPECT_EQ(std::tuple(rig.Form.IdleTicks, rig.Window.Hides, rig.Window.Shows), std::tuple(s.idle, s.hides, s.shows))
        << s.what;
  }
}

TEST(Tick, StepsRunInOrder) {
  TTickRig rig;
  rig.Window.Visible = false;
  rig.Form.StatusText = "old";
  rig.History.HistoryPush(11, 22);
  struct Seen { int32_t newestDown = -1; uint32_t downRate = 0; std::string status; } atShow, atInvalidate, atTray;
  const auto Now = [&] { return Seen{rig.History.HistorySample(HistoryDown, 0), rig.Form.DownRate, rig.Form.StatusText}; };
  rig.Window.OnEvent = [&](const std::string& e) {
    if (e == "show") atShow = Now();
    if (e == "invalidate") atInvalidate = Now();
  };
  rig.Tray.OnRender = [&] { atTray = Now(); };
  rig.Tick(7000, 300);

  // the totals' writes, whatever their own order, count as one step
  TEventLog steps;
  for (const std::string& e : rig.Log) {
    const std::string step = e.rfind("store ", 0) == 0 ? "store" : e;
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  EXPECT_EQ(steps, (TEventLog{"read", "visible?", "show", "store", "invalidate", "tray"}));
  // history pushed after the idle handling; history and rates before the invalidation,
  // the text after it and before the tray image
  EXPECT_EQ(std::tuple(atShow.newestDown, atInvalidate.newestDown, atInvalidate.downRate, atInvalidate.status, atTray.status),
            std::tuple(11, 7000, 5408u, "old", BuildStatusText(rig.Form)));
  EXPECT_EQ(std::tuple(rig.Tray.TrayDown, rig.Tray.TrayUp, rig.Form.DownloadCounter, rig.Form.UploadCounter, rig.Form.TickCount),
            std::tuple(7000, 300, 7000, 300, 1));
}

TEST(Tick, AStallFoldedIntoOneTickCountsEveryOctetAndSecondInOneColumn) {
  constexpr uint32_t G3 = 3u << 30;
  const struct {
    const char* what;
    uint64_t ms;
    uint32_t down, elapsed;
    int32_t newest, before;  // history samples of age 0 and 1
    int64_t downloaded;
  } steps[] = {
      {"first tick", 1000, 1000, 1, 1000, 0, 1000},
      {"six periods folded, 3 GiB", 6000, G3, 7, INT32_MAX, 1000, 1000 + int64_t{G3}},
      {"a catch-up tick right after", 4, 0, 7, 0, INT32_MAX, 1000 + int64_t{G3}},
      {"on time again", 996, 500, 8, 500, 0, 1500 + int64_t{G3}},
  };
  TTickRig rig;
  rig.Table.Wide = true;
  StartSampling(rig.Form, rig.Table, nullptr);
  rig.Clock.NowMs = 3600000;
  for (const auto& s : steps) {
    rig.Clock.NowMs += s.ms;
    rig.Tick(s.down, 0);
    EXPECT_EQ(std::tuple(rig.Form.ElapsedCounter, rig.History.HistorySample(HistoryDown, 0),
                         rig.History.HistorySample(HistoryDown, 1), rig.Form.DownloadCounter, rig.Tray.TrayDown),
              std::tuple(s.elapsed, s.newest, s.before, s.downloaded, s.newest))
        << s.what;
  }
}

TEST(Tick, RescalesGraphEveryFourthAndTrayEveryThirdTick) {
  // per tick 1..12: '+' the scale moved, '.' it did not
  const struct { bool autoScale, trayAutoScale; const char *graph, *tray; } cases[] = {
      {true, true, "...+...+...+", "..+..+..+..+"}, {false, true, "............", "..+..+..+..+"},
      {true, false, "...+...+...+", "............"},
  };
  for (const auto& c : cases) {
    TTickRig rig;
    rig.Form.AutoScale = c.autoScale, rig.Form.TrayAutoScale = c.trayAutoScale;
    std::string graph, tray;
    for (int t = 1; t <= 12; ++t) {
      // a level well outside either scale's band, alternating so each rescale moves it
      const int32_t before = rig.Form.GraphScaleMax = rig.Form.TrayScaleMax = (t % 2) ? 100 : 100000000;
      rig.Tick(1000000, 1000);
      graph += rig.Form.GraphScaleMax != before ? '+' : '.';
      tray += rig.Form.TrayScaleMax != before ? '+' : '.';
    }
    EXPECT_EQ(std::tuple(graph, tray), std::tuple(c.graph, c.tray)) << c.autoScale << c.trayAutoScale;
  }

  // each scale from its own value and from a history that holds this tick's sample
  const struct { int32_t graph, tray; std::vector<uint32_t> deltas; int32_t graphAfter, trayAfter; } scales[] = {
      {8192, 4096, {0, 0, 0}, 8192, 4096}, {4096, 8192, {0, 0, 0, 100000}, 105000, 4301},
  };
  for (const auto& c : scales) {
    TTickRig rig;
    rig.Form.GraphScaleMax = c.graph, rig.Form.TrayScaleMax = c.tray;
    for (uint32_t d : c.deltas) rig.Tick(d, 0);
    EXPECT_EQ(std::tuple(rig.Form.GraphScaleMax, rig.Form.TrayScaleMax), std::tuple(c.graphAfter, c.trayAfter));
  }
}

TEST(StatusText, ByteForByte) {
  TStatsForm f;
  f.DownRate = 1535, f.UpRate = 4294967295u /* widened without sign */, f.DownTotal = 5368709120u, f.UpTotal = 1023;
  EXPECT_EQ(BuildStatusText(f), "Downlink: 1.4KB\n\rUplink: 3.9GB\n\r" + std::string(38, '-') +
                                    "\n\rDownloaded: 5.0GB\n\rUploaded: 1023B");
}

TEST(TrafficHistory, ResizeKeepsAges) {
  // 1, 2, 3 pushed down (and their negatives up) into three columns, then resized
  const struct { int32_t width; std::vector<int32_t> byAge; } cases[] = {
      {5, {3, 2, 1, 0, 0}}, {3, {3, 2, 1}}, {2, {3, 2}}, {0, {}}, {-4, {}}};
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(3);
    for (int32_t v : {1, 2, 3}) h.HistoryPush(v, -v);
    h.HistoryResize(c.width);
    std::vector<int32_t> down, up;
    for (int32_t age = 0; age < h.HistoryLength(); ++age)
      down.push_back(h.HistorySample(HistoryDown, age)), up.push_back(-h.HistorySample(HistoryUp, age));
    EXPECT_EQ(std::tuple(down, up), std::tuple(c.byAge, c.byAge)) << c.width;
  }
}

}  // namespace
