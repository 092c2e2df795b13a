#include "settings/OptionsPages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <strings.h>
#include <tuple>

#include "support/MemorySettings.h"

namespace {

using Texts = std::vector<std::string>;

// A page's controls as Windows keeps them: a sorted list places its items, selecting
// an item shows its text (a list with nothing selected has none), a trackbar clamps.
struct TFakeControl {
  bool Checked = false, Enabled = true;
  int Low = 0, High = 100, Pos = 0, Selection = -1;
  TColor Colour = 0;
  Texts Items;
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
    Texts& items = C[id].Items;
    items.insert(id == IDC_ADAPTER_LIST ? std::upper_bound(items.begin(), items.end(), text) : items.end(), text);
  }
  void InsertItem(int id, int index, const std::string& text) override {
    C[id].Items.insert(C[id].Items.begin() + index, text);
  }
  int FindItem(int id, const std::string& text) override {
    const Texts& items = C[id].Items;
    const auto it = std::find_if(items.begin(), items.end(), [&](auto& i) { return !strcasecmp(i.c_str(), text.c_str()); });
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
  }
  int Selection(int id) override { return C[id].Selection; }
  void Select(int id, int index) override { C[id].Selection = index, C[id].Text = index < 0 ? "" : C[id].Items.at(index); }
  std::string Text(int id) override { return C[id].Text; }
  void SetText(int id, const std::string& text) override { C[id].Text = text; }
};

TColor FakeSystemColour(int32_t index) { return 0x10000 + index; }
const Texts Adapters = {"NIC B", "Wi-Fi", "NIC A", "NIC B"};

// A radio button's click checks it and clears its partner; a check box's flips it.
void Click(TFakePage& page, int id) {
  static const std::map<int, int> radios = {{IDC_GRAPH_AUTO, IDC_GRAPH_MANUAL}, {IDC_GRAPH_MANUAL, IDC_GRAPH_AUTO},
                                            {IDC_TRAY_AUTO, IDC_TRAY_MANUAL}, {IDC_TRAY_MANUAL, IDC_TRAY_AUTO}};
  const auto radio = radios.find(id);
  page.C[id].Checked = radio != radios.end() || !page.C[id].Checked;
  if (radio != radios.end()) page.C[radio->second].Checked = false;
}

std::vector<int> Disabled(const TFakePage& page) {
  std::vector<int> out;
  for (const auto& [id, control] : page.C)
    if (!control.Enabled) out.push_back(id);
  return out;
}

// What each page writes, in order, from an empty store; what it disables at first, and
// after the user clicks the sources of the enabling rules.
TEST(OptionsPages, EachPageWritesItsValuesInOrderAndEnablesWhatItsChoicesAllow) {
  using P = TOptionsPage;
  const struct { P page; Texts writes; std::vector<int> disabled, clicked, disabledThen; } cases[] = {
      {P::General, {"AdapterAuto=1", "EnableLogging=0", "LogFile=transfer_log.txt"}, {}, {}, {}},
      {P::Window,
       {"AutoHide=0", "AutoRunAway=0", "StayOnTop=0", "GoFlat=1", "UseTransparency=0", "MouseClickThru=0", "Shadow=1",
        "AlphaValue=255", "FlatBorderColor=65542"},
       {IDC_OPACITY, IDC_CLICK_THRU}, {IDC_TRANSPARENCY}, {}},
      {P::Graph,
       {"BGColor=65541", "GridColor=15724527", "GridColor2=15724527", "UpColor=3211263", "DnColor=1381887",
        "ShowGrid=1", "AutoScale=1", "ScaleBallance=50", "ScaleMax=33000", "GridMode=0"},
       {IDC_GRAPH_SCALE}, {IDC_GRAPH_MANUAL, IDC_SHOW_GRID}, {IDC_GRID_COLOUR}},
      {P::Tray,
       {"TrayFrameColor=65542", "TrayUpColor=3211263", "TrayDnColor=1381887", "TrayAutoScale=1",
        "TrayScaleBallance=50", "TrayMode=1", "TrayScaleMax=33000"},
       {IDC_TRAY_SCALE}, {IDC_TRAY_MANUAL}, {}},
      {P::Tray, {}, {IDC_TRAY_SCALE}, {IDC_TRAY_MANUAL, IDC_TRAY_AUTO}, {IDC_TRAY_SCALE}},
  };
  for (const auto& c : cases) {
    TMemorySettings store;
    TFakePage page;
    InitPage(c.page, page, {store, Adapters, &FakeSystemColour});
    const auto shown = std::tuple(store.Written.size(), Disabled(page));  // showing a page writes nothing
    if (!c.writes.empty()) ApplyPage(c.page, page, store);
    for (int id : c.clicked) Click(page, id), PageCommand(c.page, page, id);
    const int calls = page.EnableCalls;
    PageCommand(c.page, page, c.clicked.empty() ? 0 : c.clicked.back());  // a repeat changes nothing
    EXPECT_EQ(std::tuple(shown, store.Written, Disabled(page), page.EnableCalls),
              std::tuple(std::tuple(0u, c.disabled), c.writes, c.disabledThen, calls)) << static_cast<int>(c.page);
  }
}

