#include "app/MainForm.h"

#include <shellapi.h>

#include "app/LoadSettings.h"
#include "app/WindowBehaviours.h"
#include "render/GdiSurface.h"
#include "settings/ColourPicker.h"
#include "settings/OptionsSheet.h"
#include "render/GraphRenderer.h"
#include "settings/SettingsCatalogue.h"
#include "toolkit/Platform.h"
#include "toolkit/WindowMessages.h"
#include "traffic/AdapterSampling.h"

namespace {

constexpr int StartLeft = 546, StartTop = 205;
constexpr int StartClientWidth = 263, StartClientHeight = 174;
constexpr int StartWidth = 87, StartHeight = 39;
constexpr const char* MessageCaption = "Tarvelo ";

TColor GetSystemColour(int32_t index) { return GetSysColor(index); }

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

  // outer size limits for the user's sizing
  form_->SetSizeLimit(tk::TSizeLimit::MinWidth, 30);
  form_->SetSizeLimit(tk::TSizeLimit::MinHeight, 16);
  form_->SetSizeLimit(tk::TSizeLimit::MaxWidth, 300);
  form_->SetSizeLimit(tk::TSizeLimit::MaxHeight, 180);

  // an empty main menu (every command lives in the popup), then the tray icon and
  // the two fixed idle pictures
  tk::BuildMenu(form_, {""});
  tray_.CreateIcon(app_);
  tray_.CreateImageList(form_);

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
  ReturnTimer->SetOnTimer(&OnIdleTimer, this);
  RunAwayTimer->SetOnTimer(&OnIdleTimer, this);
  MarkerTimer->SetOnTimer(&OnMarkerTimer, this);
  BalloonTimer->SetOnTimer(&OnIdleTimer, this);
  // released newest first: window timers, then the tick, then the icon
  form_->AddOwned(tray_.Icon());
  form_->AddOwned(TickTimer);
  form_->AddOwned(ReturnTimer);
  form_->AddOwned(RunAwayTimer);
  form_->AddOwned(MarkerTimer);
  form_->AddOwned(BalloonTimer);

  tray_.Activate();  // no picture yet, so nothing shows
  RunAwayTimer->SetEnabled(true);
  form_->SetPopupMenu(StatsPopupMenu);
}

void TMainForm::Initialise() {
  // start-up outer size
  form_->SetHeight(StartHeight);
  form_->SetWidth(StartWidth);

  history_.HistoryResize(form_->ClientWidth());
  state_.UpTotal = 0;
  state_.DownTotal = 0;

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

  // no adapter yet: the user picks one in the options sheet
  if (state_.AdapterName.empty()) {
    MessageBoxA(nullptr, "Please select adapter to be monitored!", MessageCaption, MB_OK | MB_TASKMODAL);
    TCommandContext ctx = Commands();
    RunOptionsCommand(ctx);
    ::LoadSettings(state_, *Settings, *this);
  }

  if (!state_.AdapterName.empty()) {
    state_.IdleTicks = 0;
    state_.UpRate = state_.DownRate = 0;
    StartSampling(state_, table_, [this] { TickTimer->SetEnabled(true); });
  } else {
    MessageBoxA(nullptr, "An adapter must be selected for this program to run!", MessageCaption,
                MB_OK | MB_TASKMODAL);
    tk::CloseWindow(app_);
  }

  // once the loop runs, the window gives the focus away and starts in its unfocused look
  PostMessageA(form_->Handle(), WM_STATS_DEFOCUS, 0, 0);
}

TCommandContext TMainForm::Commands() { return TCommandContext{state_, *Settings, *this, *this}; }

void TMainForm::Tick() {
  TTickContext ctx{state_, history_, table_, *Settings, clock_, *this, tray_};
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

bool TMainForm::GraphVisible() { return form_->Visible(); }

void TMainForm::ShowGraph() {
  form_->Show();  // visible, foreground, focused
  StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::ShowGraph), true);
  RunAwayTimer->SetEnabled(true);
}

void TMainForm::HideGraph() {
  form_->SetVisible(false);
  StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::ShowGraph), false);
  RunAwayTimer->SetEnabled(false);
}

void TMainForm::InvalidateGraph() { InvalidateRect(form_->Handle(), nullptr, FALSE); }

int32_t TMainForm::Left() { return form_->Left(); }
int32_t TMainForm::Top() { return form_->Top(); }
int32_t TMainForm::Width() { return form_->Width(); }
int32_t TMainForm::Height() { return form_->Height(); }

