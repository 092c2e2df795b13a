#include "settings/OptionsPages.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "settings/LinkSpeeds.h"
#include "settings/PlanPage.h"

namespace {

// The sheet's own defaults; some differ from what the main form assumes at load.
constexpr int32_t DefaultScaleMax = 33000;
constexpr TColor DefaultGridColour = 0xEFEFEF;
constexpr TColor DefaultUpColour = 0x30FFFF;
constexpr TColor DefaultDownColour = 0x1515FF;

constexpr const char* GridModeNames[] = {"Horisontal", "Vertical", "Full"};
constexpr const char* TrayModeNames[] = {"Mode1 - bricks", "Mode2 - full tower", "Mode3 - mini graph",
                                         "Mode4 - bars"};

// Whole KB/s that still fit a signed 32-bit octet count once multiplied by 1024.
constexpr int64_t MaxScaleKb = 2097151, MinScaleKb = -2097152;

TColor SystemColourNow(const TOptionsSource& source, int32_t index) {
  return source.SystemColour ? source.SystemColour(index) : SystemColour(index);
}

void InitCheck(TPageControls& c, TSettings& s, int id, const char* name, bool def) {
  c.SetChecked(id, s.ReadBool(name, def));
}

// An Auto radio button from its setting; its Manual partner shows the opposite.
void InitAutoManual(TPageControls& c, TSettings& s, int autoId, int manualId, const char* name) {
  const bool automatic = s.ReadBool(name, true);
  c.SetChecked(autoId, automatic);
  c.SetChecked(manualId, !automatic);
}

void InitColour(TPageControls& c, TSettings& s, int id, const char* name, TColor def) {
  c.SetColour(id, static_cast<TColor>(s.ReadInteger(name, static_cast<int32_t>(def))));
}

// The range before the position, so the position is not clamped to the old range.
void InitTrack(TPageControls& c, TSettings& s, int id, int low, int high, const char* name, int32_t def) {
  c.SetTrackRange(id, low, high);
  c.SetTrackPos(id, s.ReadInteger(name, def));
}

template <size_t N>
void InitModes(TPageControls& c, int id, const char* const (&names)[N], int32_t index) {
  for (const char* name : names) c.AddItem(id, name, 0);
  c.Select(id, index >= 0 && index < static_cast<int32_t>(N) ? index : -1);
}

void ApplyColour(TPageControls& c, TSettings& s, int id, const char* name) {
  s.WriteInteger(name, static_cast<int32_t>(c.Colour(id)));
}

void SetEnabledIfChanged(TPageControls& c, int id, bool on) {
  if (c.Enabled(id) != on) c.SetEnabled(id, on);
}

void ShowBalance(TPageControls& c, int trackbar, int downLabel, int upLabel) {
  const auto [down, up] = BalanceLabels(c.TrackPos(trackbar));
  c.SetText(downLabel, down);
  c.SetText(upLabel, up);
}

void InitGeneral(TPageControls& c, const TOptionsSource& src) {
  TSettings& s = src.Store;
  for (const std::string& adapter : src.Adapters) c.AddItem(IDC_ADAPTER_LIST, adapter, 0);
  // placed after the sorted ones, so none of them goes before it
  c.InsertItem(IDC_ADAPTER_LIST, 0, AutomaticAdapterItem);
  const std::string adapter = s.ReadString("Adapter", "");
  // a first start, with nothing chosen yet, is offered the automatic choice
  const bool automatic = s.ReadBool("AdapterAuto", false) || adapter.empty();
  c.Select(IDC_ADAPTER_LIST, automatic ? 0 : c.FindItem(IDC_ADAPTER_LIST, adapter));
  InitCheck(c, s, IDC_LOGGING, "EnableLogging", false);
  c.SetText(IDC_LOG_FILE, s.ReadString("LogFile", "transfer_log.txt"));
}

void InitWindow(TPageControls& c, const TOptionsSource& src) {
  TSettings& s = src.Store;
  InitCheck(c, s, IDC_TRANSPARENCY, "UseTransparency", false);
  InitCheck(c, s, IDC_CLICK_THRU, "MouseClickThru", false);
  InitCheck(c, s, IDC_SHADOW, "Shadow", true);
  InitTrack(c, s, IDC_OPACITY, 1, 255, "AlphaValue", 255);
  InitCheck(c, s, IDC_AUTO_HIDE, "AutoHide", false);
  InitCheck(c, s, IDC_RUN_AWAY, "AutoRunAway", false);
  InitCheck(c, s, IDC_STAY_ON_TOP, "StayOnTop", false);
  InitCheck(c, s, IDC_GO_FLAT, "GoFlat", true);
  InitColour(c, s, IDC_FLAT_BORDER_COLOUR, "FlatBorderColor", SystemColourNow(src, SysColorWindowFrame));
}

void InitGraph(TPageControls& c, const TOptionsSource& src) {
  TSettings& s = src.Store;
  InitColour(c, s, IDC_BACKGROUND_COLOUR, "BGColor", SystemColourNow(src, SysColorWindow));
  InitColour(c, s, IDC_GRID_COLOUR, "GridColor", DefaultGridColour);
  InitColour(c, s, IDC_GRID_COLOUR2, "GridColor2", DefaultGridColour);
  InitColour(c, s, IDC_UP_COLOUR, "UpColor", DefaultUpColour);
  InitColour(c, s, IDC_DOWN_COLOUR, "DnColor", DefaultDownColour);
  InitCheck(c, s, IDC_SHOW_GRID, "ShowGrid", true);
  InitAutoManual(c, s, IDC_GRAPH_AUTO, IDC_GRAPH_MANUAL, "AutoScale");
  InitTrack(c, s, IDC_GRAPH_BALANCE, 1, 99, "ScaleBallance", 50);
  InitModes(c, IDC_GRID_MODE, GridModeNames, s.ReadInteger("GridMode", 0));
  FillScaleCombo(c, IDC_GRAPH_SCALE, s.ReadInteger("ScaleMax", DefaultScaleMax));
}

void InitTray(TPageControls& c, const TOptionsSource& src) {
  TSettings& s = src.Store;
  InitColour(c, s, IDC_TRAY_FRAME_COLOUR, "TrayFrameColor", SystemColourNow(src, SysColorWindowFrame));
  InitColour(c, s, IDC_TRAY_UP_COLOUR, "TrayUpColor", DefaultUpColour);
  InitColour(c, s, IDC_TRAY_DOWN_COLOUR, "TrayDnColor", DefaultDownColour);
  InitAutoManual(c, s, IDC_TRAY_AUTO, IDC_TRAY_MANUAL, "TrayAutoScale");
  InitTrack(c, s, IDC_TRAY_BALANCE, 1, 99, "TrayScaleBallance", 50);
  ShowBalance(c, IDC_TRAY_BALANCE, IDC_TRAY_DOWN_LABEL, IDC_TRAY_UP_LABEL);
  FillScaleCombo(c, IDC_TRAY_SCALE, s.ReadInteger("TrayScaleMax", DefaultScaleMax));
  InitModes(c, IDC_TRAY_MODE, TrayModeNames, s.ReadInteger("TrayMode", 1));
}

}  // namespace

