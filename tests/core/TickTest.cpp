#include "app/Tick.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/FakeTick.h"
#include "traffic/AdapterSampling.h"

namespace {

TEST(Smoothing, SteadyLevelAndBurstDecay) {
  const struct { const char* what; std::vector<uint32_t> deltas, rates; int32_t width; } cases[] = {
      {"constant 1000", {1000, 1000, 1000, 1000, 1000, 1000, 1000}, {0, 0, 0, 0, 0, 0, 1000}, 300},
      {"burst after silence", {0, 0, 0, 0, 0, 0, 7000, 0, 0, 0, 0, 0, 0, 0},
       {0, 0, 0, 0, 0, 0, 5407, 500, 333, 250, 200, 167, 143, 0}, 300},
      // missing ages of a too-narrow history read as 0; the burst falls off its end
      {"history of 3", {7000, 0, 0, 0}, {5407, 500, 333, 0}, 3},
      {"history of 1", {7000, 0}, {5407, 0}, 1},
      {"empty history", {7000, 0}, {5407, 0}, 0},
  };
  for (const auto& c : cases) {
    TTickRig rig(c.width);
    for (size_t i = 0; i < c.deltas.size(); ++i) {
      rig.Tick(c.deltas[i], c.deltas[i]);
      if (c.rates[i] == 0 && c.deltas[i] == 1000) continue;  // still ramping up to the level
      EXPECT_EQ(rig.Form.DownRate, c.rates[i]) << c.what << ", tick " << i;
      EXPECT_EQ(rig.Form.UpRate, c.rates[i]) << c.what << ", tick " << i;
    }
  }
}

TEST(Smoothing, HalvesRoundToEvenAndLargeSamplesStayInRange) {
  const struct { int32_t past1, now; uint32_t rate; } cases[] = {
      {7, 0, 0}, {21, 0, 2}, {35, 0, 2},  // 0.5, 1.5, 2.5
      {0x7FFFFFFF, 0x7FFFFFFF, 1812213241},
      {0, 0x7FFFFFFF, 1658821552},  // only the current tick: 0.7724 of it
      {0x7FFFFFFF, 0, 153391689},   // 1/14 of it a tick later
  };
  for (const auto& c : cases) {
    TTrafficHistory h;
    h.HistoryResize(10);
    h.HistoryPush(0, c.past1);
    h.HistoryPush(0, c.now);
    EXPECT_EQ(SmoothedRate(h, HistoryUp, c.now), c.rate) << "past " << c.past1 << " now " << c.now;
  }
}

TEST(Tick, AutoHideOnSixteenthIdleTickAndShowOnTrafficUnlessUserHidden) {
  TTickRig rig;
  rig.Form.AutoHide = true;
  // idle ticks, hides, shows after each step
  const auto State = [&] { return std::tuple(rig.Form.IdleTicks, rig.Window.Hides, rig.Window.Shows); };
  for (int i = 1; i <= 15; ++i) rig.Tick(0, 0);
  EXPECT_EQ(State(), std::tuple(15, 0, 0)) << "15 idle ticks leave it visible";
  rig.Tick(0, 0);
  EXPECT_EQ(State(), std::tuple(16, 1, 0)) << "the 16th hides it";
  EXPECT_FALSE(rig.Form.UserHidden);
  rig.Tick(0, 0);
  EXPECT_EQ(State(), std::tuple(17, 2, 0)) << "repeated while idle";
  rig.Tick(0, 1);
  EXPECT_EQ(State(), std::tuple(0, 2, 1)) << "traffic shows it";
  rig.Tick(1, 0);
  EXPECT_EQ(State(), std::tuple(0, 2, 1)) << "already visible";

  TTickRig off;
  off.Form.AutoHide = false;
  for (int i = 0; i < 40; ++i) off.Tick(0, 0);
  EXPECT_EQ(off.Window.Hides, 0);
  off.Window.Visible = false;  // auto-hidden before the setting was switched off
  off.Tick(0, 0);
  EXPECT_EQ(off.Window.Shows, 0) << "no traffic, no show";
  off.Form.UserHidden = true;
  off.Tick(10, 0);
  EXPECT_EQ(off.Window.Shows, 0) << "the user hid it";
  off.Form.UserHidden = false;
  off.Tick(10, 0);
  EXPECT_EQ(off.Window.Shows, 1);
}

TEST(Tick, UnreadableTableOrMissingAdapterCountsAsIdle) {
  TTickRig rig;
  rig.Form.AutoHide = true;
  rig.Tick(100, 100);
  rig.Form.DownTotal = 777;
  rig.Table.Available = false;
  for (int i = 0; i < 8; ++i) rig.Tick(100, 100);
  rig.Table.Available = true;
  rig.Form.AdapterName = "Gone";
  for (int i = 0; i < 8; ++i) rig.Tick(100, 100);
  EXPECT_EQ(std::tuple(rig.Form.IdleTicks, rig.Window.Hides, rig.Form.DownTotal, rig.Form.DownRate),
            std::tuple(16, 1, 777u, 0u));
  EXPECT_EQ(rig.History.HistorySample(HistoryDown, 0), 0);
}

TEST(Tick, StepsRunInOrder) {
  TTickRig rig;
  rig.Window.Visible = false;
  rig.Form.StatusText = "old";
  rig.History.HistoryPush(11, 22);
  struct Seen { int32_t newestDown = -1; uint32_t downRate = 0; std::string status; } atShow, atInvalidate, atTray;
  rig.Window.OnEvent = [&](const std::string& e) {
    const Seen s{rig.History.HistorySample(HistoryDown, 0), rig.Form.DownRate, rig.Form.StatusText};
    if (e == "show") atShow = s;
    if (e == "invalidate") atInvalidate = s;
  };
  rig.Tray.OnRender = [&] { atTray = {rig.History.HistorySample(HistoryDown, 0), rig.Form.DownRate, rig.Form.StatusText}; };
  rig.Tick(7000, 300);

  // the totals' writes, whatever their own order, count as one step
  TEventLog steps;
  for (const std::string& e : rig.Log) {
    const std::string step = e.rfind("store ", 0) == 0 ? "store" : e;
    if (steps.empty() || steps.back() != step) steps.push_back(step);
  }
  EXPECT_EQ(steps, (TEventLog{"read", "visible?", "show", "store", "invalidate", "tray"}));
  EXPECT_EQ(atShow.newestDown, 11) << "history pushed after the idle handling";
  EXPECT_EQ(atInvalidate.newestDown, 7000);
  EXPECT_EQ(atInvalidate.downRate, 5408u) << "rates before the invalidation";
  EXPECT_EQ(atInvalidate.status, "old") << "text rebuilt after the invalidation";
  EXPECT_NE(atTray.status, "old") << "text rebuilt before the tray image";
  EXPECT_EQ(std::tuple(rig.Tray.TrayDown, rig.Tray.TrayUp, rig.Form.DownloadCounter, rig.Form.UploadCounter),
            std::tuple(7000, 300, 7000, 300));
  EXPECT_EQ(rig.Form.TickCount, 1);
}

TEST(Tick, RescalesGraphEveryFourthAndTrayEveryThirdTick) {
  // per tick 1..12: '+' the scale moved, '.' it did not
  const struct { bool autoScale, trayAutoScale; const char *graph, *tray; } cases[] = {
      {true, true, "...+...+...+", "..+..+..+..+"},
      {false, true, "............", "..+..+..+..+"},
      {true, false, "...+...+...+", "............"},
  };
  for (const auto& c : cases) {
    TTickRig rig;
    rig.Form.AutoScale = c.autoScale;
    rig.Form.TrayAutoScale = c.trayAutoScale;
    std::string graph, tray;
    for (int t = 1; t <= 12; ++t) {
      // a level well outside either scale's band, alternating so each rescale moves it
      const int32_t before = rig.Form.GraphScaleMax = rig.Form.TrayScaleMax = (t % 2) ? 100 : 100000000;
      rig.Tick(1000000, 1000);
      graph += rig.Form.GraphScaleMax != before ? '+' : '.';
      tray += rig.Form.TrayScaleMax != before ? '+' : '.';
    }
    EXPECT_EQ(graph, c.graph) << "AutoScale " << c.autoScale;
    EXPECT_EQ(tray, c.tray) << "TrayAutoScale " << c.trayAutoScale;
  }
}

TEST(StatusText, ByteForByte) {
  const std::string hyphens(38, '-');
  TTickRig rig;
  StartSampling(rig.Form, rig.Table, nullptr);
  rig.Tick(0, 0);
  EXPECT_EQ(rig.Form.StatusText, "Downlink: 0B\n\rUplink: 0B\n\r" + hyphens + "\n\rDownloaded: 0B\n\rUploaded: 0B");

  TStatsForm f;
  f.DownRate = 1535;
  f.UpRate = 4294967295u;  // widened without sign
  f.DownTotal = 5368709120u;
  f.UpTotal = 1023;
  EXPECT_EQ(BuildStatusText(f),
            "Downlink: 1.4KB\n\rUplink: 3.9GB\n\r" + hyphens + "\n\rDownloaded: 5.0GB\n\rUploaded: 1023B");
}

}  // namespace