void TMainForm::Move(int32_t left, int32_t top) { form_->SetPosition(left, top); }

void TMainForm::Resize(int32_t width, int32_t height) {
  form_->SetWidth(width);
  form_->SetHeight(height);
}

void TMainForm::SetDropShadow(bool on) {
  const DWORD style = form_->ClassStyle();
  form_->SetClassStyle(on ? (style | CS_DROPSHADOW) : (style & ~DWORD{CS_DROPSHADOW}));
}

void TMainForm::SetOpacity(uint8_t opacity) { form_->SetAlpha(opacity); }

void TMainForm::SetStayOnTop(bool on) { form_->SetStayOnTop(on); }

bool TMainForm::StayOnTop() { return form_->StayOnTop(); }

void TMainForm::SetStayOnTopChecked(bool checked) {
  StatsPopupMenu->SetItemChecked(static_cast<int>(TMenuCommand::StayOnTop), checked);
}

TColor TMainForm::SystemColour(int32_t index) { return GetSysColor(index); }

// --- what the commands need ---

void TMainForm::ShowOptionsDialog(const std::string& title) {
  std::vector<std::string> adapters;
  ListAdapters(table_, [&](const std::string& description) { adapters.push_back(description); });
  ::ShowOptionsDialog(form_->Handle(), title, adapters);
}

bool TMainForm::FileExists(const std::string& path) { return tk::FileExists(path); }

void TMainForm::ShellOpen(const std::string& target) {
  // show command 0, as the shell's other requests here; failures are ignored
  ShellExecuteA(form_->Handle(), nullptr, target.c_str(), nullptr, "", 0);
}

bool TMainForm::StayOnTopChecked() { return StatsPopupMenu->ItemChecked(static_cast<int>(TMenuCommand::StayOnTop)); }

void TMainForm::Quit() {
  tray_.Deactivate();
  ExitProcess(0);  // at once, without leaving the message loop
}

// --- messages ---

bool TMainForm::FilterMessage(tk::TMessageRecord& msg, LRESULT& result) {
  switch (msg.Msg) {
    case WM_ACTIVATE:
      ActivationChanged(state_, LOWORD(msg.WParam) != WA_INACTIVE);
      InvalidateGraph();  // the flat border follows the focus
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
    case WM_STATS_DEFOCUS:
      if (GetForegroundWindow() == msg.Wnd) {
        if (HWND next = GetWindow(msg.Wnd, GW_HWNDNEXT)) SetForegroundWindow(next);
      }
      return false;
    default:
      return false;
  }
}

bool TMainForm::OnMessage(void* data, tk::TWindowObject*, tk::TMessageRecord& msg, LRESULT& result) {
  return static_cast<TMainForm*>(data)->FilterMessage(msg, result);
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
  self->state_.MouseMarker = {};
  self->MarkerTimer->SetEnabled(false);
  self->form_->Invalidate();
}

void TMainForm::OnIdleTimer(void*, tk::TWindowTimer*) {
  // run-away, return and balloon checks come with the window behaviours and tray icon
}

void TMainForm::OnResize(void* data, tk::TWindowObject*) {
  auto* self = static_cast<TMainForm*>(data);
  self->history_.HistoryResize(self->form_->Width());
}

void TMainForm::OnMove(void* data, tk::TWindowObject*) {
  auto* self = static_cast<TMainForm*>(data);
  WindowMoved(self->state_, *self);
}

void TMainForm::OnFormDestroyed(void* data, tk::TBaseObject*) {
  auto* self = static_cast<TMainForm*>(data);
  tk::Release(self->BackBuffer);
  self->BackBuffer = nullptr;
  self->Settings.reset();
}

void TMainForm::OnQueryEndSession(void* data, tk::TWindowObject*, bool& accept) {
  auto* self = static_cast<TMainForm*>(data);
  PostMessageA(self->form_->Handle(), WM_CLOSE, 0, 0);
  accept = true;
}

void TMainForm::OnMenuItem(void* data, tk::TMenuObject*, int index) {
  auto* self = static_cast<TMainForm*>(data);
  TCommandContext ctx = self->Commands();
  RunCommand(ctx, index);
}

void TMainForm::OnTick(void* data, tk::TMediaTimer*) { static_cast<TMainForm*>(data)->Tick(); }

int RunTarvelo() {
  static TMainForm program;  // outlives the loop's teardown of the form
  return program.Run();
}
