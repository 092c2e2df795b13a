#include "app/uStats.h"

#include <shellapi.h>

#include "app/Maker.h"
#include "app/TrafficHistory.h"
#include "render/ColorTools.h"
#include "render/GraphRenderer.h"
#include "traffic/AdapterSampling.h"

namespace {

constexpr int StartLeft = 546, StartTop = 205;
constexpr int StartClientWidth = 263, StartClientHeight = 174;
constexpr int StartWidth = 87, StartHeight = 39;
constexpr const char* MessageCaption = "Tarvelo ";

TColor SysColour(int index) { return GetSysColor(index); }

void ShellOpen(HWND owner, const char* target) {
  // show command 0, as the shell's other requests here; failures are ignored
  ShellExecuteA(owner, nullptr, target, nullptr, "", 0);
}

}  // namespace

const std::vector<std::string>& StatsMenuTemplate() {
  static const std::vector<std::string> texts = {
      "WebServer Monitoring", "-", "Transfer Logging", "(", "Counters", "Transfer Log", ")", "-",
      "Options", "+ShowGraph", "+Stay On Top", "Info", "(", "About\tF1", "HomePage", "-",
      "Bugtracker", ")", "-", "Network Connections", "-", "Quit", ""};
  return texts;
}

int TStatsMain::Run() {
  SetSystemColourSource(&SysColour);

  // 1. the application object, its window created and left invisible
  app_ = CreateAppWindow("Tarvelo");
  app_->Handle();
  app_->SetVisible(false);

  BuildForm();
  Initialise();

  RunMessageLoop(app_);
  return 0;
}

void TStatsMain::BuildForm() {
  // 2.1 the form, placed and sized before its window exists
  form_ = CreateForm(app_, "StatsForm");
  form_->SetPosition(StartLeft, StartTop);
  form_->SetClientSize(StartClientWidth, StartClientHeight);
  form_->SetHasCaption(false);
  form_->SetDoubleBuffered(true);
  form_->SetStayOnTop(true);

  // 2.2 handlers
  app_->SetOnQueryEndSession(&OnQueryEndSession, this);
  form_->SetOnMessage(&OnMessage, this);
  form_->SetOnMouseMove(&OnMouseMove, this);
  form_->SetOnMouseLeave(&OnMouseLeave, this);
  form_->SetOnResize(&OnResize, this);
  form_->SetOnMove(&OnMove, this);
  form_->SetOnPaint(&OnPaint, this);
  form_->SetDestroyNotify(&OnFormDestroyed, this);

  // 2.3 outer size limits for the user's sizing
  form_->SetSizeLimit(slMinWidth, 30);
  form_->SetSizeLimit(slMinHeight, 16);
  form_->SetSizeLimit(slMaxWidth, 300);
  form_->SetSizeLimit(slMaxHeight, 180);

  // 2.4 an empty main menu (every command lives in the popup), then the tray icon
  BuildMenu(form_, {""});
  StatsTrayIcon = CreateNotifyIcon(app_);
  StatsTrayIcon->SetReAddOnTaskbarRestart(true);

  // 2.5 the two fixed idle pictures, magenta transparent
  StatsImageList = CreateImageStrip(form_);
  StatsImageList->SetColours(6);
  StatsImageList->SetImageWidth(16);
  StatsImageList->SetImageHeight(16);
  if (HBITMAP strip = StatsImageList->LoadStripBitmap(GetModuleHandleA(nullptr), "STATSFORM_IMAGELIST", form_))
    StatsImageList->AddMasked(strip, 0xFF00FF);

  // 2.6 the popup menu
  StatsPopupMenu = BuildMenu(form_, StatsMenuTemplate(), &OnMenuItem, this);
  StatsPopupMenu->SetItemEnabled(miWebServer, false);
  StatsPopupMenu->SetItemDefault(miShowGraph, true);
  StatsPopupMenu->SetItemAccelerator(miAbout, FVIRTKEY, VK_F1);
  StatsPopupMenu->SetItemVisible(miNetworkConnections, false);
  StatsPopupMenu->SetItemVisible(miNetworkSeparator, false);

  // 2.7 timers; the tick is handed to this thread, so it never meets a paint half-way
  TickTimer = CreateMediaTimer(1000);
  TickTimer->SetTargetWindow(form_);
  TickTimer->SetOnTimer(&OnTick, this);
  ReturnTimer = CreateWindowTimer(1000);
  RunAwayTimer = CreateWindowTimer(50);
  MarkerTimer = CreateWindowTimer(1000);
  BalloonTimer = CreateWindowTimer(1000);
  ReturnTimer->SetOnTimer(&OnIdleTimer, this);
  RunAwayTimer->SetOnTimer(&OnIdleTimer, this);
  MarkerTimer->SetOnTimer(&OnMarkerTimer, this);
  BalloonTimer->SetOnTimer(&OnIdleTimer, this);
  // released newest first: window timers, then the tick, then the icon
  form_->AddOwned(StatsTrayIcon);
  form_->AddOwned(TickTimer);
  form_->AddOwned(ReturnTimer);
  form_->AddOwned(RunAwayTimer);
  form_->AddOwned(MarkerTimer);
  form_->AddOwned(BalloonTimer);

  // 2.8
  StatsTrayIcon->SetActive(true);  // no picture yet, so nothing shows
  RunAwayTimer->SetEnabled(true);
  form_->SetPopupMenu(StatsPopupMenu);
}

