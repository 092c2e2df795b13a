#include "app/LoadSettings.h"

#include <algorithm>

#include "app/WindowBehaviours.h"
#include "base/DpiScale.h"
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
      case F::WindowWidth: return ScaleFromDpi(window_.Width(), window_.Dpi());
      case F::WindowHeight: return ScaleFromDpi(window_.Height(), window_.Dpi());
      case F::SystemColour: return static_cast<int32_t>(window_.SystemColour(d.Default));
      case F::Constant: break;
    }
    return d.Default;
  }

  TSettings& store_;
  TGraphWindow& window_;
};

// A position on no monitor at all (one since unplugged, a hand-edited value) would
// leave the window out of reach: it goes onto the nearest work area. One partly off
// the screen stays where it is.
TPoint32 OntoAMonitor(TGraphWindow& window, TPoint32 at, TSize size) {
  const TRect r{at.x, at.y, static_cast<int32_t>(std::min<int64_t>(int64_t{at.x} + size.cx, INT32_MAX)),
                static_cast<int32_t>(std::min<int64_t>(int64_t{at.y} + size.cy, INT32_MAX))};
  if (window.OnAnyMonitor(r)) return at;
  const TRect wa = window.NearestWorkArea(r);
  const auto onto = [](int32_t v, int32_t extent, int32_t lo, int32_t hi) {
    return std::max(std::min<int64_t>(v, int64_t{hi} - extent), int64_t{lo});
  };
  return {static_cast<int32_t>(onto(at.x, size.cx, wa.left, wa.right)),
          static_cast<int32_t>(onto(at.y, size.cy, wa.top, wa.bottom))};
}

}  // namespace

void LoadSettings(TStatsForm& form, TSettings& store, TGraphWindow& window) {
  TReader r(store, window);

  const int32_t left = r.Integer("LeftPos");
  const int32_t top = r.Integer("TopPos");
  // Held to the form's own limits: a graph of 1 x 1 pixel could be neither found nor
  // grabbed. The size is kept in 96-DPI units, the position in screen pixels.
  form.Dpi = window.Dpi();
  const int32_t width = ScaleToDpi(std::clamp(r.Integer("Width"), MinGraphWidth, MaxGraphWidth), form.Dpi);
  const int32_t height = ScaleToDpi(std::clamp(r.Integer("Height"), MinGraphHeight, MaxGraphHeight), form.Dpi);
  const TPoint32 at = OntoAMonitor(window, {left, top}, {width, height});
  window.Move(at.x, at.y);
  window.Resize(width, height);
  // The system sends no move notification when the window is already there, yet the
  // home position must be known. A window that has run away keeps its home.
  if (!window.ReturnTimerRunning()) WindowMoved(form, window);

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

  // known before the opacity, which keeps a click-through window layered
  form.MouseClickThru = r.Bool("UseTransparency") && r.Bool("MouseClickThru");
  int32_t opacity = 255;
  if (r.Bool("UseTransparency")) opacity = r.Integer("AlphaValue");
  // A value outside the byte (cut to 8 bits, 256 would be 0) is no one's choice of an
  // invisible window: opaque. 0 stays 0, as the user may ask for it.
  if (opacity < 0 || opacity > 255) opacity = 255;
  window.SetOpacity(static_cast<uint8_t>(opacity));

  form.AutoHide = r.Bool("AutoHide");
  form.GoFlat = r.Bool("GoFlat");

  window.SetStayOnTop(r.Bool("StayOnTop"));
  window.SetStayOnTopChecked(window.StayOnTop());

  form.UserHidden = r.Bool("UserHide");
  if (form.UserHidden) window.HideGraph();

  form.AdapterName = r.Text("Adapter");
  form.AdapterAuto = r.Bool("AdapterAuto");

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
  store.WriteInteger("Width", ScaleFromDpi(window.Width(), window.Dpi()));
  store.WriteInteger("Height", ScaleFromDpi(window.Height(), window.Dpi()));
  store.WriteBool("StayOnTop", window.StayOnTop());
  store.WriteBool("UserHide", form.UserHidden);
}

void KeepOnAMonitor(TGraphWindow& window) {
  const TPoint32 at = OntoAMonitor(window, {window.Left(), window.Top()}, {window.Width(), window.Height()});
  if (at.x != window.Left() || at.y != window.Top()) window.Move(at.x, at.y);
}
