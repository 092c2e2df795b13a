// The main form: builds the program's window, timers, icon, image list and menu,
// loads the settings, samples the adapter once a second and paints the graph.
#pragma once
#include <winsock2.h>  // before <windows.h>: the interface table headers need it
#include <windows.h>

#include <memory>
#include <string>

#include "app/StatsForm.h"
#include "app/Tick.h"
#include "settings/SettingsCatalogue.h"
#include "settings/uSettingsReg.h"
#include "toolkit/Toolkit.h"
#include "traffic/IfTableReader.h"
#include "traffic/SystemClock.h"

// Posted once at start-up: the window gives the focus away and starts unfocused.
constexpr UINT WM_STATS_DEFOCUS = WM_USER + 2020;

// Item indices of the popup menu, in template order.
enum TStatsMenuItem : int {
  miWebServer = 0,
  miCounters = 3,
  miTransferLog = 4,
  miOptions = 6,
  miShowGraph = 7,
  miStayOnTop = 8,
  miAbout = 10,
  miHomePage = 11,
  miBugtracker = 13,
  miNetworkConnections = 15,
  miNetworkSeparator = 16,
  miQuit = 17,
};

class TStatsMain final : public TTickHost, public TMainWindow {
public:
  TStatsMain() = default;
  TStatsMain(const TStatsMain&) = delete;
  TStatsMain& operator=(const TStatsMain&) = delete;

  // Start-up, the message loop, and the end of the program; returns the exit code.
  int Run();

  // Window behaviours.
  void ShowGraph() override;
  void HideGraph() override;
  void ToggleGraph();
  void MoveSelf(int32_t left, int32_t top);
  void SaveWindowState();
  void LoadSettings();

  TStatsForm& State() { return state_; }
  TWindowObject* Form() const { return form_; }

  // TTickHost
  bool GraphVisible() override;
  void InvalidateGraph() override;
  void RenderTrayImage(int32_t down, int32_t up) override;

  // TMainWindow
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

private:
  void BuildForm();
  void Initialise();
  void RunOptionsCommand();
  void Tick();
  void Paint(HDC dc);
  void Command(int index);
  bool FilterMessage(TMessageRecord& msg, LRESULT& result);

  static bool OnMessage(void* data, TWindowObject*, TMessageRecord& msg, LRESULT& result);
  static void OnPaint(void* data, TWindowObject*, HDC dc);
  static void OnMouseMove(void* data, TWindowObject*, const TMouseRecord& mouse);
  static void OnMouseLeave(void* data, TWindowObject*);
  static void OnResize(void* data, TWindowObject*);
  static void OnMove(void* data, TWindowObject*);
  static void OnFormDestroyed(void* data, TBaseObject*);
  static void OnQueryEndSession(void* data, TWindowObject*, bool& accept);
  static void OnMenuItem(void* data, TMenuObject*, int index);
  static void OnTick(void* data, TMediaTimer*);
  static void OnMarkerTimer(void* data, TWindowTimer*);
  static void OnIdleTimer(void* data, TWindowTimer*);

  TStatsForm state_;
  TIfTableReader table_;
  TSystemClock clock_;

  // Owned by the form (released with it), or by the application window.
  TAppWindow* app_ = nullptr;
  TWindowObject* form_ = nullptr;
  TNotifyIcon* StatsTrayIcon = nullptr;
  TImageStrip* StatsImageList = nullptr;
  TMenuObject* StatsPopupMenu = nullptr;
  TMediaTimer* TickTimer = nullptr;
  TWindowTimer* ReturnTimer = nullptr;
  TWindowTimer* RunAwayTimer = nullptr;
  TWindowTimer* MarkerTimer = nullptr;
  TWindowTimer* BalloonTimer = nullptr;
  TDrawBitmap* BackBuffer = nullptr;
  std::unique_ptr<TRegSettings> Settings;
};

// The popup menu's template, ending with the empty text.
const std::vector<std::string>& StatsMenuTemplate();

// WinMain's body.
int RunTarvelo();
