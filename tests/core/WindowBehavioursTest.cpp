#include "app/WindowBehaviours.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/FakeGraphWindow.h"
#include "support/MemorySettings.h"

namespace {

const TRect Desk{0, 0, 1024, 738};  // 1024 x 768 with a task bar of 30 pixels at the bottom
const TRect TopBar{0, 30, 1024, 768};

TEST(WindowBehaviours, SnapsWithinTenPixelsAndClampsOnlyWhenSnapped) {
  const struct { TPoint32 pos; int32_t cx; TRect wa; TPoint32 want; } cases[] = {
      {{927, 300}, 87, Desk, {937, 300}}, {{926, 300}, 87, Desk, {926, 300}}, {{-7, 300}, 87, Desk, {0, 300}},
      {{11, 300}, 87, Desk, {11, 300}}, {{3, 708}, 87, Desk, {0, 699}}, {{300, 35}, 87, TopBar, {300, 30}},
      {{-50, 300}, 87, Desk, {-50, 300}} /* near nothing: not clamped */, {{-50, 5}, 87, Desk, {0, 0}} /* clamped */,
      {{980, 5}, 87, Desk, {937, 0}}, {{3, 740}, 87, Desk, {0, 699}}, {{5, -50}, 87, Desk, {0, 0}},  // the other clamps
      {{8, 300}, 1010, Desk, {0, 300}} /* the right edge measured from the snapped left */,
      {{INT32_MIN, INT32_MAX}, 87, Desk, {INT32_MIN, INT32_MAX}},
  };
  for (const auto& c : cases) EXPECT_EQ(SnapToWorkArea(c.pos, {c.cx, 39}, c.wa), c.want) << c.pos.x << ", " << c.pos.y;

  TFakeGraphWindow w;
  for (const bool visible : {false, true}) {
    TPoint32 pos{5, 5};
    w.Visible = visible;
    EXPECT_EQ(std::tuple(PositionChanging(w, pos, {87, 39}), pos),
              std::tuple(visible, visible ? TPoint32{0, 0} : TPoint32{5, 5}));
  }
}

TEST(WindowBehaviours, FleesAwayFromTheEdgeItTouches) {
  const struct { TRect r, wa; TPoint32 want; } cases[] = {
      {{300, 699, 387, 738}, Desk, {300, 0}}, {{300, 0, 387, 39}, Desk, {300, 699}},      // bottom, top
      {{937, 300, 1024, 339}, Desk, {0, 300}}, {{0, 300, 87, 339}, Desk, {937, 300}},    // right, left
      {{937, 699, 1024, 738}, Desk, {937, 0}},                                            // a corner
      {{300, 349, 387, 388}, Desk, {300, 699}}, {{300, 350, 387, 388}, Desk, {300, 0}},  // nearer top, as near to both
      // zero is the screen's edge; the opposite edge is only flush when the work area starts at 0
      {{300, 30, 387, 69}, TopBar, {300, 699}}, {{300, 729, 387, 768}, TopBar, {300, 0}},
  };
  for (const auto& c : cases) EXPECT_EQ(FleeTarget(c.r, c.wa), c.want) << c.r.left << ", " << c.r.top;
}

TEST(WindowBehaviours, RunAwayWatchReturnCheckAndGoHome) {
  enum TTimer { Watch, Return, Home };
  // at home (300, 300) unless the window is at y 699; the watch runs unless hidden
  const struct { const char* what; TTimer timer; bool armed, visible; int32_t y; TPoint32 cursor; bool ctrl;
                 int32_t wantY; bool returnTimer, watch; } cases[] = {
      {"cursor on home flees", Watch, true, true, 300, {298, 298}, false, 699, true, true},
      {"cursor just outside", Watch, true, true, 300, {297, 300}, false, 300, false, true},
      {"not armed", Watch, false, true, 300, {310, 310}, false, 300, false, true},
      {"Ctrl lets the cursor reach it", Watch, true, true, 300, {310, 310}, true, 300, false, true},
      {"cursor on the fled window", Watch, true, true, 699, {388, 739}, false, 300, false, true},
      {"never flees twice", Watch, true, true, 699, {310, 310}, false, 699, true, true},
      {"return: cursor on home", Return, true, true, 699, {310, 310}, false, 699, true, true},
      {"return: cursor gone", Return, true, true, 699, {700, 100}, false, 300, false, true},
      {"return: Ctrl", Return, true, true, 699, {310, 310}, true, 300, false, true},
      {"return shows a hidden window", Return, false, false, 699, {700, 100}, false, 300, false, true},
      {"home while hidden: no watch", Home, false, false, 699, {0, 0}, false, 300, false, false},
  };
  for (const auto& c : cases) {
    TStatsForm form;
    TFakeGraphWindow window;
    form.HomeLeft = 300, form.HomeTop = 300, form.RunAwayArmed = c.armed;
    window.L = 300, window.T = c.y, window.Visible = c.visible, window.RunAwayTimerOn = c.visible;
    window.ReturnTimerOn = c.y != 300, window.Cursor = c.cursor, window.Ctrl = c.ctrl;
    std::vector<bool> movingSelf;
    window.OnEvent = [&](const std::string& e) {
      if (e == "move") movingSelf.push_back(form.MovingSelf), WindowMoved(form, window);  // the system's notification
    };
    (c.timer == Watch ? RunAwayTimerFired : c.timer == Return ? ReturnTimerFired : GoHome)(form, window);
    // every move the program made is known as its own; a move of the user's is the new home
    const auto seen = std::tuple(window.L, window.T, window.ReturnTimerOn, window.RunAwayTimerOn, form.HomeTop,
                                 form.MovingSelf, movingSelf);
    window.Move(40, 50);
    EXPECT_EQ(std::tuple(seen, form.HomeLeft, form.HomeTop),
              std::tuple(std::tuple(300, c.wantY, c.returnTimer, c.watch, 300, false, std::vector<bool>(c.wantY != c.y, true)),
                         40, 50)) << c.what;
  }
}

TEST(WindowBehaviours, ActivationSetsFrameClickThroughAndArming) {
  // focus, DialogOpen, GoFlat, click-through, stored "AutoRunAway" -> IsActive, armed, frame, passing clicks
  const struct { bool active, dialog, flat, through; int32_t stored; bool isActive, armed; const char* frame;
                 bool passes; size_t reads; } cases[] = {
      {true, false, true, true, 1, true, false, "active", false, 0},
      {true, false, true, false, 1, true, false, "active", false, 0} /* lifted even once switched off */,
      {false, false, true, true, 1, false, true, "flat", true, 1},
      {false, false, false, false, 0, false, false, "", false, 1},
      {false, false, true, false, 2, false, false, "flat", false, 1} /* 2 is not on */,
      {false, true, true, true, 1, true, true, "", false, 0} /* under a dialog: nothing */,
  };
  for (const auto& c : cases) {
    TStatsForm form;
    form.IsActive = !c.active, form.RunAwayArmed = c.dialog || c.active;
    form.DialogOpen = c.dialog, form.GoFlat = c.flat, form.MouseClickThru = c.through;
    TMemorySettings store;
    store.SetInteger("AutoRunAway", c.stored);
    TFakeGraphWindow window;
    window.ClickThrough = c.active;  // left over from before the focus came
    ActivationChanged(form, store, window, c.active);
    EXPECT_EQ(std::tuple(form.IsActive, form.RunAwayArmed, window.Frame, window.ClickThrough, store.Names('r').size()),
              std::tuple(c.isActive, c.armed, std::string(c.frame), c.passes, c.reads))
        << c.active << c.dialog << c.flat << c.through << c.stored;
  }
}

TEST(WindowBehaviours, BalloonAfterTheCursorRestedWithinFourPixels) {
  const struct { TPoint32 cursor; bool rested; } cases[] = {
      {{104, 104}, true}, {{97, 97}, true}, {{96, 100}, false}, {{105, 100}, false}, {{100, 96}, false}};
  for (const auto& c : cases) EXPECT_EQ(CursorRested({100, 100}, c.cursor), c.rested) << c.cursor.x << ", " << c.cursor.y;
}

}  // namespace
