#include "settings/SettingsCatalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "core/FakeMainWindow.h"
#include "core/MemorySettings.h"

namespace {

using TFakeWindow = TFakeMainWindow;

struct CatalogueFixture : ::testing::Test {
  TMemorySettings store;
  TFakeWindow window;
  TStatsForm form;
  void Load() { LoadSettings(form, store, window); }
};

// The reads of LoadSettings with every conditional read left out.
const std::vector<std::string> kBaseReads = {
    "LeftPos",     "TopPos",         "Width",      "Height",           "Shadow",
    "BGColor",     "FlatBorderColor", "GridColor", "GridColor2",       "UpColor",
    "DnColor",     "ShowGrid",       "GridMode",   "AutoScale",        "TrayAutoScale",
    "ScaleBallance", "TrayScaleBallance", "TrayMode", "TrayUpColor",   "TrayDnColor",
    "TrayFrameColor", "EnableLogging", "UseTransparency", "UseTransparency", "AutoHide",
    "GoFlat",      "StayOnTop",      "UserHide",   "Adapter",          "upload_h",
    "upload_l",    "download_h",     "download_l", "counter_elapsed",  "lastdate",
    "LogFile",
};

std::vector<std::string> With(std::vector<std::string> reads, const std::string& after,
                              const std::string& name) {
  for (auto it = reads.begin(); it != reads.end(); ++it)
    if (*it == after) {
      reads.insert(it + 1, name);
      break;
    }
  return reads;
}

// With "UseTransparency" on: the opacity after its first read, click-through after its second.
std::vector<std::string> TransparentReads() {
  std::vector<std::string> reads;
  int seen = 0;
  for (const auto& n : kBaseReads) {
    reads.push_back(n);
    if (n == "UseTransparency") reads.push_back(++seen == 1 ? "AlphaValue" : "MouseClickThru");
  }
  return reads;
}

TEST(Catalogue, OneEntryPerNameWithItsKind) {
  std::set<std::string, TNoCaseLess> names;
  for (const TSettingDef& d : SettingsCatalogue()) {
    EXPECT_TRUE(names.insert(d.Name).second) << "duplicate " << d.Name;
    EXPECT_EQ(FindSetting(d.Name), &d) << d.Name;
    EXPECT_EQ(d.Kind == TSettingKind::Text, d.TextDefault != nullptr) << d.Name;
    if (d.Kind == TSettingKind::Bool) {
      EXPECT_TRUE(d.Default == 0 || d.Default == 1) << d.Name;
    }
  }
  EXPECT_EQ(names.size(), 40u);
  EXPECT_EQ(FindSetting("NoSuchValue"), nullptr);
  EXPECT_EQ(std::string(SettingsCatalogue().back().Name), "AutoRunAway");
}

TEST_F(CatalogueFixture, EmptyStoreGivesTheDefaults) {
  form.AreaOutlineGrey = 1;
  form.GridColor = 0;
  Load();
  EXPECT_EQ(window.L, 546);
  EXPECT_EQ(window.T, 205);
  EXPECT_EQ(window.W, 87);
  EXPECT_EQ(window.H, 39);
  EXPECT_TRUE(window.Shadow);
  EXPECT_EQ(window.Opacity, 255);
  EXPECT_FALSE(window.OnTop);
  EXPECT_FALSE(window.OnTopChecked);
  EXPECT_FALSE(window.Hidden);
  EXPECT_EQ(form.BGColor, 0x00ABCD05u);
  EXPECT_EQ(form.FlatBorderColor, 0x00ABCD06u);
  EXPECT_EQ(form.TrayFrameColor, 0x00ABCD06u);
  EXPECT_EQ(form.GridColor, 0xEFEFEFu);
  EXPECT_EQ(form.GridColor2, 0xEFEFEFu);
  EXPECT_EQ(form.UpColor, 0x30FFFFu);
  EXPECT_EQ(form.DnColor, 0x1515FFu);
  EXPECT_EQ(form.TrayUpColor, 0x30FFFFu);
  EXPECT_EQ(form.TrayDnColor, 0x1515FFu);
  EXPECT_EQ(form.AreaOutlineGrey, 0x808080u);
  EXPECT_TRUE(form.ShowGrid);
  EXPECT_EQ(form.GridMode, 3);
  EXPECT_TRUE(form.AutoScale);
  EXPECT_TRUE(form.TrayAutoScale);
  EXPECT_EQ(form.GraphScaleMax, 4096);
  EXPECT_EQ(form.TrayScaleMax, 4096);
  EXPECT_EQ(form.ScaleBallance, 50);
  EXPECT_EQ(form.TrayScaleBallance, 50);
  EXPECT_EQ(form.TrayMode, 1);
  EXPECT_FALSE(form.LoggingEnabled);
  EXPECT_FALSE(form.MouseClickThru);
  EXPECT_FALSE(form.AutoHide);
  EXPECT_TRUE(form.GoFlat);
  EXPECT_FALSE(form.UserHidden);
  EXPECT_EQ(form.AdapterName, "");
  EXPECT_EQ(form.UploadCounter, 0);
  EXPECT_EQ(form.DownloadCounter, 0);
  EXPECT_EQ(form.ElapsedCounter, 0u);
  EXPECT_EQ(form.LastDate, 0u);
  EXPECT_EQ(form.LogFilePath, "transfer_log.txt");
  EXPECT_TRUE(store.Names('w').empty()) << "loading never writes defaults";
  EXPECT_EQ(store.Names('r'), kBaseReads);
}

TEST_F(CatalogueFixture, ConditionalReads) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, int32_t>> stored;
    std::vector<std::string> reads;
  } const cases[] = {
      {"manual graph scale", {{"AutoScale", 0}}, With(kBaseReads, "EnableLogging", "ScaleMax")},
      {"manual tray scale", {{"TrayAutoScale", 0}}, With(kBaseReads, "EnableLogging", "TrayScaleMax")},
      {"both manual",
       {{"AutoScale", 0}, {"TrayAutoScale", 0}},
       With(With(kBaseReads, "EnableLogging", "ScaleMax"), "ScaleMax", "TrayScaleMax")},
      {"transparency", {{"UseTransparency", 1}},
       TransparentReads()},
      {"auto scale stored as 2 is off", {{"AutoScale", 2}}, With(kBaseReads, "EnableLogging", "ScaleMax")},
  };
  for (const auto& c : cases) {
    TMemorySettings s;
    for (const auto& [name, value] : c.stored) s.SetInteger(name, value);
    TFakeWindow w;
    TStatsForm f;
    LoadSettings(f, s, w);
    EXPECT_EQ(s.Names('r'), c.reads) << c.what;
  }
}

