#include "app/MainForm.h"

#include <windowsx.h>

#include "app/LoadSettings.h"
#include "app/UsageChartArt.h"
#include "app/WindowBehaviours.h"
#include "dialogs/AboutDialog.h"
#include "dialogs/CountersDialog.h"
#include "dialogs/UsageWindow.h"
#include "render/GdiSurface.h"
#include "settings/ColourPicker.h"
#include "settings/OptionsSheet.h"
#include "render/GraphRenderer.h"
#include "settings/SettingsCatalogue.h"
#include "toolkit/Dpi.h"
#include "toolkit/Platform.h"
#include "toolkit/Utf8.h"
#include "toolkit/WindowMessages.h"
#include "base/DpiScale.h"
#include "traffic/AdapterSampling.h"
#include "traffic/ConnectionInUse.h"
#include "usage/UsageFiles.h"

namespace {

constexpr int StartLeft = 546, StartTop = 205;
constexpr int StartClientWidth = 263, StartClientHeight = 174;
constexpr int StartWidth = 87, StartHeight = 39;
constexpr const char* MessageCaption = "Tarvelo ";

TColor GetSystemColour(int32_t index) { return GetSysColor(index); }

// A menu of this thread is open.
bool InMenu() {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

}  // namespace

int TMainForm::Run() {
  SetSystemColourSource(&GetSystemColour);
  RegisterColourPicker(GetModuleHandleA(nullptr));

  // the application object, its window created and left invisible
  app_ = tk::CreateAppWindow("Tarvelo");
  app_->Handle();
  app_->SetVisible(false);

  BuildForm();
  Initialise();

  tk::RunMessageLoop(app_);
  return 0;
}

void TMainForm::BuildForm() {
  // the form, placed and sized before its window exists
  form_ = tk::CreateForm(app_, "StatsForm");
  form_->SetPosition(StartLeft, StartTop);
  form_->SetClientSize(StartClientWidth, StartClientHeight);
  form_->SetHasCaption(false);
  form_->SetDoubleBuffered(true);
  form_->SetStayOnTop(true);

  app_->SetOnQueryEndSession(&OnQueryEndSession, this);
  form_->SetOnMessage(&OnMessage, this);
  form_->SetOnMouseMove(&OnMouseMove, this);
  form_->SetOnMouseLeave(&OnMouseLeave, this);
  form_->SetOnResize(&OnResize, this);
  form_->SetOnMove(&OnMove, this);
  form_->SetOnPaint(&OnPaint, this);
  form_->SetDestroyNotify(&OnFormDestroyed, this);

  SetSizeLimits(static_cast<int32_t>(tk::SystemDpi()));

  // an empty main menu (every command lives in the popup), then the tray icon and
  // the two fixed idle pictures
  tk::BuildMenu(form_, {""});
  tray_.CreateIcon(app_);
  tray_.Icon()->SetOnTrayMouse(&OnTrayMouse, this);
  tray_.CreateImageList(form_, GetModuleHandleA(nullptr));

  StatsPopupMenu = tk::BuildMenu(form_, StatsMenuTemplate(), &OnMenuItem, this);
  StatsPopupMenu->SetItemEnabled(static_cast<int>(TMenuCommand::WebServer), false);
  StatsPopupMenu->SetItemDefault(static_cast<int>(TMenuCommand::ShowGraph), true);
  StatsPopupMenu->SetItemAccelerator(static_cast<int>(TMenuCommand::About), FVIRTKEY, VK_F1);
  StatsPopupMenu->SetItemVisible(static_cast<int>(TMenuCommand::NetworkConnections), false);
  StatsPopupMenu->SetItemVisible(static_cast<int>(TMenuCommand::NetworkSeparator), false);

  // timers; the tick is handed to this thread, so it never meets a paint half-way
  TickTimer = tk::CreateMediaTimer(1000);
  TickTimer->SetTargetWindow(form_);
  TickTimer->SetOnTimer(&OnTick, this);
  ReturnTimer = tk::CreateWindowTimer(1000);
  RunAwayTimer = tk::CreateWindowTimer(50);
  MarkerTimer = tk::CreateWindowTimer(1000);
  BalloonTimer = tk::CreateWindowTimer(1000);
  ReturnTimer->SetOnTimer(&OnReturnTimer, this);
  RunAwayTimer->SetOnTimer(&OnRunAwayTimer, this);
  MarkerTimer->SetOnTimer(&OnMarkerTimer, this);
  BalloonTimer->SetOnTimer(&OnBalloonTimer, this);
  // released newest first: window timers, then the tick, then the icon
  form_->AddOwned(tray_.Icon());
  form_->AddOwned(TickTimer);
  form_->AddOwned(ReturnTimer);
  form_->AddOwned(RunAwayTimer);
  form_->AddOwned(MarkerTimer);
  form_->AddOwned(BalloonTimer);

  tray_.Activate();  // no picture yet, so nothing shows
  // Enabled once even while disarmed: the timers' window must be made at this point of
  // the start-up (made later, the form keeps its caption and stay-on-top).
  RunAwayTimer->SetEnabled(true);
  SetRunAwayTimer(true);
  form_->SetPopupMenu(StatsPopupMenu);
}

void TMainForm::Initialise() {
  // start-up outer size, in 96-DPI units like the stored one
  form_->SetHeight(ScaleToDpi(StartHeight, Dpi()));
  form_->SetWidth(ScaleToDpi(StartWidth, Dpi()));

  history_.HistoryResize(form_->ClientWidth());
  state_.UpTotal = 0;
  state_.DownTotal = 0;
  tray_.SetTrayImage(-1);  // the form has no icon, so the tray stays empty until the first tick

  BackBuffer = tk::CreateDrawBitmap(0, 0);
  form_->SetClassStyle(form_->ClassStyle() | CS_HREDRAW | CS_VREDRAW);
  form_->SetExStyle(form_->ExStyle() | WS_EX_TOOLWINDOW);
  state_.MouseMarker = {};
  state_.MovingSelf = false;
  state_.DialogOpen = false;

  Settings = std::make_unique<TRegSettings>();
  Settings->KeyPath = TarveloKeyPath;
  Settings->Open();
  ::LoadSettings(state_, *Settings, *this);
  usage_ = std::make_unique<TUsageRecorder>(*Settings, static_cast<TUsageHost&>(*this));

  // no adapter yet: the user picks one in the options sheet, unless the connection in
  // use is to be followed
  if (state_.AdapterName.empty() && !state_.AdapterAuto) {
    MessageBoxA(nullptr, "Please select adapter to be monitored!", MessageCaption, MB_OK | MB_TASKMODAL);
    TCommandContext ctx = Commands();
    RunOptionsCommand(ctx);
    ::LoadSettings(state_, *Settings, *this);
  }

  if (state_.AdapterAuto && FollowConnection(state_.AdapterName, table_, routes_))
    Settings->WriteString("Adapter", state_.AdapterName);
  if (!state_.AdapterName.empty() || state_.AdapterAuto) {
    state_.IdleTicks = 0;
    state_.UpRate = state_.DownRate = 0;
    StartSampling(state_, table_, [this] { TickTimer->SetEnabled(true); });
  } else {
    MessageBoxA(nullptr, "An adapter must be selected for this program to run!", MessageCaption,
                MB_OK | MB_TASKMODAL);
    tk::CloseWindow(app_);
  }

  // once the loop runs, the window gives the focus away and starts in its unfocused look
  if (HWND wnd = Wnd()) PostMessageA(wnd, WM_STATS_DEFOCUS, 0, 0);
}

TCommandContext TMainForm::Commands() { return TCommandContext{state_, *Settings, *this, *this}; }

void TMainForm::Tick() {
  if (!Wnd() || !Settings) return;
  TTickContext ctx{state_, history_, table_, *Settings, clock_, *this, tray_, usage_.get(), &routes_};
  RunTick(ctx);
}

void TMainForm::Paint(HDC dc) {
  const int w = form_->ClientWidth();
  const int h = form_->ClientHeight();
  BackBuffer->SetSize(w, h);
  if (tk::TDrawCanvas* canvas = BackBuffer->Canvas()) {
    TGdiSurface surface(*canvas);
    DrawGraph(surface, state_, history_, TRect{0, 0, w, h});
    BackBuffer->Draw(dc, 0, 0);
  }
}

// --- the graph window ---

bool TMainForm::GraphVisible() { return Wnd() && IsWindowVisible(Wnd()); }

void TMainForm::ShowGraph() {
  if (!Wnd()) return;
  form_->Show();  // visible, foreground, focused
  StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::ShowGraph), true);
  SetRunAwayTimer(true);
}

