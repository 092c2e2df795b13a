#include "app/LoadSettings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/FakeGraphWindow.h"
#include "support/MemorySettings.h"

namespace {

using Names = std::vector<std::string>;
using Stored = std::vector<std::pair<const char*, int32_t>>;

// The reads of LoadSettings with every conditional read left out.
const Names BaseReads = {
    "LeftPos", "TopPos", "Width", "Height", "Shadow", "BGColor", "FlatBorderColor", "GridColor", "GridColor2",
    "UpColor", "DnColor", "ShowGrid", "GridMode", "AutoScale", "TrayAutoScale", "ScaleBallance",
    "TrayScaleBallance", "TrayMode", "TrayUpColor", "TrayDnColor", "TrayFrameColor", "EnableLogging",
    "UseTransparency", "UseTransparency", "AutoHide", "GoFlat", "StayOnTop", "UserHide", "Adapter", "AdapterAuto", "upload_h",
    "upload_l", "download_h", "download_l", "counter_elapsed", "lastdate", "LogFile",
};

struct Loaded {
  TMemorySettings store;
  TFakeGraphWindow window;
  TStatsForm form;
  explicit Loaded(const Stored& stored = {}) {
    for (const auto& [name, value] : stored) store.SetInteger(name, value);
  }
  Loaded& Load() { return LoadSettings(form, store, window), *this; }
};

TEST(LoadSettings, EmptyStoreGivesTheDefaults) {
  Loaded l;
  l.form.AreaOutlineGrey = 1, l.form.GridColor = 0;
  l.Load();
  const TStatsForm& f = l.form;
  const TFakeGraphWindow& w = l.window;
  const struct { const char* what; int64_t got, want; } checks[] = {
      {"left", w.L, 546}, {"top", w.T, 205}, {"width", w.W, 87}, {"height", w.H, 39}, {"shadow", w.Shadow, 1},
      {"opacity", w.Opacity, 255}, {"on top", w.OnTop, 0}, {"checked", w.OnTopChecked, 0}, {"hidden", !w.Visible, 0},
      // system colours: window and window frame
      {"BGColor", f.BGColor, 0x00ABCD05}, {"FlatBorderColor", f.FlatBorderColor, 0x00ABCD06},
      {"TrayFrameColor", f.TrayFrameColor, 0x00ABCD06}, {"GridColor", f.GridColor, 0xEFEFEF},
      {"GridColor2", f.GridColor2, 0xEFEFEF}, {"UpColor", f.UpColor, 0x30FFFF}, {"DnColor", f.DnColor, 0x1515FF},
      {"TrayUpColor", f.TrayUpColor, 0x30FFFF},
      {"TrayDnColor", f.TrayDnColor, 0x1515FF}, {"AreaOutlineGrey", f.AreaOutlineGrey, 0x808080}, {"ShowGrid", f.ShowGrid, 1},
      {"GridMode", f.GridMode, 3}, {"AutoScale", f.AutoScale, 1}, {"TrayAutoScale", f.TrayAutoScale, 1},
      {"graph scale", f.GraphScaleMax, 4096}, {"tray scale", f.TrayScaleMax, 4096}, {"ScaleBallance", f.ScaleBallance, 50},
      {"TrayScaleBallance", f.TrayScaleBallance, 50}, {"TrayMode", f.TrayMode, 1}, {"EnableLogging", f.LoggingEnabled, 0},
      {"MouseClickThru", f.MouseClickThru, 0}, {"AutoHide", f.AutoHide, 0}, {"GoFlat", f.GoFlat, 1},
      {"UserHide", f.UserHidden, 0}, {"upload", f.UploadCounter, 0}, {"download", f.DownloadCounter, 0},
      {"counter_elapsed", f.ElapsedCounter, 0}, {"lastdate", f.LastDate, 0},
  };
  for (const auto& c : checks) EXPECT_EQ(c.got, c.want) << c.what;
  // loading never writes defaults
  EXPECT_EQ(std::tuple(f.AdapterName, f.LogFilePath, l.store.Names('r'), l.store.Names('w')),
            std::tuple("", "transfer_log.txt", BaseReads, Names{}));
}

TEST(LoadSettings, StoredValuesAndTheirGuards) {
  const struct { const char* name; int32_t stored; int64_t expected; } cases[] = {
      {"GridMode", 0, 1}, {"GridMode", 1, 2}, {"GridMode", INT32_MAX, INT32_MIN} /* wraps, never overflows */,
      {"ShowGrid", 2, 0}, {"EnableLogging", -1, 0}, {"counter_elapsed", 86400, 86400}, {"counter_elapsed", -7, 0},
      {"lastdate", 739956, 739956}, {"Width", 0, 30}, {"Width", 301, 300}, {"Height", -1, 16}, {"Height", 181, 180},
  };
  for (const auto& c : cases) {
    Loaded l({{c.name, c.stored}});
    const TStatsForm& f = l.Load().form;
    const std::string k = c.name;
    const int64_t got = k == "GridMode" ? f.GridMode : k == "ShowGrid" ? f.ShowGrid : k == "EnableLogging" ? f.LoggingEnabled
                      : k == "counter_elapsed" ? int64_t{f.ElapsedCounter} : k == "lastdate" ? int64_t{f.LastDate}
                      : k == "Width" ? l.window.W : l.window.H;
    EXPECT_EQ(std::tuple(got, l.store.Names('w').size()), std::tuple(c.expected, 0u)) << c.name << " stored as " << c.stored;
  }
}

TEST(LoadSettings, ScalesOpacityAndClickThrough) {
  const struct { const char* what; Stored stored; int32_t graph, tray, opacity; bool clickThru; } cases[] = {
      {"auto ignores stored", {{"ScaleMax", 1}, {"TrayScaleMax", 2}}, 4096, 4096, 255, false},
      {"manual, none stored", {{"AutoScale", 0}, {"TrayAutoScale", 0}}, 32768, 32768, 255, false},
      {"manual typed 100", {{"AutoScale", 0}, {"ScaleMax", 102400}}, 102400, 4096, 255, false},
      {"manual 0 and below", {{"AutoScale", 0}, {"ScaleMax", 0}, {"TrayAutoScale", 0}, {"TrayScaleMax", INT32_MIN}},
       4096, 4096, 255, false},
      {"opaque without transparency", {{"AlphaValue", 10}, {"MouseClickThru", 1}}, 4096, 4096, 255, false},
      {"translucent", {{"UseTransparency", 1}, {"AlphaValue", 128}}, 4096, 4096, 128, false},
      {"translucent, no alpha", {{"UseTransparency", 1}, {"MouseClickThru", 1}}, 4096, 4096, 255, true},
      {"alpha 0 is invisible", {{"UseTransparency", 1}, {"AlphaValue", 0}}, 4096, 4096, 0, false},
      {"alpha past 255", {{"UseTransparency", 1}, {"AlphaValue", 256}}, 4096, 4096, 255, false},
  };
  for (const auto& c : cases) {
    Loaded l(c.stored);
    l.form.GraphScaleMax = l.form.TrayScaleMax = 99999;  // a load restarts automatic scaling
    l.Load();
    EXPECT_EQ(std::tuple(l.form.GraphScaleMax, l.form.TrayScaleMax, l.window.Opacity, l.form.MouseClickThru),
              std::tuple(c.graph, c.tray, c.opacity, c.clickThru))
        << c.what;
  }
}

TEST(LoadSettings, CountersJoinHighBeforeLowAndTextsAsStored) {
  Loaded l({{"upload_h", 1}, {"upload_l", -1}, {"download_h", 0}, {"download_l", INT32_MIN}});
  l.store.SetText("Adapter", "Intel(R) PRO/1000"), l.store.SetText("LogFile", "");
  const TStatsForm& f = l.Load().form;
  EXPECT_EQ(std::tuple(f.UploadCounter, f.DownloadCounter, f.AdapterName, f.LogFilePath),
            std::tuple(INT64_C(8589934591), INT64_C(2147483648), "Intel(R) PRO/1000", ""));
}

TEST(LoadSettings, WindowIsMovedThenResizedThenStyled) {
  Loaded l({{"LeftPos", 10}, {"Height", 120}, {"StayOnTop", 1}, {"UserHide", 1}});
  EXPECT_EQ(l.Load().window.Calls, (Names{"move", "resize", "shadow", "opacity", "ontop", "check", "hide"}));
  // a missing value leaves that coordinate alone
  EXPECT_EQ(std::tuple(l.window.L, l.window.T, l.window.W, l.window.H, l.window.OnTopChecked, l.form.UserHidden),
            std::tuple(10, 205, 87, 120, true, true));

  Loaded refused({{"StayOnTop", 1}});
  refused.window.TopmostRefused = true;
  EXPECT_FALSE(refused.Load().window.OnTopChecked) << "the check follows the window, not the store";
}

TEST(SaveWindowState, WritesSixValuesInOrderAndReloads) {
  Loaded l;
  l.window.L = -300, l.window.T = 40, l.window.W = 250, l.window.H = 90, l.window.OnTop = true;
  l.form.UserHidden = true;
  SaveWindowState(l.form, l.store, l.window);
  EXPECT_EQ(l.store.Names('w'), (Names{"LeftPos", "TopPos", "Width", "Height", "StayOnTop", "UserHide"}));
  EXPECT_EQ(std::tuple(l.store.RawInteger("StayOnTop", 9), l.store.RawInteger("UserHide", 9)), std::tuple(1, 1));

  Loaded fresh;
  fresh.store = l.store;
  const TFakeGraphWindow& w = fresh.Load().window;
  EXPECT_EQ(std::tuple(w.L, w.T, w.W, w.H, w.OnTop, fresh.form.UserHidden), std::tuple(-300, 40, 250, 90, true, true));
}

TEST(LoadSettings, PlacesTheWindowOnAMonitorAndKnowsItsHome) {
  // the fake's monitors: the primary one and one to its left (-1280, 0, 0, 1024)
  const TRect Desk{0, 0, 1024, 738};
  const struct { const char* what; int32_t left, top, width; TRect nearest; bool away; TPoint32 want, home; } cases[] = {
      {"away: home kept", 546, 205, 87, Desk, true, {546, 205}, {1, 2}},
      {"partly off the screen", 1000, -20, 87, Desk, false, {1000, -20}, {1000, -20}},
      {"on the left monitor", -1200, 205, 87, Desk, false, {-1200, 205}, {-1200, 205}},
      {"on no monitor", -100000, 205, 87, Desk, false, {0, 205}, {0, 205}},
      {"below every monitor", 546, 99999, 87, Desk, false, {546, 699}, {546, 699}},
      {"far off, too wide", INT32_MAX, INT32_MIN, 16384, Desk, false, {724, 0}, {724, 0}},
      {"nearest the left monitor", -5000, 205, 87, {-1280, 0, 0, 994}, false, {-1280, 205}, {-1280, 205}},
  };
  for (const auto& c : cases) {
    Loaded l({{"LeftPos", c.left}, {"TopPos", c.top}, {"Width", c.width}});
    l.window.Nearest = c.nearest, l.window.ReturnTimerOn = c.away, l.form.HomeLeft = 1, l.form.HomeTop = 2;
    l.Load();
    EXPECT_EQ(std::tuple(l.window.L, l.window.T, l.form.HomeLeft, l.form.HomeTop),
              std::tuple(c.want.x, c.want.y, c.home.x, c.home.y)) << c.what;
  }
}

// Sizes are stored in 96-DPI units and positions in screen pixels: at 150 % a stored
// 100 x 40 graph is 150 x 60, a missing size keeps the window's, and saving stores units.
TEST(LoadSettings, TheStoredSizeIsScaledByTheMonitorsDpi) {
  const struct { int32_t dpi; Stored stored; int32_t w, h, savedW, savedH; } cases[] = {
      {144, {{"LeftPos", 300}, {"Width", 100}, {"Height", 40}}, 150, 60, 100, 40},
      {144, {}, 87, 39, 58, 26},
      {120, {{"Width", 87}, {"Height", 39}}, 109, 49, 87, 39},
      {96, {{"Width", 100}, {"Height", 40}}, 100, 40, 100, 40},
  };
  for (const auto& c : cases) {
    Loaded l(c.stored);
    l.window.DpiValue = c.dpi;
    l.Load();
    SaveWindowState(l.form, l.store, l.window);
    EXPECT_EQ(std::tuple(l.window.W, l.window.H, l.form.Dpi, l.store.RawInteger("Width", 0), l.store.RawInteger("Height", 0),
                         l.store.RawInteger("LeftPos", 0)),
              std::tuple(c.w, c.h, c.dpi, c.savedW, c.savedH, l.window.L)) << c.dpi;
  }
}

}  // namespace
