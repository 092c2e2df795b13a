#include "app/LoadSettings.h"

#include <algorithm>

#include "render/Scaling.h"
#include "settings/Settings.h"
#include "settings/SettingsCatalogue.h"

namespace {

using F = TDefaultFrom;

// Reads through the catalogue so a name and its default are spelled once.
class TReader {
public:
  TReader(TSettings& store, TGraphWindow& window) : store_(store), window_(window) {}

  int32_t Integer(const char* name) {
    const TSettingDef& d = Def(name);
    return store_.ReadInteger(d.Name, Default(d));
  }
  TColor Colour(const char* name) { return static_cast<TColor>(Integer(name)); }
  bool Bool(const char* name) {
    const TSettingDef& d = Def(name);
    return store_.ReadBool(d.Name, d.Default != 0);
  }
  std::string Text(const char* name) {
    const TSettingDef& d = Def(name);
    return store_.ReadString(d.Name, d.TextDefault ? d.TextDefault : "");
  }

private:
  static const TSettingDef& Def(const char* name) {
    // Every name used here is in the table; a typo would fail every test at once.
    return *FindSetting(name);
  }
  int32_t Default(const TSettingDef& d) {
    switch (d.From) {
      case F::WindowLeft: return window_.Left();
      case F::WindowTop: return window_.Top();
      case F::WindowWidth: return window_.Width();
      case F::WindowHeight: return window_.Height();
      case F::SystemColour: return static_cast<int32_t>(window_.SystemColour(d.Default));
      case F::Constant: break;
    }
    return d.Default;
  }

  TSettings& store_;
  TGraphWindow& window_;
};

int32_t ClampExtent(int32_t v) { return std::clamp(v, MinWindowExtent, MaxWindowExtent); }

}  // namespace

void LoadSettings(TStatsForm& form, TSettings& store, TGraphWindow& window) {
  TReader r(store, window);

  const int32_t left = r.Integer("LeftPos");
  const int32_t top = r.Integer("TopPos");
  const int32_t width = r.Integer("Width");
  const int32_t height = r.Integer("Height");
  window.Move(left, top);
  // A size far out of range would size the history and the back buffer from it.
  window.Resize(ClampExtent(width), ClampExtent(height));

  window.SetDropShadow(r.Bool("Shadow"));

  form.BGColor = r.Colour("BGColor");
  form.FlatBorderColor = r.Colour("FlatBorderColor");
  form.GridColor = r.Colour("GridColor");
  form.GridColor2 = r.Colour("GridColor2");
  form.UpColor = r.Colour("UpColor");
  form.DnColor = r.Colour("DnColor");
  form.AreaOutlineGrey = 0x808080;

  form.ShowGrid = r.Bool("ShowGrid");
  // Only bits 0 and 1 mean anything; computed unsigned so 2^31 - 1 cannot overflow.
  form.GridMode = static_cast<int32_t>(static_cast<uint32_t>(r.Integer("GridMode")) + 1u);

  form.AutoScale = r.Bool("AutoScale");
  form.TrayAutoScale = r.Bool("TrayAutoScale");
  // Balances stay as stored; DirectionScales clamps them where they are used.
  form.ScaleBallance = r.Integer("ScaleBallance");
  form.TrayScaleBallance = r.Integer("TrayScaleBallance");
  form.TrayMode = r.Integer("TrayMode");
  form.TrayUpColor = r.Colour("TrayUpColor");
  form.TrayDnColor = r.Colour("TrayDnColor");
  form.TrayFrameColor = r.Colour("TrayFrameColor");
  form.LoggingEnabled = r.Bool("EnableLogging");

  // A manual scale of 0 or below would be divided by; it counts as the automatic start.
  form.GraphScaleMax = DefaultScaleMax;
  if (!form.AutoScale) form.GraphScaleMax = UsableScale(r.Integer("ScaleMax"));
  form.TrayScaleMax = DefaultScaleMax;
  if (!form.TrayAutoScale) form.TrayScaleMax = UsableScale(r.Integer("TrayScaleMax"));

  int32_t opacity = 255;
  if (r.Bool("UseTransparency")) opacity = r.Integer("AlphaValue");
  // Clamped rather than cut to 8 bits, where 256 would turn into 0 (invisible).
  window.SetOpacity(static_cast<uint8_t>(std::clamp(opacity, 0, 255)));
  form.MouseClickThru = r.Bool("UseTransparency") && r.Bool("MouseClickThru");

  form.AutoHide = r.Bool("AutoHide");
  form.GoFlat = r.Bool("GoFlat");

  window.SetStayOnTop(r.Bool("StayOnTop"));
  window.SetStayOnTopChecked(window.StayOnTop());

  form.UserHidden = r.Bool("UserHide");
  if (form.UserHidden) window.HideGraph();

  form.AdapterName = r.Text("Adapter");

  form.UploadCounter = ReadCounter64(store, "upload");
  form.DownloadCounter = ReadCounter64(store, "download");

  // Negative is outside the format (the counter stops at 2^31 - 1); start again at 0.
  form.ElapsedCounter = static_cast<uint32_t>(std::max(r.Integer("counter_elapsed"), 0));
  form.LastDate = static_cast<uint32_t>(r.Integer("lastdate"));

  form.LogFilePath = r.Text("LogFile");
}

void SaveWindowState(const TStatsForm& form, TSettings& store, TGraphWindow& window) {
  store.WriteInteger("LeftPos", window.Left());
  store.WriteInteger("TopPos", window.Top());
  store.WriteInteger("Width", window.Width());
  store.WriteInteger("Height", window.Height());
  store.WriteBool("StayOnTop", window.StayOnTop());
  store.WriteBool("UserHide", form.UserHidden);
}