void TMainForm::HideGraph() {
  if (!Wnd()) return;
  form_->SetVisible(false);
  StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::ShowGraph), false);
  SetRunAwayTimer(false);
}

void TMainForm::InvalidateGraph() {
  if (HWND wnd = Wnd()) InvalidateRect(wnd, nullptr, FALSE);
}

int32_t TMainForm::Left() { return form_ ? form_->Left() : 0; }
int32_t TMainForm::Top() { return form_ ? form_->Top() : 0; }
int32_t TMainForm::Width() { return form_ ? form_->Width() : 0; }
int32_t TMainForm::Height() { return form_ ? form_->Height() : 0; }

void TMainForm::Move(int32_t left, int32_t top) {
  // one move, so the window passes no half-way place and snaps once
  if (HWND wnd = Wnd()) SetWindowPos(wnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMainForm::Resize(int32_t width, int32_t height) {
  if (!Wnd()) return;
  form_->SetWidth(width);
  form_->SetHeight(height);
}

void TMainForm::SetDropShadow(bool on) {
  if (!Wnd()) return;
  const DWORD style = form_->ClassStyle();
  form_->SetClassStyle(on ? (style | CS_DROPSHADOW) : (style & ~DWORD{CS_DROPSHADOW}));
}

void TMainForm::SetOpacity(uint8_t opacity) {
  // A window passes clicks only while layered as well as transparent: with
  // click-through on, it stays layered even when opaque.
  if (Wnd()) form_->SetAlpha(opacity, state_.MouseClickThru);
}

void TMainForm::SetStayOnTop(bool on) {
  if (Wnd()) form_->SetStayOnTop(on);
}

bool TMainForm::StayOnTop() { return Wnd() && form_->StayOnTop(); }

void TMainForm::SetStayOnTopChecked(bool checked) {
  if (StatsPopupMenu) StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::StayOnTop), checked);
}