void InitPage(TOptionsPage page, TPageControls& controls, const TOptionsSource& source) {
  switch (page) {
    case TOptionsPage::General: InitGeneral(controls, source); break;
    case TOptionsPage::Window: InitWindow(controls, source); break;
    case TOptionsPage::Graph: InitGraph(controls, source); break;
    case TOptionsPage::Tray: InitTray(controls, source); break;  // shows its labels itself
    case TOptionsPage::Plan: InitPlanPage(controls, source.Store); break;
  }
  UpdatePageEnabling(page, controls);
  if (page == TOptionsPage::Graph) PageScroll(page, controls);
}

void ApplyPage(TOptionsPage page, TPageControls& c, TSettings& s) {
  switch (page) {
    case TOptionsPage::General:
      // "Adapter" keeps naming the adapter followed, for the main form and for a
      // version without the automatic choice.
      if (c.Selection(IDC_ADAPTER_LIST) == 0 && c.Text(IDC_ADAPTER_LIST) == AutomaticAdapterItem) {
        s.WriteBool("AdapterAuto", true);
      } else {
        s.WriteString("Adapter", c.Text(IDC_ADAPTER_LIST));
        s.WriteBool("AdapterAuto", false);
      }
      s.WriteBool("EnableLogging", c.Checked(IDC_LOGGING));
      s.WriteString("LogFile", c.Text(IDC_LOG_FILE));
      break;
    case TOptionsPage::Window:
      s.WriteBool("AutoHide", c.Checked(IDC_AUTO_HIDE));
      s.WriteBool("AutoRunAway", c.Checked(IDC_RUN_AWAY));
      s.WriteBool("StayOnTop", c.Checked(IDC_STAY_ON_TOP));
      s.WriteBool("GoFlat", c.Checked(IDC_GO_FLAT));
      s.WriteBool("UseTransparency", c.Checked(IDC_TRANSPARENCY));
      s.WriteBool("MouseClickThru", c.Checked(IDC_CLICK_THRU));
      s.WriteBool("Shadow", c.Checked(IDC_SHADOW));
      s.WriteInteger("AlphaValue", c.TrackPos(IDC_OPACITY));
      ApplyColour(c, s, IDC_FLAT_BORDER_COLOUR, "FlatBorderColor");
      break;
    case TOptionsPage::Graph:
      ApplyColour(c, s, IDC_BACKGROUND_COLOUR, "BGColor");
      ApplyColour(c, s, IDC_GRID_COLOUR, "GridColor");
      ApplyColour(c, s, IDC_GRID_COLOUR2, "GridColor2");
      ApplyColour(c, s, IDC_UP_COLOUR, "UpColor");
      ApplyColour(c, s, IDC_DOWN_COLOUR, "DnColor");
      s.WriteBool("ShowGrid", c.Checked(IDC_SHOW_GRID));
      s.WriteBool("AutoScale", c.Checked(IDC_GRAPH_AUTO));
      s.WriteInteger("ScaleBallance", c.TrackPos(IDC_GRAPH_BALANCE));
      s.WriteInteger("ScaleMax", ReadScaleCombo(c, IDC_GRAPH_SCALE));
      s.WriteInteger("GridMode", std::max(c.Selection(IDC_GRID_MODE), 0));
      break;
    case TOptionsPage::Tray:
      ApplyColour(c, s, IDC_TRAY_FRAME_COLOUR, "TrayFrameColor");
      ApplyColour(c, s, IDC_TRAY_UP_COLOUR, "TrayUpColor");
      ApplyColour(c, s, IDC_TRAY_DOWN_COLOUR, "TrayDnColor");
      s.WriteBool("TrayAutoScale", c.Checked(IDC_TRAY_AUTO));
      s.WriteInteger("TrayScaleBallance", c.TrackPos(IDC_TRAY_BALANCE));
      s.WriteInteger("TrayMode", std::max(c.Selection(IDC_TRAY_MODE), 0));
      s.WriteInteger("TrayScaleMax", ReadScaleCombo(c, IDC_TRAY_SCALE));
      break;
    case TOptionsPage::Plan:
      ApplyPlanPage(c, s);
      break;
  }
}