void TStatsMain::Initialise() {
  // 3.1 start-up outer size
  form_->SetHeight(StartHeight);
  form_->SetWidth(StartWidth);

  // 3.2
  TrafficHistory.HistoryResize(form_->ClientWidth());
  state_.UpTotal = 0;
  state_.DownTotal = 0;

  // 3.4
  BackBuffer = CreateDrawBitmap(0, 0);
  form_->SetClassStyle(form_->ClassStyle() | CS_HREDRAW | CS_VREDRAW);
  form_->SetExStyle(form_->ExStyle() | WS_EX_TOOLWINDOW);
  state_.MouseMarker = {};
  state_.MovingSelf = false;
  state_.DialogOpen = false;

  // 3.5
  Settings = std::make_unique<TRegSettings>();
  Settings->KeyPath = TarveloKeyPath;
  Settings->Open();
  LoadSettings();

  // 3.6
  if (state_.AdapterName.empty()) {
    MessageBoxA(nullptr, "Please select adapter to be monitored!", MessageCaption, MB_OK | MB_TASKMODAL);
    RunOptionsCommand();
    LoadSettings();
  }

  // 3.7
  if (!state_.AdapterName.empty()) {
    StartSampling(state_, table_, [this] { TickTimer->SetEnabled(true); });
  } else {
    MessageBoxA(nullptr, "An adapter must be selected for this program to run!", MessageCaption,
                MB_OK | MB_TASKMODAL);
    CloseWindow(app_);
  }

  // 3.8
  PostMessageA(form_->Handle(), WM_STATS_DEFOCUS, 0, 0);
}

void TStatsMain::RunOptionsCommand() {
  state_.DialogOpen = true;
  SaveWindowState();
  // The options sheet is not built yet: nothing can be chosen here.
  LoadSettings();
  state_.DialogOpen = false;
}

void TStatsMain::LoadSettings() { ::LoadSettings(state_, *Settings, *this); }

void TStatsMain::SaveWindowState() { ::SaveWindowState(state_, *Settings, *this); }

void TStatsMain::Tick() {
  TTickContext ctx{state_, TrafficHistory, table_, *Settings, clock_, *this};
  RunTick(ctx);
}

void TStatsMain::Paint(HDC dc) {
  const int w = form_->ClientWidth();
  const int h = form_->ClientHeight();
  BackBuffer->SetSize(w, h);
  if (TDrawCanvas* canvas = BackBuffer->Canvas()) {
    DrawGraph(*canvas, state_, TrafficHistory, TRect{0, 0, w, h});
    BackBuffer->Draw(dc, 0, 0);
  }
}

// --- window behaviours ---

void TStatsMain::ShowGraph() {
  form_->Show();  // visible, foreground, focused
  StatsPopupMenu->SetItemChecked(miShowGraph, true);
  RunAwayTimer->SetEnabled(true);
}

void TStatsMain::HideGraph() {
  form_->SetVisible(false);
  StatsPopupMenu->SetItemChecked(miShowGraph, false);
  RunAwayTimer->SetEnabled(false);
}

void TStatsMain::ToggleGraph() {
  if (form_->Visible()) {
    state_.UserHidden = true;
    HideGraph();
  } else {
    state_.UserHidden = false;
    ShowGraph();
  }
}

