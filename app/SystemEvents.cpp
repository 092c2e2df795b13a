// The main form's answers to the system's notices: sleep and resume, a change of the
// display's scale, a change of the display layout.
#include "app/MainForm.h"

#include "app/LoadSettings.h"
#include "app/PowerEvents.h"
#include "toolkit/Dpi.h"

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

bool TMainForm::SystemMessage(tk::TMessageRecord& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_POWERBROADCAST:
      PowerBroadcast(msg.WParam);
      result = TRUE;
      return true;
    case WM_DPICHANGED:
      // Moved to a monitor of another scale: the system's rectangle keeps the graph
      // where the user put it, at the size of its 96-DPI units there.
      state_.Dpi = HIWORD(msg.WParam);
      SetSizeLimits(state_.Dpi);
      if (const auto* r = reinterpret_cast<const RECT*>(msg.LParam))
        SetWindowPos(msg.Wnd, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
      InvalidateGraph();
      result = 0;
      return true;
    case WM_DISPLAYCHANGE:
      KeepOnAMonitor(*this);
      return false;
    case WM_SETTINGCHANGE:
      if (msg.WParam == SPI_SETWORKAREA) KeepOnAMonitor(*this);
      return false;
    default:
      return false;
  }
}

void TMainForm::PowerBroadcast(WPARAM event) {
  if (!Settings) return;
  switch (event) {
    case PBT_APMSUSPEND:
      SystemSuspending(state_, *Settings, clock_.MonotonicMs());
      FlushUsageHistory();
      // The hive may be written lazily; a machine that never wakes keeps these.
      if (HKEY key = Settings->Key()) RegFlushKey(key);
      break;
    case PBT_APMRESUMEAUTOMATIC:
    case PBT_APMRESUMESUSPEND:
    case PBT_APMRESUMECRITICAL:
      SystemResumed(state_, *Settings, table_, &routes_, clock_.MonotonicMs());
      break;
    default:
      break;
  }
}

// Outer size limits for the user's sizing, in 96-DPI units.
void TMainForm::SetSizeLimits(int32_t dpi) {
  form_->SetSizeLimit(tk::TSizeLimit::MinWidth, ScaleToDpi(MinGraphWidth, dpi));
  form_->SetSizeLimit(tk::TSizeLimit::MinHeight, ScaleToDpi(MinGraphHeight, dpi));
  form_->SetSizeLimit(tk::TSizeLimit::MaxWidth, ScaleToDpi(MaxGraphWidth, dpi));
  form_->SetSizeLimit(tk::TSizeLimit::MaxHeight, ScaleToDpi(MaxGraphHeight, dpi));
}

int32_t TMainForm::Dpi() { return static_cast<int32_t>(tk::WindowDpi(Wnd())); }
