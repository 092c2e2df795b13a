#include "settings/OptionsPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>

namespace {

// A page's controls as Windows keeps them: a sorted list places its items, selecting
// an item shows its text, a trackbar clamps to its range.
struct TFakeControl {
  bool Checked = false, Enabled = true;
  int Low = 0, High = 100, Pos = 0, Selection = -1;
  TColor Colour = 0;
  std::vector<std::string> Items;
  std::string Text;
};

class TFakePage : public TPageControls {
public:
  std::map<int, TFakeControl> C;
  int EnableCalls = 0;

  bool Checked(int id) override { return C[id].Checked; }
  void SetChecked(int id, bool on) override { C[id].Checked = on; }
  void SetEnabled(int id, bool on) override { C[id].Enabled = on, ++EnableCalls; }
  bool Enabled(int id) override { return C[id].Enabled; }
  int TrackPos(int id) override { return C[id].Pos; }
  void SetTrackRange(int id, int low, int high) override { C[id].Low = low, C[id].High = high; }
  void SetTrackPos(int id, int pos) override { C[id].Pos = std::clamp(pos, C[id].Low, C[id].High); }
  TColor Colour(int id) override { return C[id].Colour; }
  void SetColour(int id, TColor colour) override { C[id].Colour = colour; }
  void AddItem(int id, const std::string& text, int32_t) override {
    auto& items = C[id].Items;
    items.insert(id == IDC_ADAPTER_LIST ? std::upper_bound(items.begin(), items.end(), text) : items.end(), text);
  }
  int FindItem(int id, const std::string& text) override {
    const auto& items = C[id].Items;
    for (size_t i = 0; i < items.size(); ++i)
      if (std::equal(items[i].begin(), items[i].end(), text.begin(), text.end(),
                     [](char a, char b) { return std::tolower(a) == std::tolower(b); }))
        return static_cast<int>(i);
    return -1;
  }
  int Selection(int id) override { return C[id].Selection; }
  void Select(int id, int index) override {
    C[id].Selection = index;
    if (index >= 0) C[id].Text = C[id].Items.at(index);
  }
  std::string Text(int id) override {
    const bool list = id == IDC_ADAPTER_LIST || id == IDC_GRID_MODE || id == IDC_TRAY_MODE;
    return list && C[id].Selection < 0 ? "" : C[id].Text;
  }
  void SetText(int id, const std::string& text) override { C[id].Text = text; }
};

// A store that keeps integers and texts and notes every write as "name=value", in order.
class TNotingStore : public TSettings {
public:
  std::map<std::string, std::string> Values;
  std::vector<std::string> Writes;