TColor TMainForm::SystemColour(int32_t index) { return GetSysColor(index); }

TRect TMainForm::WorkArea() {
  RECT rc{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
  return {rc.left, rc.top, rc.right, rc.bottom};
}

bool TMainForm::OnAnyMonitor(const TRect& r) {
  const RECT rc{r.left, r.top, r.right, r.bottom};
  return MonitorFromRect(&rc, MONITOR_DEFAULTTONULL) != nullptr;
}

TRect TMainForm::NearestWorkArea(const TRect& r) {
  const RECT rc{r.left, r.top, r.right, r.bottom};
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(MonitorFromRect(&rc, MONITOR_DEFAULTTONEAREST), &info)) return WorkArea();
  return {info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom};
}

TPoint32 TMainForm::CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

bool TMainForm::CtrlDown() { return (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

void TMainForm::SetFrame(TWindowFrame frame) {
  if (!Wnd()) return;
  const DWORD style = form_->Style();
  if (frame == TWindowFrame::Active) {
    const DWORD framed = (style | WS_BORDER | WS_THICKFRAME) & ~DWORD{WS_DLGFRAME};
    if (framed != style) form_->SetStyle(framed);
    return;
  }
  const DWORD flat = style & ~DWORD{WS_BORDER | WS_DLGFRAME | WS_THICKFRAME};
  if (flat != style) form_->SetStyle(flat);
  const DWORD ex = form_->ExStyle();
  if (ex & WS_EX_DLGMODALFRAME) form_->SetExStyle(ex & ~DWORD{WS_EX_DLGMODALFRAME});
}

void TMainForm::SetClickThrough(bool on) {
  if (!Wnd()) return;
  const DWORD ex = form_->ExStyle();
  const DWORD wanted = on ? (ex | WS_EX_TRANSPARENT) : (ex & ~DWORD{WS_EX_TRANSPARENT});
  if (wanted != ex) form_->SetExStyle(wanted);
}

void TMainForm::SetRunAwayTimer(bool on) {
  RunAwayWanted = on;
  SyncRunAwayTimer();
}

void TMainForm::SyncRunAwayTimer() {
  if (RunAwayTimer) RunAwayTimer->SetEnabled(RunAwayWanted && state_.RunAwayArmed);
}

void TMainForm::RestartReturnTimer() {
  if (!ReturnTimer) return;
  ReturnTimer->SetEnabled(false);
  ReturnTimer->SetEnabled(true);
}

void TMainForm::StopReturnTimer() {
  if (ReturnTimer) ReturnTimer->SetEnabled(false);
}

bool TMainForm::ReturnTimerRunning() { return ReturnTimer && ReturnTimer->Enabled(); }

// --- what the commands need ---

void TMainForm::ShowOptionsDialog(const std::string& title) {
  std::vector<std::string> adapters;
  ListAdapters(table_, [&](const std::string& description) { adapters.push_back(description); });
  Modal([&] { ::ShowOptionsDialog(Wnd(), title, adapters); });
}

void TMainForm::ShowCountersDialog(const std::function<void()>& resetInMemory) {
  Modal([&] { ::ShowCountersDialog(Wnd(), resetInMemory); });
}

void TMainForm::ShowAboutDialog(const std::string& title) {
  Modal([&] { ::ShowAboutDialog(Wnd(), title); });
}

void TMainForm::Modal(const std::function<void()>& show) {
  ++openDialogs_;
  show();
  --openDialogs_;
}

bool TMainForm::FrontOpenDialog() {
  if (openDialogs_ == 0) return false;
  if (HWND dialog = tk::EnabledOwnedWindow(Wnd())) SetForegroundWindow(dialog);
  return true;
}

void TMainForm::ShowUsageWindow() {
  if (!usage_ || !Settings) return;
  usage_->FlushNow();  // the window reads the store: it holds the last seconds too
  TUsageChartLook look;
  look.Background = GetSysColor(COLOR_WINDOW);
  look.Text = GetSysColor(COLOR_WINDOWTEXT);
  look.Marker = look.Text;
  look.Down = ResolveColor(state_.DnColor);
  look.Up = ResolveColor(state_.UpColor);
  look.Font.height = ScaleToDpi(look.Font.height, Dpi());  // in 96-DPI units, as the graph's
  TGdiUsageChartArt art(look);
  // A reader of its own: the ticks go on writing while the window is open, and a store
  // the recorder has to open anew cannot vanish from under the window.
  const auto reader = OpenUsageDatabase(TSqliteUsageStore::TMode::ReadOnly, clock_.LocalHour().Day);
  Modal([&] { ::ShowUsageWindow(Wnd(), reader && reader->Usable() ? reader.get() : nullptr, *Settings, art); });
}

void TMainForm::FlushUsageHistory() {
  if (usage_) usage_->FlushNow();
}

std::unique_ptr<TUsageStore> TMainForm::OpenUsageStore() {
  return OpenUsageDatabase(TSqliteUsageStore::TMode::ReadWrite, clock_.LocalHour().Day);
}

void TMainForm::UsageBalloon(const std::string& title, const std::string& text) {
  tray_.ShowBalloon(title, text, 10, 2);
}

std::string TMainForm::StoredAdapterName(const std::string& name) { return tk::AnsiToUtf8(name); }

bool TMainForm::FileExists(const std::string& path) { return tk::FileExists(path); }

void TMainForm::ShellOpen(const std::string& target) { tk::ShellOpen(Wnd(), target); }

bool TMainForm::StayOnTopChecked() {
  return StatsPopupMenu && StatsPopupMenu->ItemChecked(static_cast<int>(TMenuCommand::StayOnTop));
}

void TMainForm::Quit() {
  FlushUsageHistory();
  tray_.Deactivate();
  ExitProcess(0);  // at once, without leaving the message loop
}

// --- the tray icon ---

void TMainForm::TrayMouse(UINT code) {
  switch (code) {
    case WM_MOUSEMOVE: {
      const TPoint32 at = CursorPos();  // from the system: the message carries none
      // a rest that began with a click is no hover: its balloon would cover the menu
      if (trayClickedAt_ && *trayClickedAt_ == at) break;
      trayClickedAt_.reset();
      state_.TrayHoverPoint = at;
      if (BalloonTimer) {
        BalloonTimer->SetEnabled(false);
        BalloonTimer->SetEnabled(true);
      }
      break;
    }
    case WM_LBUTTONDOWN:
      TrayClicked();
      ToggleGraph(state_, *this);
      break;
    case WM_RBUTTONUP: {
      TrayClicked();
      // Popup shows the form, which must not bring back a window that is gone.
      if (!Wnd() || !StatsPopupMenu) break;
      const TPoint32 at = CursorPos();
      const UINT flags = StatsPopupMenu->PopupFlags();
      StatsPopupMenu->SetPopupFlags(flags | TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_VERTICAL);
      StatsPopupMenu->Popup(at.x, at.y);
      if (StatsPopupMenu) StatsPopupMenu->SetPopupFlags(flags);
      break;
    }
    default:
      break;
  }
}

void TMainForm::TrayClicked() {
  if (BalloonTimer) BalloonTimer->SetEnabled(false);
  trayClickedAt_ = CursorPos();
}

void TMainForm::BalloonDue() {
  BalloonTimer->SetEnabled(false);
  if (!InMenu() && CursorRested(state_.TrayHoverPoint, CursorPos()))
    tray_.ShowBalloon("Tarvelo Stats", state_.StatusText, 10, 1);
}

// --- messages ---

bool TMainForm::FilterMessage(tk::TMessageRecord& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_ACTIVATE:
      if (Settings) ActivationChanged(state_, *Settings, *this, LOWORD(msg.WParam) != WA_INACTIVE);
      InvalidateGraph();  // the flat border follows the focus
      return false;
    case WM_WINDOWPOSCHANGING: {
      auto* wp = reinterpret_cast<WINDOWPOS*>(msg.LParam);
      if (!wp) return false;
      // a size that changes with the position is the one to snap with
      const TSize size = (wp->flags & SWP_NOSIZE) ? TSize{Width(), Height()} : TSize{wp->cx, wp->cy};
      TPoint32 pos{wp->x, wp->y};
      if (!PositionChanging(*this, pos, size)) return false;
      if (!(wp->flags & SWP_NOMOVE)) wp->x = pos.x, wp->y = pos.y;
      result = 0;
      return true;
    }
    case WM_CONTEXTMENU:
      // From the keyboard both coordinates are -1; on 64-bit Windows the whole lParam
      // is not, so it is made so for the toolkit's menu placement.
      if (GET_X_LPARAM(msg.LParam) == -1 && GET_Y_LPARAM(msg.LParam) == -1) msg.LParam = -1;
      return false;
    case WM_ERASEBKGND:
      result = 1;
      return false;
    case WM_LBUTTONDOWN:
      // drag from anywhere: the system's move, as if the caption were held
      ReleaseCapture();
      SendMessageA(msg.Wnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      result = 0;
      return true;
    case WM_STATS_SHOWGRAPH: {
      // A second start asks. Once the program is ending (a quit on its way or the loop
      // over) it does not answer, so that start waits for the lock and runs instead.
      MSG quit;
      if (tk::LoopTerminated() || PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) return false;
      ShowGraphForUser(state_, *this);  // as a tray click on a hidden graph
      result = StatsShowGraphReply;
      return true;
    }
    case WM_STATS_DEFOCUS:
      if (GetForegroundWindow() == msg.Wnd) {
        if (HWND next = GetWindow(msg.Wnd, GW_HWNDNEXT)) SetForegroundWindow(next);
      }
      return false;
    default:
      return SystemMessage(msg, result);  // power, display scale and layout
  }
}

bool TMainForm::OnMessage(void* data, tk::TWindowObject*, tk::TMessageRecord& msg, LRESULT& result) {
  auto* self = static_cast<TMainForm*>(data);
  const bool handled = self->FilterMessage(msg, result);
  if (msg.Msg == WM_ACTIVATE) self->SyncRunAwayTimer();  // activation arms or disarms the poll
  return handled;
}

void TMainForm::OnPaint(void* data, tk::TWindowObject*, HDC dc) { static_cast<TMainForm*>(data)->Paint(dc); }

void TMainForm::OnMouseMove(void* data, tk::TWindowObject*, const tk::TMouseRecord& mouse) {
  auto* self = static_cast<TMainForm*>(data);
  self->state_.MouseMarker = {mouse.X, mouse.Y};
  // off and on again: the marker clears a full second after the last move
  self->MarkerTimer->SetEnabled(false);
  self->MarkerTimer->SetEnabled(true);
  self->form_->Invalidate();
}

void TMainForm::OnMouseLeave(void* data, tk::TWindowObject*) {
  auto* self = static_cast<TMainForm*>(data);
  self->state_.MouseMarker = {};
  self->form_->Invalidate();
}

void TMainForm::OnMarkerTimer(void* data, tk::TWindowTimer*) {
  auto* self = static_cast<TMainForm*>(data);
  if (!self->Wnd()) return;
  self->state_.MouseMarker = {};
  self->MarkerTimer->SetEnabled(false);
  self->form_->Invalidate();
}

void TMainForm::OnRunAwayTimer(void* data, tk::TWindowTimer*) {
  auto* self = static_cast<TMainForm*>(data);
  if (self->Wnd()) RunAwayTimerFired(self->state_, *self);
}

void TMainForm::OnReturnTimer(void* data, tk::TWindowTimer*) {
  auto* self = static_cast<TMainForm*>(data);
  if (self->Wnd()) ReturnTimerFired(self->state_, *self);
}

void TMainForm::OnBalloonTimer(void* data, tk::TWindowTimer*) { static_cast<TMainForm*>(data)->BalloonDue(); }

void TMainForm::OnTrayMouse(void* data, tk::TNotifyIcon*, UINT code) { static_cast<TMainForm*>(data)->TrayMouse(code); }

void TMainForm::OnResize(void* data, tk::TWindowObject*) {
  auto* self = static_cast<TMainForm*>(data);
  self->history_.HistoryResize(self->form_->Width());
}

void TMainForm::OnMove(void* data, tk::TWindowObject*) {
  auto* self = static_cast<TMainForm*>(data);
  WindowMoved(self->state_, *self);
}

void TMainForm::OnFormDestroyed(void* data, tk::TBaseObject*) {
  // The form's owned objects (timers, icon, image list, menu) go with it.
  auto* self = static_cast<TMainForm*>(data);
  tk::Release(self->BackBuffer);
  self->BackBuffer = nullptr;
  self->FlushUsageHistory();  // the end of the session, or any other close
  self->usage_.reset();
  self->Settings.reset();
  self->form_ = nullptr;
  self->StatsPopupMenu = nullptr;
  self->TickTimer = nullptr;
  self->ReturnTimer = self->RunAwayTimer = self->MarkerTimer = self->BalloonTimer = nullptr;
  self->tray_.Forget();
}

void TMainForm::OnQueryEndSession(void* data, tk::TWindowObject*, bool& accept) {
  auto* self = static_cast<TMainForm*>(data);
  self->FlushUsageHistory();  // the session may end before the close is handled
  if (HWND wnd = self->Wnd()) PostMessageA(wnd, WM_CLOSE, 0, 0);
  accept = true;
}

void TMainForm::OnMenuItem(void* data, tk::TMenuObject*, int index) {
  auto* self = static_cast<TMainForm*>(data);
  TCommandContext ctx = self->Commands();
  RunCommand(ctx, index);
  if (self->usage_) self->usage_->ReloadPlan();  // the options may have changed the plan
}

void TMainForm::OnTick(void* data, tk::TMediaTimer*) { static_cast<TMainForm*>(data)->Tick(); }

int RunTarvelo() {
  static TMainForm program;  // outlives the loop's teardown of the form
  return program.Run();
}
