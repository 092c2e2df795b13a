// The main form: builds the program's window, timers, icon, image list and menu,
// loads the settings, samples the adapter once a second and paints the graph. It
// turns window messages into calls of the portable behaviours and commands.
#pragma once
#include "toolkit/WinApi.h"

#include <memory>
#include <optional>
#include <string>

#include "app/Commands.h"
#include "app/GraphWindow.h"
#include "app/StatsForm.h"
#include "app/StatsTray.h"
#include "app/Tick.h"
#include "app/UsageRecorder.h"
#include "settings/RegSettings.h"
#include "toolkit/Application.h"
#include "toolkit/DrawBitmap.h"
#include "toolkit/MediaTimer.h"
#include "toolkit/MenuObject.h"
#include "toolkit/WindowObject.h"
#include "toolkit/WindowTimer.h"
#include "traffic/IfTableReader.h"
#include "traffic/RouteTableReader.h"
#include "traffic/SystemClock.h"
#include "traffic/TrafficHistory.h"

class TMainForm final : public TGraphWindow, public TCommandHost, private TUsageHost {
public:
  TMainForm() = default;
  TMainForm(const TMainForm&) = delete;
  TMainForm& operator=(const TMainForm&) = delete;

  // Start-up, the message loop, and the end of the program; returns the exit code.
  int Run();

  // TGraphWindow
  bool GraphVisible() override;
  void ShowGraph() override;
  void HideGraph() override;
  void InvalidateGraph() override;
  int32_t Dpi() override;
  int32_t Left() override;
  int32_t Top() override;
  int32_t Width() override;
  int32_t Height() override;
  void Move(int32_t left, int32_t top) override;
  void Resize(int32_t width, int32_t height) override;
  void SetDropShadow(bool on) override;
  void SetOpacity(uint8_t opacity) override;
  void SetStayOnTop(bool on) override;
  bool StayOnTop() override;
  void SetStayOnTopChecked(bool checked) override;
  TColor SystemColour(int32_t index) override;
  TRect WorkArea() override;
  bool OnAnyMonitor(const TRect& r) override;
  TRect NearestWorkArea(const TRect& r) override;
  TPoint32 CursorPos() override;
  bool CtrlDown() override;
  void SetFrame(TWindowFrame frame) override;
  void SetClickThrough(bool on) override;
  void SetRunAwayTimer(bool on) override;
  void RestartReturnTimer() override;
  void StopReturnTimer() override;
  bool ReturnTimerRunning() override;

  // TCommandHost
  void ShowOptionsDialog(const std::string& title) override;
  void ShowCountersDialog(const std::function<void()>& resetInMemory) override;
  void ShowAboutDialog(const std::string& title) override;
  bool FrontOpenDialog() override;
  void ShowUsageWindow() override;
  bool FileExists(const std::string& path) override;
  void ShellOpen(const std::string& target) override;
  bool StayOnTopChecked() override;
  [[noreturn]] void Quit() override;

  // Writes the usage history's pending hours now, in one transaction: for suspend and
  // whatever else must not lose the last minute.
  void FlushUsageHistory();

private:
  // TUsageHost
  std::unique_ptr<TUsageStore> OpenUsageStore() override;
  void UsageBalloon(const std::string& title, const std::string& text) override;
  std::string StoredAdapterName(const std::string& name) override;

  // The form's window, or null once it is gone: nothing may make it again, so every
  // late timer, query or tick finds none and does nothing.
  HWND Wnd() const { return form_ ? form_->HandleIfCreated() : nullptr; }
  void BuildForm();
  void SetSizeLimits(int32_t dpi);
  void Initialise();
  void Tick();
  void Paint(HDC dc);
  TCommandContext Commands();
  // Runs a modal dialog, counted so that a second one brings this one to the front.
  void Modal(const std::function<void()>& show);
  bool FilterMessage(tk::TMessageRecord& msg, LRESULT& result);
  void TrayMouse(UINT code);
  void TrayClicked();
  void BalloonDue();
  // The system's notices: power, display scale and layout (SystemEvents.cpp).
  bool SystemMessage(tk::TMessageRecord& msg, LRESULT& result);
  void PowerBroadcast(WPARAM event);

  void SyncRunAwayTimer();
  static bool OnMessage(void* data, tk::TWindowObject*, tk::TMessageRecord& msg, LRESULT& result);
  static void OnPaint(void* data, tk::TWindowObject*, HDC dc);
  static void OnMouseMove(void* data, tk::TWindowObject*, const tk::TMouseRecord& mouse);
  static void OnMouseLeave(void* data, tk::TWindowObject*);
  static void OnResize(void* data, tk::TWindowObject*);
  static void OnMove(void* data, tk::TWindowObject*);
  static void OnFormDestroyed(void* data, tk::TBaseObject*);
  static void OnQueryEndSession(void* data, tk::TWindowObject*, bool& accept);
  static void OnMenuItem(void* data, tk::TMenuObject*, int index);
  static void OnTick(void* data, tk::TMediaTimer*);
  static void OnMarkerTimer(void* data, tk::TWindowTimer*);
  static void OnRunAwayTimer(void* data, tk::TWindowTimer*);
  static void OnReturnTimer(void* data, tk::TWindowTimer*);
  static void OnBalloonTimer(void* data, tk::TWindowTimer*);
  static void OnTrayMouse(void* data, tk::TNotifyIcon*, UINT code);

  TStatsForm state_;
  TTrafficHistory history_;
  TIfTableReader table_;
  TRouteTableReader routes_;
  TSystemClock clock_;
  TStatsTray tray_{state_, history_};

  // Owned by the form (released with it), or by the application window.
  tk::TAppWindow* app_ = nullptr;
  tk::TWindowObject* form_ = nullptr;
  tk::TMenuObject* StatsPopupMenu = nullptr;
  tk::TMediaTimer* TickTimer = nullptr;
  tk::TWindowTimer* ReturnTimer = nullptr;
  tk::TWindowTimer* RunAwayTimer = nullptr;
  // The behaviours' wish for the run-away poll; it only runs while also armed (idle, it
  // would do nothing twenty times a second).
  bool RunAwayWanted = false;
  tk::TWindowTimer* MarkerTimer = nullptr;
  tk::TWindowTimer* BalloonTimer = nullptr;
  tk::TDrawBitmap* BackBuffer = nullptr;
  std::unique_ptr<TRegSettings> Settings;
  int openDialogs_ = 0;  // the modal dialogs running now
  std::optional<TPoint32> trayClickedAt_;  // where the cursor was at the last click on the icon
  std::unique_ptr<TUsageRecorder> usage_;  // made with Settings, gone before it
};

// WinMain's body.
int RunTarvelo();