void PageCommand(TOptionsPage page, TPageControls& controls, int id) {
  bool follows = false;
  switch (page) {
    case TOptionsPage::General: break;
    case TOptionsPage::Window: follows = id == IDC_TRANSPARENCY; break;
    case TOptionsPage::Graph:
      follows = id == IDC_SHOW_GRID || id == IDC_GRAPH_AUTO || id == IDC_GRAPH_MANUAL || id == IDC_GRAPH_SCALE;
      break;
    case TOptionsPage::Tray: follows = id == IDC_TRAY_SCALE || id == IDC_TRAY_MANUAL || id == IDC_TRAY_AUTO; break;
    case TOptionsPage::Plan: break;
  }
  if (follows) UpdatePageEnabling(page, controls);
}

void PageScroll(TOptionsPage page, TPageControls& controls) {
  if (page == TOptionsPage::Graph) ShowBalance(controls, IDC_GRAPH_BALANCE, IDC_GRAPH_DOWN_LABEL, IDC_GRAPH_UP_LABEL);
  if (page == TOptionsPage::Tray) ShowBalance(controls, IDC_TRAY_BALANCE, IDC_TRAY_DOWN_LABEL, IDC_TRAY_UP_LABEL);
}

void UpdatePageEnabling(TOptionsPage page, TPageControls& c) {
  switch (page) {
    case TOptionsPage::General: break;
    case TOptionsPage::Window: {
      const bool translucent = c.Checked(IDC_TRANSPARENCY);
      SetEnabledIfChanged(c, IDC_OPACITY, translucent);
      SetEnabledIfChanged(c, IDC_CLICK_THRU, translucent);
      break;
    }
    case TOptionsPage::Graph: {
      SetEnabledIfChanged(c, IDC_GRID_COLOUR, c.Checked(IDC_SHOW_GRID));
      // the manual scale matters only while the graph does not scale itself; the balance
      // acts on either scale, so it stays enabled
      SetEnabledIfChanged(c, IDC_GRAPH_SCALE, !c.Checked(IDC_GRAPH_AUTO));
      break;
    }
    case TOptionsPage::Tray:
      SetEnabledIfChanged(c, IDC_TRAY_SCALE, !c.Checked(IDC_TRAY_AUTO));
      break;
    case TOptionsPage::Plan: break;
  }
}