  void Open() override {}
  int32_t ReadInteger(const std::string& n, int32_t d) override { return Values.count(n) ? std::stoi(Values[n]) : d; }
  bool ReadBool(const std::string& n, bool d) override { return ReadInteger(n, d) == 1; }
  std::string ReadString(const std::string& n, const std::string& d) override { return Values.count(n) ? Values[n] : d; }
  void WriteInteger(const std::string& n, int32_t v) override { WriteString(n, std::to_string(v)); }
  void WriteBool(const std::string& n, bool v) override { WriteString(n, v ? "1" : "0"); }
  void WriteString(const std::string& n, const std::string& v) override {
    Values[n] = v;
    Writes.push_back(n + "=" + v);
  }
};

TColor FakeSystemColour(int32_t index) { return 0x10000 + index; }

const std::vector<std::string> Adapters = {"NIC B", "Wi-Fi", "NIC A", "NIC B"};

TEST(OptionsPages, EachPageWritesItsValuesInOrderFromTheSheetsDefaults) {
  const struct { TOptionsPage page; std::vector<std::string> writes; std::vector<int> disabled; } cases[] = {
      {TOptionsPage::General, {"Adapter=", "EnableLogging=0", "LogFile=transfer_log.txt"}, {}},
      {TOptionsPage::Window,
       {"AutoHide=0", "AutoRunAway=0", "StayOnTop=0", "GoFlat=1", "UseTransparency=0", "MouseClickThru=0", "Shadow=1",
        "AlphaValue=255", "FlatBorderColor=65542"},
       {IDC_OPACITY, IDC_CLICK_THRU}},
      {TOptionsPage::Graph,
       {"BGColor=65541", "GridColor=15724527", "GridColor2=15724527", "UpColor=3211263", "DnColor=1381887",
        "ShowGrid=1", "AutoScale=1", "ScaleBallance=50", "ScaleMax=33000", "GridMode=0"},
       {IDC_GRAPH_SCALE, IDC_GRAPH_BALANCE}},  // in id order
      {TOptionsPage::Tray,
       {"TrayFrameColor=65542", "TrayUpColor=3211263", "TrayDnColor=1381887", "TrayAutoScale=1",
        "TrayScaleBallance=50", "TrayMode=1", "TrayScaleMax=33000"},
       {IDC_TRAY_SCALE, IDC_TRAY_BALANCE}},
  };
  for (const auto& c : cases) {
    TNotingStore store;
    TFakePage page;
    InitPage(c.page, page, {store, Adapters, &FakeSystemColour});
    EXPECT_TRUE(store.Writes.empty()) << "showing a page writes nothing";
    std::vector<int> disabled;
    for (const auto& [id, control] : page.C)
      if (!control.Enabled) disabled.push_back(id);
    EXPECT_EQ(disabled, c.disabled) << "enabled at first: " << static_cast<int>(c.page);
    ApplyPage(c.page, page, store);
    EXPECT_EQ(store.Writes, c.writes) << static_cast<int>(c.page);
  }
}

TEST(OptionsPages, StoredValuesComeBackUnchangedExceptWhatTheControlsCannotShow) {
  TNotingStore store;
  store.Values = {{"Adapter", "nic a"}, {"EnableLogging", "1"}, {"LogFile", "C:\\t.log"}, {"AlphaValue", "300"},
                  {"UseTransparency", "2"}, {"ScaleBallance", "75"}, {"GridMode", "3"}, {"ScaleMax", "33001"},
                  {"TrayMode", "3"}, {"TrayScaleMax", "110000000"}, {"TrayAutoScale", "0"}, {"UpColor", "-1"}};
  TFakePage page;
  for (auto p : {TOptionsPage::General, TOptionsPage::Window, TOptionsPage::Graph, TOptionsPage::Tray}) {
    InitPage(p, page, {store, Adapters, &FakeSystemColour});
    ApplyPage(p, page, store);
  }
  EXPECT_EQ(page.C[IDC_ADAPTER_LIST].Items, (std::vector<std::string>{"NIC A", "NIC B", "NIC B", "Wi-Fi"}));
  const std::map<std::string, std::string> want = {
      {"Adapter", "NIC A"},  // chosen ignoring case, written as listed
      {"EnableLogging", "1"}, {"LogFile", "C:\\t.log"},
      {"AlphaValue", "255"}, {"UseTransparency", "0"},  // out of range: clamped, read as off
      {"ScaleBallance", "75"}, {"GridMode", "0"},       // a mode not in the list writes 0
      {"ScaleMax", "32768"},                            // shown in whole KB/s
      {"TrayMode", "3"}, {"TrayScaleMax", "110000000"}, {"TrayAutoScale", "0"}, {"UpColor", "-1"}};
  for (const auto& [name, value] : want) EXPECT_EQ(store.Values[name], value) << name;
  EXPECT_EQ(page.C[IDC_GRAPH_DOWN_LABEL].Text, "DownLink 53%");
  EXPECT_EQ((std::vector<bool>{page.C[IDC_GRAPH_MANUAL].Checked, page.C[IDC_TRAY_MANUAL].Checked}),
            (std::vector<bool>{false, true}))
      << "Manual shows the opposite of Auto";
}

TEST(OptionsPages, ScaleComboShowsTheStoredValueAndReadsBackChoiceOrTypedKilobytes) {
  const struct { int32_t stored; int selected; const char* shown; int32_t written; } shown[] = {
      {33000, 4, "256kbit", 33000}, {32768, -1, "32", 32768},       {4500, 0, "Modem 33,6", 4500},
      {110000000, 11, "1Gbit", 110000000}, {1023, -1, "0", 0},      {-3072, -1, "-3", -3072},
      {-3000, -1, "-2", -2048},  // toward zero
  };
  for (const auto& c : shown) {
    TFakePage page;
    FillScaleCombo(page, IDC_GRAPH_SCALE, c.stored);
    EXPECT_EQ(page.C[IDC_GRAPH_SCALE].Items.size(), 12u);
    EXPECT_EQ(page.Selection(IDC_GRAPH_SCALE), c.selected) << c.stored;
    EXPECT_EQ(page.Text(IDC_GRAPH_SCALE), c.shown) << c.stored;
    EXPECT_EQ(ReadScaleCombo(page, IDC_GRAPH_SCALE), c.written) << c.stored;
  }
  const struct { const char* typed; int32_t written; } typed[] = {
      {"100", 102400}, {"abc", 0},   {"$10", 16384},  {"12.5", 12288},   {"-3", -3072},  {"", 0},
      {"  +7", 7168},  {"0x1f", 31744}, {"X1F", 31744}, {"0xg", 0},       {"-$10", -16384}, {"007", 7168},
      {"2097151", 2097151 * 1024}, {"99999999", 2097151 * 1024}, {"99999999999999999999999", 2097151 * 1024},
      {"-99999999", INT32_MIN},    {"1Gbit", 110000000}, {"512KBIT", 65000}, {"1 Gbit", 1024},
  };
  for (const auto& c : typed) {
    TFakePage page;
    FillScaleCombo(page, IDC_TRAY_SCALE, 33000);
    page.Select(IDC_TRAY_SCALE, -1);  // typing drops the list's selection
    page.SetText(IDC_TRAY_SCALE, c.typed);
    EXPECT_EQ(ReadScaleCombo(page, IDC_TRAY_SCALE), c.written) << '"' << c.typed << '"';
  }
}

TEST(OptionsPages, BalanceLabels) {
  const struct { int position; const char *down, *up; } cases[] = {
      {50, "DownLink 100%", "UpLink 100%"}, {51, "DownLink 96%", "UpLink 100%"}, {75, "DownLink 53%", "UpLink 100%"},
      {99, "DownLink 10%", "UpLink 100%"},  {1, "DownLink 100%", "UpLink 10%"},  {49, "DownLink 100%", "UpLink 96%"},
      {0, "DownLink 100%", "UpLink 10%"},   {500, "DownLink 10%", "UpLink 100%"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BalanceLabels(c.position), std::make_pair(std::string(c.down), std::string(c.up))) << c.position;
}

TEST(OptionsPages, EnablingFollowsTransparencyGridAndManualScaling) {
  using P = TOptionsPage;
  using States = std::map<int, bool>;
  const struct { P page; int command; States checks, enabled; } cases[] = {
      {P::Window, IDC_TRANSPARENCY, {{IDC_TRANSPARENCY, false}}, {{IDC_OPACITY, false}, {IDC_CLICK_THRU, false}}},
      {P::Window, IDC_TRANSPARENCY, {{IDC_TRANSPARENCY, true}}, {{IDC_OPACITY, true}, {IDC_CLICK_THRU, true}}},
      {P::Window, IDC_AUTO_HIDE, {{IDC_TRANSPARENCY, false}}, {{IDC_OPACITY, true}}},  // not a source
      {P::Graph, IDC_SHOW_GRID, {{IDC_SHOW_GRID, false}, {IDC_GRAPH_AUTO, true}},
       {{IDC_GRID_COLOUR, false}, {IDC_GRID_COLOUR2, true}, {IDC_GRAPH_BALANCE, false}, {IDC_GRAPH_SCALE, false}}},
      {P::Graph, IDC_GRAPH_MANUAL, {{IDC_SHOW_GRID, true}, {IDC_GRAPH_AUTO, false}},
       {{IDC_GRID_COLOUR, true}, {IDC_GRAPH_BALANCE, true}, {IDC_GRAPH_SCALE, true}}},
      {P::Graph, IDC_TRANSPARENCY, {{IDC_TRANSPARENCY, false}}, {{IDC_OPACITY, true}}},  // another page's rule
      {P::Tray, IDC_TRAY_AUTO, {{IDC_TRAY_AUTO, true}}, {{IDC_TRAY_BALANCE, false}, {IDC_TRAY_SCALE, false}}},
      {P::Tray, IDC_TRAY_MANUAL, {{IDC_TRAY_AUTO, false}}, {{IDC_TRAY_BALANCE, true}, {IDC_TRAY_SCALE, true}}},
  };
  for (const auto& c : cases) {
    TFakePage page;
    for (const auto& [id, on] : c.checks) page.C[id].Checked = on;
    PageCommand(c.page, page, c.command);
    PageCommand(c.page, page, c.command);
    int disabled = 0;
    for (const auto& [id, on] : c.enabled) {
      EXPECT_EQ(page.C[id].Enabled, on) << id << " after " << c.command;
      disabled += !on;
    }
    EXPECT_EQ(page.EnableCalls, disabled) << "only changes are made, after " << c.command;
  }
}

}  // namespace