TEST(OptionsPages, StoredValuesComeBackUnchangedExceptWhatTheControlsCannotShow) {
  TMemorySettings store;
  store.SetText("Adapter", "nic a"), store.SetText("LogFile", "C:\\t.log");
  for (const auto& [name, value] : std::map<std::string, int32_t>{
           {"EnableLogging", 1}, {"AlphaValue", 300}, {"UseTransparency", 2}, {"ScaleBallance", 75}, {"GridMode", 3},
           {"ScaleMax", 33001}, {"TrayMode", 3}, {"TrayScaleMax", 110000000}, {"TrayAutoScale", 0}, {"UpColor", -1}})
    store.SetInteger(name, value);
  TFakePage page;
  for (auto p : {TOptionsPage::General, TOptionsPage::Window, TOptionsPage::Graph, TOptionsPage::Tray}) {
    InitPage(p, page, {store, Adapters, &FakeSystemColour});
    ApplyPage(p, page, store);
  }
  // the adapter chosen ignoring case and written as listed; alpha out of range clamped, 2 read as
  // off; a grid mode not in the list writes 0; the scale shown in whole KB/s
  for (const char* written : {"Adapter=NIC A", "EnableLogging=1", "LogFile=C:\\t.log", "AlphaValue=255", "UseTransparency=0",
                              "ScaleBallance=75", "GridMode=0", "ScaleMax=32768", "TrayMode=3", "TrayScaleMax=110000000",
                              "TrayAutoScale=0", "UpColor=-1"})
    EXPECT_EQ(std::count(store.Written.begin(), store.Written.end(), written), 1) << written;
  // Manual shows the opposite of Auto
  EXPECT_EQ(std::tuple(page.C[IDC_GRAPH_DOWN_LABEL].Text, page.C[IDC_GRAPH_MANUAL].Checked, page.C[IDC_TRAY_MANUAL].Checked),
            std::tuple("DownLink 53%", false, true));
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
    EXPECT_EQ(std::tuple(page.C[IDC_GRAPH_SCALE].Items.size(), page.Selection(IDC_GRAPH_SCALE), page.Text(IDC_GRAPH_SCALE),
                         ReadScaleCombo(page, IDC_GRAPH_SCALE)),
              std::tuple(12u, c.selected, c.shown, c.written)) << c.stored;
  }
  const struct { const char* typed; int32_t written; } typed[] = {
      {"100", 102400}, {"12.5", 12288}, {"", 0}, {"  +7", 7168}, {"2097151", 2097151 * 1024},
      {"9999999999999999999", 2097151 * 1024}, {"99999999999999999999999", 2097151 * 1024}, {"-99999999", INT32_MIN},
      {"1Gbit", 110000000}, {"512KBIT", 65000}, {"1 Gbit", 1024},
  };
  for (const auto& c : typed) {
    TFakePage page;
    FillScaleCombo(page, IDC_TRAY_SCALE, 33000);
    page.Select(IDC_TRAY_SCALE, -1), page.SetText(IDC_TRAY_SCALE, c.typed);  // typing drops the list's selection
    EXPECT_EQ(ReadScaleCombo(page, IDC_TRAY_SCALE), c.written) << '"' << c.typed << '"';
  }
}

TEST(OptionsPages, BalanceLabels) {
  const struct { int position; const char *down, *up; } cases[] = {
      {50, "DownLink 100%", "UpLink 100%"}, {51, "DownLink 96%", "UpLink 100%"}, {48, "DownLink 100%", "UpLink 95%"},
      {500, "DownLink 10%", "UpLink 100%"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BalanceLabels(c.position), std::make_pair(std::string(c.down), std::string(c.up))) << c.position;
}

TEST(OptionsPages, DataPlanShowsAndWritesItsValuesWithinRange) {
  // stored: limit, download only, start day, alert; typed: limit and alert; then written
  const struct { int32_t limit, only, start, alert; const char *typedLimit, *typedAlert; Texts shown, written; } cases[] = {
      {50, 1, 31, 0, "50", "1", {"50", "Download only", "31", "1"},
       {"PlanLimitGB=50", "PlanDownloadOnly=1", "PlanStartDay=31", "PlanAlertPercent=1"}},
      {-5, 0, 40, 300, "abc", "", {"0", "Download and upload", "31", "100"},
       {"PlanLimitGB=0", "PlanDownloadOnly=0", "PlanStartDay=31", "PlanAlertPercent=80"}},
      {0, 0, 1, 80, "99999999999", "150", {"0", "Download and upload", "1", "80"},
       {"PlanLimitGB=2147483647", "PlanDownloadOnly=0", "PlanStartDay=1", "PlanAlertPercent=100"}},
  };
  for (const auto& c : cases) {
    TMemorySettings store;
    store.SetInteger("PlanLimitGB", c.limit), store.SetInteger("PlanDownloadOnly", c.only);
    store.SetInteger("PlanStartDay", c.start), store.SetInteger("PlanAlertPercent", c.alert);
    TFakePage page;
    InitPage(TOptionsPage::Plan, page, {store, Adapters, nullptr});
    EXPECT_EQ((Texts{page.Text(IDC_PLAN_LIMIT), page.Text(IDC_PLAN_COUNTS), page.Text(IDC_PLAN_START_DAY),
                     page.Text(IDC_PLAN_ALERT)}), c.shown) << c.limit;
    page.SetText(IDC_PLAN_LIMIT, c.typedLimit), page.SetText(IDC_PLAN_ALERT, c.typedAlert);
    ApplyPage(TOptionsPage::Plan, page, store);
    EXPECT_EQ(store.Written, c.written) << c.limit;
  }
}

}  // namespace
