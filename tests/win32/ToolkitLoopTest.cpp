// The message loop and its termination. A process has one loop, so this program
// runs its cases in order: the loop itself, then what happens after termination.
#include "toolkit/NotifyIcon.h"
#include "toolkit/MediaTimer.h"
#include "toolkit/WindowTimer.h"
#include "toolkit/Application.h"
#include "support/ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace tk;

namespace {

std::vector<std::string> g_log;
std::vector<DWORD> g_shell;

class TProbe : public TBaseObject {
public:
  explicit TProbe(const char* name) : name_(name) {}
protected:
  ~TProbe() override { g_log.push_back(std::string("released ") + name_); }
private:
  const char* name_;
};

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA) {
  g_shell.push_back(message);
  return TRUE;
}

bool Flagged(TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_APP + 7) g_log.push_back(LoopTerminated() ? "flagged after" : "flagged");
  return false;
}
bool Plain(TWindowObject*, TMessageRecord& m, LRESULT&) {
  if (m.Msg == WM_APP + 7) g_log.push_back(LoopTerminated() ? "plain after" : "plain");
  return false;
}

TEST(Loop, QuitEndsTheLoopAndDestroysEverything) {
  const long userBase = tk::LiveUserHandles(), gdiBase = tk::LiveGdiHandles();
  TAppWindow* app = CreateAppWindow("Tarvelo");
  HWND appWnd = app->Handle();
  EXPECT_TRUE(GetWindowLongA(appWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "the program's taskbar button";
  app->SetVisible(false);
  EXPECT_EQ(LoopState(), TLoopState::NotStarted);

  int cause = 0;  // the event refuses a logoff
  app->SetOnQueryEndSession([](void* d, TWindowObject* w, bool& accept) {
    *static_cast<int*>(d) = w->EndSessionCause();
    accept = w->EndSessionCause() == 1;
  }, &cause);
  EXPECT_EQ(SendMessageA(appWnd, WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_EQ(cause, 1) << "a shutdown";
  EXPECT_EQ(SendMessageA(appWnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
  EXPECT_EQ(cause, 2) << "a logoff";
  EXPECT_EQ(app->EndSessionCause(), 0) << "only while the event runs";

  SetShellNotifyIconFunction(&RecordNotify);
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
  g_shell.clear();
  RunMessageLoop(app);

  EXPECT_EQ(LoopState(), TLoopState::Terminated);
  EXPECT_EQ(seen.byApp, 1);
  EXPECT_FALSE(IsWindow(formWnd));
  EXPECT_FALSE(IsWindow(appWnd));
  const std::vector<std::string> expected = {"plain", "flagged", "form notified", "released last registered",
                                             "released state record"};
  EXPECT_EQ(g_log, expected) << "the notification first, then the owned objects newest first";
  EXPECT_EQ(g_shell, std::vector<DWORD>{NIM_DELETE}) << "closing the main form took the icon away";
  EXPECT_EQ(ApplicationObject(), nullptr);
  EXPECT_EQ(tk::LiveUserHandles(), userBase);
  EXPECT_EQ(tk::LiveGdiHandles(), gdiBase);
  MSG left;
  EXPECT_FALSE(PeekMessageA(&left, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE)) << "no quit message lingers";
}

TEST(Loop, AfterTerminationOnlyFlaggedHandlersRunAndIconsStayAway) {
  ASSERT_EQ(LoopState(), TLoopState::Terminated);
  TWindowObject* form = CreateForm(nullptr, "late");
  form->AttachHandler(&Flagged, true);
  form->AttachHandler(&Plain);
  g_log.clear();
  form->Perform(WM_APP + 7, 0, 0);
  EXPECT_EQ(g_log, std::vector<std::string>{"flagged after"});

  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  form->Handle();
  g_shell.clear();
  icon->SetActive(true);
  EXPECT_EQ(g_shell, std::vector<DWORD>{NIM_DELETE});
  EXPECT_FALSE(icon->Active());
  Release(icon);
  Release(form);
}

}  // namespace