void TStatsMain::MoveSelf(int32_t left, int32_t top) {
  state_.MovingSelf = true;
  SetWindowPos(form_->Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  state_.MovingSelf = false;
}

// --- TTickHost ---

bool TStatsMain::GraphVisible() { return form_->Visible(); }

void TStatsMain::InvalidateGraph() { InvalidateRect(form_->Handle(), nullptr, FALSE); }

void TStatsMain::RenderTrayImage(int32_t, int32_t) {
  // The tray picture comes with the tray renderer; until then the icon stays without one.
}

// --- TMainWindow ---

int32_t TStatsMain::Left() { return form_->Left(); }
int32_t TStatsMain::Top() { return form_->Top(); }
int32_t TStatsMain::Width() { return form_->Width(); }
int32_t TStatsMain::Height() { return form_->Height(); }

void TStatsMain::Move(int32_t left, int32_t top) { form_->SetPosition(left, top); }

void TStatsMain::Resize(int32_t width, int32_t height) {
  form_->SetWidth(width);
  form_->SetHeight(height);
}

void TStatsMain::SetDropShadow(bool on) {
  const DWORD style = form_->ClassStyle();
  form_->SetClassStyle(on ? (style | CS_DROPSHADOW) : (style & ~DWORD{CS_DROPSHADOW}));
}

void TStatsMain::SetOpacity(uint8_t opacity) { form_->SetAlpha(opacity); }

void TStatsMain::SetStayOnTop(bool on) { form_->SetStayOnTop(on); }

bool TStatsMain::StayOnTop() { return form_->StayOnTop(); }

void TStatsMain::SetStayOnTopChecked(bool checked) { StatsPopupMenu->SetItemChecked(miStayOnTop, checked); }

TColor TStatsMain::SystemColour(int32_t index) { return GetSysColor(index); }

// --- commands ---

void TStatsMain::Command(int index) {
  HWND owner = form_->Handle();
  switch (index) {
    case miTransferLog:
      if (FileExists(state_.LogFilePath)) ShellOpen(owner, state_.LogFilePath.c_str());
      break;
    case miShowGraph:
      ToggleGraph();
      break;
    case miStayOnTop: {
      const bool checked = StatsPopupMenu->ItemChecked(miStayOnTop);  // already toggled
      form_->SetStayOnTop(checked);
      StatsPopupMenu->SetItemChecked(miStayOnTop, form_->StayOnTop());
      Settings->WriteBool("StayOnTop", checked);
      break;
    }
    case miHomePage:
      ShellOpen(owner, MakerHomePage);
      break;
    case miBugtracker:
      ShellOpen(owner, MakerBugTracker);
      break;
    case miQuit:
      SaveWindowState();
      StatsTrayIcon->SetActive(false);
      ExitProcess(0);  // at once, without leaving the message loop
    default:
      // Options, Counters and About open dialogs that are not built yet.
      break;
  }
}

bool TStatsMain::FilterMessage(TMessageRecord& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_ACTIVATE:
      if (LOWORD(msg.WParam) != WA_INACTIVE) {
        state_.IsActive = true;
      } else if (!state_.DialogOpen) {
        state_.IsActive = false;
      }
      InvalidateGraph();  // the flat border follows the focus
      return false;
    case WM_ERASEBKGND:
      result = 1;
      msg.Result = 1;
      return false;
    case WM_LBUTTONDOWN:
      // drag from anywhere: the system's move, as if the caption were held
      ReleaseCapture();
      SendMessageA(msg.Wnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
      result = 0;
      return true;
    case WM_STATS_DEFOCUS:
      if (GetForegroundWindow() == msg.Wnd) {
        if (HWND next = GetWindow(msg.Wnd, GW_HWNDNEXT)) SetForegroundWindow(next);
      }
      return false;
    default:
      return false;
  }
}

// --- event trampolines ---

bool TStatsMain::OnMessage(void* data, TWindowObject*, TMessageRecord& msg, LRESULT& result) {
  return static_cast<TStatsMain*>(data)->FilterMessage(msg, result);
}

void TStatsMain::OnPaint(void* data, TWindowObject*, HDC dc) { static_cast<TStatsMain*>(data)->Paint(dc); }

void TStatsMain::OnMouseMove(void* data, TWindowObject*, const TMouseRecord& mouse) {
  auto* self = static_cast<TStatsMain*>(data);
  self->state_.MouseMarker = {mouse.X, mouse.Y};
  // off and on again: the marker clears a full second after the last move
  self->MarkerTimer->SetEnabled(false);
  self->MarkerTimer->SetEnabled(true);
  self->form_->Invalidate();
}

void TStatsMain::OnMouseLeave(void* data, TWindowObject*) {
  auto* self = static_cast<TStatsMain*>(data);
  self->state_.MouseMarker = {};
  self->form_->Invalidate();
}

void TStatsMain::OnMarkerTimer(void* data, TWindowTimer*) {
  auto* self = static_cast<TStatsMain*>(data);
  self->state_.MouseMarker = {};
  self->MarkerTimer->SetEnabled(false);
  self->form_->Invalidate();
}

void TStatsMain::OnIdleTimer(void*, TWindowTimer*) {
  // run-away, return and balloon checks come with the window behaviours and tray icon
}

void TStatsMain::OnResize(void* data, TWindowObject*) {
  auto* self = static_cast<TStatsMain*>(data);
  TrafficHistory.HistoryResize(self->form_->Width());
}

void TStatsMain::OnMove(void* data, TWindowObject*) {
  auto* self = static_cast<TStatsMain*>(data);
  if (self->state_.MovingSelf) return;
  self->state_.HomeLeft = self->form_->Left();
  self->state_.HomeTop = self->form_->Top();
}

void TStatsMain::OnFormDestroyed(void* data, TBaseObject*) {
  auto* self = static_cast<TStatsMain*>(data);
  Release(self->BackBuffer);
  self->BackBuffer = nullptr;
  self->Settings.reset();
}

void TStatsMain::OnQueryEndSession(void* data, TWindowObject*, bool& accept) {
  auto* self = static_cast<TStatsMain*>(data);
  PostMessageA(self->form_->Handle(), WM_CLOSE, 0, 0);
  accept = true;
}

void TStatsMain::OnMenuItem(void* data, TMenuObject*, int index) { static_cast<TStatsMain*>(data)->Command(index); }

void TStatsMain::OnTick(void* data, TMediaTimer*) { static_cast<TStatsMain*>(data)->Tick(); }

int RunTarvelo() {
  static TStatsMain program;  // outlives the loop's teardown of the form
  return program.Run();
}
