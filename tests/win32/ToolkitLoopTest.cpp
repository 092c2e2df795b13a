// The message loop and its termination, in a process of its own: a process has one
// loop. The cases run in order.
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
  app->SetVisible(false);
  static TShellRecorder recorder;  // for both cases
  TWindowObject* form = CreateForm(app, "StatsForm");
  form->SetDestroyNotify([](void*, TBaseObject*) { g_log.push_back("form notified"); }, nullptr);
  form->AddOwned(new TProbe("state record"));
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  form->AddOwned(icon);
  TWindowTimer* timer = CreateWindowTimer(1000);
  form->AddOwned(timer);
  form->AddOwned(new TProbe("last registered"));
  form->SetDoubleBuffered(true);
  BuildMenu(form, {});  // as the program does: an empty menu bar, then the popup menu
  form->SetPopupMenu(BuildMenu(form, {"WebServer Monitoring", "-", "Transfer Logging", "(", "Counters"}));
  HWND formWnd = form->Handle();
  icon->SetActive(true);
  timer->SetEnabled(true);
  form->AttachHandler(&Flagged, true);
  form->AttachHandler(&Plain);

  PostMessageA(formWnd, WM_APP + 7, 0, 0);
  PostMessageA(formWnd, WM_CLOSE, 0, 0);  // the main form: the loop ends
  g_log.clear();
  ShellRequests().clear();
  RunMessageLoop(app);

  EXPECT_EQ(std::tuple(LoopState(), IsWindow(formWnd) || IsWindow(appWnd)), std::tuple(TLoopState::Terminated, false));
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