TEST_F(CatalogueFixture, StoredValuesAndTheirGuards) {
  struct Case {
    const char* name;
    int32_t stored;
    const char* check;
    int64_t expected;
  } const cases[] = {
      {"GridMode", 0, "GridMode", 1},
      {"GridMode", 1, "GridMode", 2},
      {"GridMode", INT32_MAX, "GridMode", INT32_MIN},  // wraps, never overflows
      {"ShowGrid", 2, "ShowGrid", 0},
      {"ShowGrid", 1, "ShowGrid", 1},
      {"EnableLogging", -1, "LoggingEnabled", 0},
      {"ScaleBallance", 150, "ScaleBallance", 150},  // kept; clamped where it is used
      {"TrayMode", 3, "TrayMode", 3},
      {"BGColor", 0x123456, "BGColor", 0x123456},
      {"counter_elapsed", 86400, "ElapsedCounter", 86400},
      {"counter_elapsed", -7, "ElapsedCounter", 0},
      {"lastdate", 739956, "LastDate", 739956},
      {"Width", 0, "Width", 1},
      {"Width", -40, "Width", 1},
      {"Width", 200, "Width", 200},
      {"Width", INT32_MAX, "Width", MaxWindowExtent},
      {"Height", INT32_MIN, "Height", 1},
      {"LeftPos", -1200, "LeftPos", -1200},  // left of the primary monitor is fine
  };
  for (const auto& c : cases) {
    TMemorySettings s;
    s.SetInteger(c.name, c.stored);
    TFakeWindow w;
    TStatsForm f;
    LoadSettings(f, s, w);
    const std::string k = c.check;
    const auto got = [&]() -> int64_t {
      if (k == "GridMode") return f.GridMode;
      if (k == "ShowGrid") return f.ShowGrid;
      if (k == "LoggingEnabled") return f.LoggingEnabled;
      if (k == "ScaleBallance") return f.ScaleBallance;
      if (k == "TrayMode") return f.TrayMode;
      if (k == "BGColor") return f.BGColor;
      if (k == "ElapsedCounter") return f.ElapsedCounter;
      if (k == "LastDate") return f.LastDate;
      if (k == "Width") return w.W;
      if (k == "Height") return w.H;
      return w.L;
    }();
    EXPECT_EQ(got, c.expected) << c.name << " stored as " << c.stored;
    EXPECT_TRUE(s.Names('w').empty()) << c.name;
  }
}