std::pair<std::string, std::string> BalanceLabels(int position) {
  const int p = std::clamp(position, 1, 99);
  const int d = std::abs(p - 50) + 1;
  // 100 - d x 90 / 50 rounded; d x 90 / 50 never ends in a half
  const std::string q = std::to_string(100 - (d * 90 + 25) / 50) + "%";
  return {p <= 50 ? "DownLink 100%" : "DownLink " + q, p >= 50 ? "UpLink 100%" : "UpLink " + q};
}

void FillScaleCombo(TPageControls& c, int id, int32_t value) {
  std::string text = std::to_string(value / 1024);
  for (const TLinkSpeed& speed : LinkSpeedList) {
    c.AddItem(id, speed.Name, speed.Value);
    if (value == speed.Value) text = speed.Name;
  }
  const int found = c.FindItem(id, text);
  c.Select(id, found);
  if (found < 0) c.SetText(id, text);  // the stored value in whole KB/s
}

int32_t ReadScaleCombo(TPageControls& c, int id) {
  constexpr int count = static_cast<int>(std::size(LinkSpeedList));
  const int chosen = c.Selection(id);
  if (chosen >= 0 && chosen < count) return LinkSpeedList[chosen].Value;
  const std::string text = c.Text(id);
  // a speed's name typed in full means that speed, not its leading digits in KB/s
  const int named = c.FindItem(id, text);
  if (named >= 0 && named < count) return LinkSpeedList[named].Value;
  return ScaleFromText(text);
}

int32_t ScaleFromText(const std::string& text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '+' || text[i] == '-') ++i;
  int base = 10;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  int64_t n = 0;
  for (; i < text.size(); ++i) {
    const char ch = text[i];
    int digit;
    if (ch >= '0' && ch <= '9') digit = ch - '0';
    else if (base == 16 && ch >= 'a' && ch <= 'f') digit = ch - 'a' + 10;
    else if (base == 16 && ch >= 'A' && ch <= 'F') digit = ch - 'A' + 10;
    else break;
    n = std::min<int64_t>(n * base + digit, MaxScaleKb + 1);  // past the limit the rest cannot matter
  }
  n = std::clamp<int64_t>(negative ? -n : n, MinScaleKb, MaxScaleKb);
  return static_cast<int32_t>(n * 1024);
}
