#include "app/WindowBehaviours.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "app/LoadSettings.h"
#include "support/FakeGraphWindow.h"
#include "support/MemorySettings.h"

namespace {

const TRect Desk{0, 0, 1024, 738};  // a task bar of 30 pixels at the bottom of 1024 x 768

TEST(WindowBehaviours, SnapsWithinTenPixelsAndClampsOnlyWhenSnapped) {
  const struct { const char* what; TPoint32 pos; TSize size; TRect wa; TPoint32 want; } cases[] = {
      {"7 from the right", {930, 300}, {87, 39}, Desk, {937, 300}},
      {"10 from the right", {927, 300}, {87, 39}, Desk, {937, 300}},
      {"11 from the right", {926, 300}, {87, 39}, Desk, {926, 300}},
      {"7 past the left", {-7, 300}, {87, 39}, Desk, {0, 300}},
      {"11 from the left", {11, 300}, {87, 39}, Desk, {11, 300}},
      {"near the bottom", {300, 690}, {87, 39}, Desk, {300, 699}},
      {"corner", {3, 708}, {87, 39}, Desk, {0, 699}},
      {"task bar on top", {300, 35}, {87, 39}, {0, 30, 1024, 768}, {300, 30}},
      {"half off, near nothing", {-50, 300}, {87, 39}, Desk, {-50, 300}},
      {"half off, top snapped", {-50, 5}, {87, 39}, Desk, {0, 0}},
      {"far away", {5000, -5000}, {87, 39}, Desk, {5000, -5000}},
      // the right edge is measured from where the left edge put it
      {"wide window", {8, 300}, {1010, 39}, Desk, {0, 300}},
      {"extreme", {INT32_MIN, INT32_MAX}, {87, 39}, Desk, {INT32_MIN, INT32_MAX}},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapToWorkArea(c.pos, c.size, c.wa), c.want) << c.what;

  TFakeGraphWindow w;
  TPoint32 pos{5, 5};
  w.Visible = false;
  EXPECT_FALSE(PositionChanging(w, pos, {87, 39}));
  EXPECT_EQ(pos, (TPoint32{5, 5})) << "nothing adjusted while hidden";
  w.Visible = true;
  EXPECT_TRUE(PositionChanging(w, pos, {87, 39}));
  EXPECT_EQ(pos, (TPoint32{0, 0}));
}

TEST(WindowBehaviours, FleesAwayFromTheEdgeItTouches) {
  const struct { const char* what; TRect r, wa; TPoint32 want; } cases[] = {
      {"bottom", {300, 699, 387, 738}, Desk, {300, 0}},
      {"top", {300, 0, 387, 39}, Desk, {300, 699}},
      {"right", {937, 300, 1024, 339}, Desk, {0, 300}},
      {"left", {0, 300, 87, 339}, Desk, {937, 300}},
      {"bottom-right corner", {937, 699, 1024, 738}, Desk, {937, 0}},
      {"nearer the top", {300, 349, 387, 388}, Desk, {300, 699}},
      {"nearer the bottom", {300, 350, 387, 389}, Desk, {300, 0}},
      {"equally near", {300, 350, 387, 388}, Desk, {300, 0}},
      // zero is the screen's edge; the opposite edge is only flush when the work area starts at 0
      {"top, task bar on top", {300, 30, 387, 69}, {0, 30, 1024, 768}, {300, 699}},
      {"bottom, task bar on top", {300, 729, 387, 768}, {0, 30, 1024, 768}, {300, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(FleeTarget(c.r, c.wa), c.want) << c.what;
}

struct TRig {
  TStatsForm form;
  TFakeGraphWindow window;
  std::vector<bool> movingSelf;  // MovingSelf at each move
  TRig() {
    form.HomeLeft = 300, form.HomeTop = 300, form.RunAwayArmed = true;
    window.L = 300, window.T = 300, window.RunAwayTimerOn = true;
    window.OnEvent = [this](const std::string& e) {
      if (e != "move") return;
      movingSelf.push_back(form.MovingSelf);
      WindowMoved(form, window);  // as the system's move notification does
    };
  }
};

TEST(WindowBehaviours, RunAwayWatchAndReturnCheck) {
  enum TTimer { Watch, Return };
  const struct { const char* what; TTimer timer; bool armed, visible; TPoint32 at, cursor; bool ctrl;
                 TPoint32 want; bool returnTimer, watch; } cases[] = {
      {"cursor on home flees", Watch, true, true, {300, 300}, {298, 298}, false, {300, 699}, true, true},
      {"cursor just outside", Watch, true, true, {300, 300}, {297, 300}, false, {300, 300}, false, true},
      {"not armed", Watch, false, true, {300, 300}, {310, 310}, false, {300, 300}, false, true},
      {"Ctrl lets the cursor reach it", Watch, true, true, {300, 300}, {310, 310}, true, {300, 300}, false, true},
      {"cursor on the fled window", Watch, true, true, {300, 699}, {388, 739}, false, {300, 300}, false, true},
      {"cursor still on home while away", Watch, true, true, {300, 699}, {310, 310}, false, {300, 699}, true, true},
      {"return: cursor on home", Return, true, true, {300, 699}, {310, 310}, false, {300, 699}, true, true},
      {"return: cursor gone", Return, true, true, {300, 699}, {700, 100}, false, {300, 300}, false, true},
      {"return: Ctrl", Return, true, true, {300, 699}, {310, 310}, true, {300, 300}, false, true},
      {"return shows a hidden window", Return, false, false, {300, 699}, {700, 100}, false, {300, 300}, false, true},
  };
  for (const auto& c : cases) {
    TRig rig;
    rig.form.RunAwayArmed = c.armed;
    rig.window.Visible = c.visible;
    rig.window.L = c.at.x, rig.window.T = c.at.y;
    rig.window.ReturnTimerOn = c.at.y != 300;
    rig.window.Cursor = c.cursor, rig.window.Ctrl = c.ctrl;
    (c.timer == Watch ? RunAwayTimerFired : ReturnTimerFired)(rig.form, rig.window);
    EXPECT_EQ(std::tuple(rig.window.L, rig.window.T, rig.window.ReturnTimerOn, rig.window.RunAwayTimerOn),
              std::tuple(c.want.x, c.want.y, c.returnTimer, c.watch))
        << c.what;
    EXPECT_EQ(std::tuple(rig.form.HomeLeft, rig.form.HomeTop), std::tuple(300, 300)) << c.what << ": home kept";
    for (bool self : rig.movingSelf) EXPECT_TRUE(self) << c.what << ": the program's own moves";
    EXPECT_FALSE(rig.form.MovingSelf);
  }
}

TEST(WindowBehaviours, GoHomeWatchesOnlyAVisibleWindowAndUserMovesSetHome) {
  TRig rig;
  rig.window.T = 699, rig.window.Visible = false, rig.window.ReturnTimerOn = true;
  GoHome(rig.form, rig.window);
  EXPECT_EQ(std::tuple(rig.window.T, rig.window.ReturnTimerOn, rig.window.RunAwayTimerOn), std::tuple(300, false, false));

  rig.window.Move(40, 50);
  EXPECT_EQ(std::tuple(rig.form.HomeLeft, rig.form.HomeTop), std::tuple(40, 50)) << "a move not made by the program";
}

TEST(WindowBehaviours, ActivationSetsFrameClickThroughAndArming) {
  const struct { const char* what; bool active, dialog, flat, clickThru; int32_t autoRunAway;
                 bool isActive, armed; const char* frame; bool passes; std::vector<std::string> reads; } cases[] = {
      {"focused", true, false, true, true, 1, true, false, "active", false, {}},
      {"unfocused, flat, click-through", false, false, true, true, 1, false, true, "flat", true, {"AutoRunAway"}},
      {"unfocused, framed", false, false, false, false, 0, false, false, "", false, {"AutoRunAway"}},
      {"unfocused, stored value 2 is off", false, false, true, false, 2, false, false, "flat", false, {"AutoRunAway"}},
      {"unfocused under a dialog", false, true, true, true, 1, true, true, "", false, {}},
  };
  for (const auto& c : cases) {
    TStatsForm form;
    form.IsActive = !c.active, form.RunAwayArmed = c.dialog || c.active;
    form.DialogOpen = c.dialog, form.GoFlat = c.flat, form.MouseClickThru = c.clickThru;
    TMemorySettings store;
    store.SetInteger("AutoRunAway", c.autoRunAway);
    TFakeGraphWindow window;
    window.ClickThrough = c.active;  // left over from before the focus came
    ActivationChanged(form, store, window, c.active);
    EXPECT_EQ(std::tuple(form.IsActive, form.RunAwayArmed, window.Frame, window.ClickThrough),
              std::tuple(c.isActive, c.armed, std::string(c.frame), c.passes))
        << c.what;
    EXPECT_EQ(store.Names('r'), c.reads) << c.what << ": read at this moment";
  }
}

TEST(WindowBehaviours, BalloonAfterTheCursorRestedWithinFourPixels) {
  const TPoint32 hover{100, 100};
  const struct { TPoint32 cursor; bool rested; } cases[] = {
      {{100, 100}, true}, {{104, 104}, true}, {{97, 97}, true}, {{96, 100}, false}, {{105, 100}, false},
      {{100, 96}, false}, {{100, 104}, true},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CursorRested(hover, c.cursor), c.rested) << c.cursor.x << ", " << c.cursor.y;
}

TEST(LoadSettings, PlacesTheWindowOnAMonitorAndKnowsItsHome) {
  const struct { const char* what; int32_t left, top, width; TRect nearest; bool away; TPoint32 want, home; } cases[] = {
      {"where it already is", 546, 205, 87, Desk, false, {546, 205}, {546, 205}},
      {"away: home kept", 546, 205, 87, Desk, true, {546, 205}, {1, 2}},
      {"partly off the screen", 1000, -20, 87, Desk, false, {1000, -20}, {1000, -20}},
      {"on the left monitor", -1200, 205, 87, Desk, false, {-1200, 205}, {-1200, 205}},
      {"on no monitor", -100000, 205, 87, Desk, false, {0, 205}, {0, 205}},
      {"below every monitor", 546, 99999, 87, Desk, false, {546, 699}, {546, 699}},
      {"far off, too wide", INT32_MAX, INT32_MIN, 16384, Desk, false, {0, 0}, {0, 0}},
      {"nearest the left monitor", -5000, 205, 87, {-1280, 0, 0, 994}, false, {-1280, 205}, {-1280, 205}},
  };
  for (const auto& c : cases) {
    TMemorySettings store;
    store.SetInteger("LeftPos", c.left), store.SetInteger("TopPos", c.top), store.SetInteger("Width", c.width);
    TFakeGraphWindow window;
    window.Nearest = c.nearest, window.ReturnTimerOn = c.away;
    TStatsForm form;
    form.HomeLeft = 1, form.HomeTop = 2;
    LoadSettings(form, store, window);
    EXPECT_EQ(std::tuple(window.L, window.T, form.HomeLeft, form.HomeTop),
              std::tuple(c.want.x, c.want.y, c.home.x, c.home.y))
        << c.what;
  }
}

}  // namespace
