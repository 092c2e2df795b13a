// The message loop and its termination, in a process of its own: a process has one
// loop, and its first menu takes the command ids from 4096. The cases run in order.
#include "toolkit/Application.h"
#include "toolkit/MenuObject.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/WindowTimer.h"
#include "support/WineTest.h"

using namespace tk;

namespace {

std::vector<std::string> g_log;

struct TProbe : TBaseObject {
  explicit TProbe(const char* name) : name(name) {}
  ~TProbe() override { g_log.push_back(std::string("released ") + name); }
  const char* name;
};

bool Flagged(TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_APP + 7) g_log.push_back(LoopTerminated() ? "flagged after" : "flagged");
  return false;
}
bool Plain(TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_APP + 7) g_log.push_back(LoopTerminated() ? "plain after" : "plain");
  return false;
}

TEST(Loop, QuitEndsTheLoopAndDestroysEverything) {
  const THandleBaseline handles;
  TAppWindow* app = CreateAppWindow("Tarvelo");
  HWND appWnd = app->Handle();
  EXPECT_TRUE(GetWindowLongA(appWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "the program's taskbar button";
  app->SetVisible(false);
  int cause = 0;  // the event refuses a logoff
  app->SetOnQueryEndSession([](void* d, TWindowObject* w, bool& accept) {
    *static_cast<int*>(d) = w->EndSessionCause();
    accept = w->EndSessionCause() == 1;
  }, &cause);
  EXPECT_EQ(SendMessageA(appWnd, WM_QUERYENDSESSION, 0, 0) * 10 + cause, TRUE * 10 + 1) << "a shutdown, accepted";
  EXPECT_EQ(SendMessageA(appWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF) * 10 + cause, FALSE * 10 + 2)
      << "a logoff, refused";
  EXPECT_EQ(app->EndSessionCause(), 0) << "only while the event runs";

  static TShellRecorder recorder;  // for both cases
  struct Seen { TWindowObject* form; int byApp = 0; } seen{CreateForm(app, "StatsForm")};
  TWindowObject* form = seen.form;
  form->SetDestroyNotify([](void*, TBaseObject*) { g_log.push_back("form notified"); }, nullptr);
  form->AddOwned(new TProbe("state record"));
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  form->AddOwned(icon);
  TWindowTimer* timer = CreateWindowTimer(1000);
  form->AddOwned(timer);
  form->AddOwned(new TProbe("last registered"));
  form->SetDoubleBuffered(true);
  // The program's menus: an empty one, then the popup menu, the first with items.
  BuildMenu(form, {});
  TMenuObject* menu = BuildMenu(form, {"WebServer Monitoring", "-", "Transfer Logging", "(", "Counters"});
  EXPECT_EQ(menu->ItemAt(0)->CommandId() * 10 + menu->ItemCount(), 4096 * 10 + 4) << "ids from 4096";
  form->SetPopupMenu(menu);
  HWND formWnd = form->Handle();
  icon->SetActive(true);
  timer->SetEnabled(true);
  form->AttachHandler(&Flagged, true);
  form->AttachHandler(&Plain);
  app->SetOnMessage([](void* d, TWindowObject* w, TMessageRecord& m, LRESULT&) {
    if (w == static_cast<Seen*>(d)->form && m.Msg == WM_APP + 5) ++static_cast<Seen*>(d)->byApp;
    return false;
  }, &seen);
  form->Perform(WM_APP + 5, 0, 0);
  EXPECT_EQ(seen.byApp, 0) << "the application sees a form's messages only while the loop runs";

  PostMessageA(formWnd, WM_APP + 5, 0, 0);
  PostMessageA(formWnd, WM_APP + 7, 0, 0);
  PostMessageA(formWnd, WM_CLOSE, 0, 0);  // the main form: the loop ends
  g_log.clear();
  ShellRequests().clear();
  RunMessageLoop(app);

  EXPECT_EQ(std::tuple(LoopState(), seen.byApp, IsWindow(formWnd) || IsWindow(appWnd)),
            std::tuple(TLoopState::Terminated, 1, false));
  EXPECT_EQ(g_log, (std::vector<std::string>{"plain", "flagged", "form notified", "released last registered",
                                             "released state record"}))
      << "the notification first, then the owned objects newest first";
  EXPECT_EQ(ShellMessages(), std::vector<DWORD>{NIM_DELETE}) << "closing the main form took the icon away";
  EXPECT_EQ(std::tuple(ApplicationObject(), AppWindow(), handles.Leaked()), std::tuple(nullptr, nullptr, ""));
  MSG left;
  EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit message lingers";
}

TEST(Loop, AfterTerminationOnlyFlaggedHandlersRunAndIconsStayAway) {
  ASSERT_EQ(LoopState(), TLoopState::Terminated);
  TOwned<TWindowObject> form(CreateForm(nullptr, "late"));
  form->AttachHandler(&Flagged, true);
  form->AttachHandler(&Plain);
  g_log.clear();
  form->Perform(WM_APP + 7, 0, 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"flagged after"});
  TOwned<TNotifyIcon> icon(CreateNotifyIcon(form.get(), MakeIcon()));
  form->Handle();
  ShellRequests().clear();
  icon->SetActive(true);
  EXPECT_EQ(std::tuple(ShellMessages(), icon->Active()), std::tuple(std::vector<DWORD>{NIM_DELETE}, false));
}

}  // namespace