TEST_F(CatalogueFixture, ScalesOpacityAndClickThrough) {
  struct Case {
    const char* what;
    std::vector<std::pair<const char*, int32_t>> stored;
    int32_t graph, tray, opacity;
    bool clickThru;
  } const cases[] = {
      {"auto ignores stored", {{"ScaleMax", 1}, {"TrayScaleMax", 2}}, 4096, 4096, 255, false},
      {"manual, none stored", {{"AutoScale", 0}, {"TrayAutoScale", 0}}, 32768, 32768, 255, false},
      {"manual typed 100", {{"AutoScale", 0}, {"ScaleMax", 102400}}, 102400, 4096, 255, false},
      {"manual 0", {{"AutoScale", 0}, {"ScaleMax", 0}, {"TrayAutoScale", 0}, {"TrayScaleMax", 0}},
       4096, 4096, 255, false},
      {"manual negative", {{"TrayAutoScale", 0}, {"TrayScaleMax", INT32_MIN}}, 4096, 4096, 255, false},
      {"opaque without transparency",
       {{"AlphaValue", 10}, {"MouseClickThru", 1}}, 4096, 4096, 255, false},
      {"translucent", {{"UseTransparency", 1}, {"AlphaValue", 128}}, 4096, 4096, 128, false},
      {"translucent, no alpha", {{"UseTransparency", 1}, {"MouseClickThru", 1}}, 4096, 4096, 255, true},
      {"alpha 0 is invisible", {{"UseTransparency", 1}, {"AlphaValue", 0}}, 4096, 4096, 0, false},
      {"alpha past 255", {{"UseTransparency", 1}, {"AlphaValue", 256}}, 4096, 4096, 255, false},
      {"alpha negative", {{"UseTransparency", 1}, {"AlphaValue", -1}}, 4096, 4096, 0, false},
  };
  for (const auto& c : cases) {
    TMemorySettings s;
    for (const auto& [name, value] : c.stored) s.SetInteger(name, value);
    TFakeWindow w;
    TStatsForm f;
    f.GraphScaleMax = f.TrayScaleMax = 99999;  // a load restarts automatic scaling
    LoadSettings(f, s, w);
    EXPECT_EQ(f.GraphScaleMax, c.graph) << c.what;
    EXPECT_EQ(f.TrayScaleMax, c.tray) << c.what;
    EXPECT_EQ(w.Opacity, c.opacity) << c.what;
    EXPECT_EQ(f.MouseClickThru, c.clickThru) << c.what;
  }
}

TEST_F(CatalogueFixture, CountersJoinHighBeforeLow) {
  store.SetInteger("upload_h", 1);
  store.SetInteger("upload_l", -1);
  store.SetInteger("download_h", 0);
  store.SetInteger("download_l", INT32_MIN);
  Load();
  EXPECT_EQ(form.UploadCounter, INT64_C(8589934591));
  EXPECT_EQ(form.DownloadCounter, INT64_C(2147483648));
}

TEST_F(CatalogueFixture, WindowIsMovedThenResizedThenStyled) {
  store.SetInteger("LeftPos", 10);
  store.SetInteger("Height", 120);
  store.SetBool("StayOnTop", true);
  store.SetBool("UserHide", true);
  Load();
  EXPECT_EQ(window.Calls, (std::vector<std::string>{"move", "resize", "shadow", "opacity", "ontop",
                                                    "check", "hide"}));
  EXPECT_EQ(window.L, 10);
  EXPECT_EQ(window.T, 205) << "a missing value leaves that coordinate alone";
  EXPECT_EQ(window.W, 87);
  EXPECT_EQ(window.H, 120);
  EXPECT_TRUE(window.OnTop);
  EXPECT_TRUE(window.OnTopChecked);
  EXPECT_TRUE(form.UserHidden);
  EXPECT_TRUE(window.Hidden);
}

TEST_F(CatalogueFixture, StayOnTopCheckFollowsTheWindowNotTheStore) {
  store.SetBool("StayOnTop", true);
  window.TopmostRefused = true;
  Load();
  EXPECT_FALSE(window.OnTopChecked);
}

TEST_F(CatalogueFixture, SaveWindowStateWritesSixValuesAndReloads) {
  window.L = -300;
  window.T = 40;
  window.W = 250;
  window.H = 90;
  window.OnTop = true;
  form.UserHidden = true;
  SaveWindowState(form, store, window);
  EXPECT_EQ(store.Names('w'), (std::vector<std::string>{"LeftPos", "TopPos", "Width", "Height",
                                                        "StayOnTop", "UserHide"}));
  EXPECT_EQ(store.RawInteger("StayOnTop", 9), 1);
  EXPECT_EQ(store.RawInteger("UserHide", 9), 1);

  TFakeWindow fresh;
  TStatsForm f;
  LoadSettings(f, store, fresh);
  EXPECT_EQ(fresh.L, -300);
  EXPECT_EQ(fresh.T, 40);
  EXPECT_EQ(fresh.W, 250);
  EXPECT_EQ(fresh.H, 90);
  EXPECT_TRUE(fresh.OnTop);
  EXPECT_TRUE(f.UserHidden);
}

TEST_F(CatalogueFixture, TextsAndAFailedStore) {
  store.SetText("Adapter", "Intel(R) PRO/1000");
  store.SetText("LogFile", "");
  Load();
  EXPECT_EQ(form.AdapterName, "Intel(R) PRO/1000");
  EXPECT_EQ(form.LogFilePath, "") << "an empty text stored is not the default";

  TMemorySettings failed;
  failed.Failed = true;
  failed.SetText("LogFile", "other.txt");
  failed.SetInteger("GridMode", 0);
  TStatsForm f;
  TFakeWindow w;
  LoadSettings(f, failed, w);
  EXPECT_EQ(f.LogFilePath, "transfer_log.txt");
  EXPECT_EQ(f.GridMode, 3);
}

}  // namespace
