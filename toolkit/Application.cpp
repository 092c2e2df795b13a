#include "toolkit/Application.h"
#include <utility>

namespace tk {

namespace {

// Used only on the loop's thread.
TLoopState g_loopState = TLoopState::NotStarted;
TWindowObject* g_app = nullptr;     // set while RunMessageLoop owns it
TAppWindow* g_appWindow = nullptr;  // the application window, once made

}  // namespace

TAppWindow::TAppWindow(const std::string& caption) : TWindowObject("App") {
  SetStyle(WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  SetExStyle(WS_EX_APPWINDOW);
  SetCaption(caption);
  SetIconResource(GetModuleHandleA(nullptr), "MAINICON");
}

void TAppWindow::AfterCreate() {
  if (HMENU sys = GetSystemMenu(HandleIfCreated(), FALSE)) {
    EnableMenuItem(sys, SC_RESTORE, MF_BYCOMMAND | MF_GRAYED);
    DeleteMenu(sys, SC_SIZE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_MOVE, MF_BYCOMMAND);
    DeleteMenu(sys, SC_MAXIMIZE, MF_BYCOMMAND);
  }
}

TReply TAppWindow::TypeHandler(const TMessageRecord& msg) {
  TWindowObject* mainForm = MainForm();
  HWND formWnd = mainForm ? mainForm->HandleIfCreated() : nullptr;
  if (msg.Msg == WM_SETFOCUS && formWnd && IsWindowVisible(formWnd)) {
    SetFocus(formWnd);
    return 0;
  }
  if (msg.Msg == WM_SYSCOMMAND && (msg.WParam & 0xFFF0) == SC_CLOSE && formWnd) {
    PostMessageA(formWnd, WM_CLOSE, 0, 0);
    return 0;
  }
  return PassOn;
}

void TAppWindow::BeforeDestroy() {
  TWindowObject::BeforeDestroy();
  if (g_appWindow == this) g_appWindow = nullptr;
}

TAppWindow* CreateAppWindow(const std::string& caption) {
  auto* app = new TAppWindow(caption);
  g_appWindow = app;
  return app;
}

TAppWindow* AppWindow() { return g_appWindow; }
TLoopState LoopState() { return g_loopState; }
bool LoopTerminated() { return g_loopState == TLoopState::Terminated; }
TWindowObject* ApplicationObject() { return g_app; }

void ProcessMessages(TWindowObject*) {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      g_loopState = TLoopState::Terminated;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void RunMessageLoop(TWindowObject* app) {
  if (!app) return;
  g_loopState = TLoopState::Running;
  g_app = app;
  app->CreateWindowNow();
  while (g_loopState == TLoopState::Running) {
    WaitMessage();
    ProcessMessages(app);
  }
  const bool byQuit = g_loopState == TLoopState::Terminated;
  g_loopState = TLoopState::Terminated;
  app->AddRef();
  if (byQuit) {
    ProcessMessages(app);
    app->Perform(WM_CLOSE, 0, 0);
  }
  g_app = nullptr;
  Release(app);
  Release(app);
}

void CloseWindow(TWindowObject* window) {
  if (window && window->HandleIfCreated()) PostMessageA(window->HandleIfCreated(), WM_CLOSE, 0, 0);
}

void EndSessionNow() {
  g_loopState = TLoopState::Terminated;
  if (TWindowObject* app = std::exchange(g_app, nullptr)) Release(app);
  ExitProcess(0);
}

}  // namespace tk
