// Window and multimedia timers, and the notification icon through a recording
// stand-in for Shell_NotifyIconA (Wine under a bare Xvfb has no visible tray).
#include "toolkit/NotifyIcon.h"
#include "toolkit/WindowMessages.h"
#include "toolkit/MediaTimer.h"
#include "toolkit/WindowTimer.h"
#include "support/ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <tuple>
#include <vector>

using namespace tk;

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point g_start;
std::vector<long long> g_ticks;  // ms since g_start

TEST(WindowTimer, IntervalZeroTicksEverySecondAndEnablingAgainDoesNotRestart) {
  TWindowTimer* timer = CreateWindowTimer(0);
  EXPECT_EQ(timer->Interval(), 1000);
  timer->SetOnTimer([](void*, TWindowTimer*) {
    g_ticks.push_back(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - g_start).count());
  }, nullptr);
  g_start = Clock::now();
  timer->SetEnabled(true);
  PumpFor(700);
  timer->SetEnabled(true);  // no effect
  PumpFor(1800);
  ASSERT_FALSE(g_ticks.empty());
  EXPECT_LE(g_ticks.size(), 3u);
  EXPECT_GE(g_ticks[0], 950) << "not before its interval";
  EXPECT_LT(g_ticks[0], 1600) << "a restart at 700 ms would tick at 1700 ms";
  Release(timer);
  EXPECT_EQ(TWindowTimer::TimerWindow(), nullptr) << "the last timer takes the hidden window with it";

  timer = CreateWindowTimer(50);
  timer->SetOnTimer([](void*, TWindowTimer* t) {
    g_ticks.push_back(0);
    Release(t);
  }, nullptr);
  g_ticks.clear();
  timer->SetEnabled(true);
  PumpFor(400);
  EXPECT_EQ(g_ticks.size(), 1u) << "released inside its own event";
}

struct MediaLog {
  std::atomic<int> ticks{0};
  std::atomic<DWORD> thread{0};
};

TMediaTimer* StartMediaTimer(MediaLog& log, TWindowObject* target = nullptr) {
  TMediaTimer* timer = CreateMediaTimer(100);
  timer->SetOnTimer([](void* d, TMediaTimer*) {
    ++static_cast<MediaLog*>(d)->ticks;
    static_cast<MediaLog*>(d)->thread = GetCurrentThreadId();
  }, &log);
  if (target) timer->SetTargetWindow(target);
  timer->SetEnabled(true);
  return timer;
}

TEST(MediaTimer, AboutOncePerIntervalOnItsOwnThreadOrPostedWithoutPilingUp) {
  TWindowObject* form = CreateForm(nullptr, "ticks");
  form->SetVisible(false);
  MediaLog own, posted;
  TMediaTimer* ownTimer = StartMediaTimer(own);
  TMediaTimer* timer = StartMediaTimer(posted, form);
  PumpFor(1050);
  ownTimer->SetEnabled(false);
  const int ownTicks = own.ticks;
  EXPECT_TRUE(ownTicks >= 6 && ownTicks <= 14) << ownTicks << " ticks in 1050 ms on the timer's thread";
  EXPECT_TRUE(posted.ticks >= 6 && posted.ticks <= 14) << posted.ticks << " ticks in 1050 ms posted";
  EXPECT_NE(own.thread.load(), GetCurrentThreadId()) << "without a window, OnTimer runs on the timer's thread";
  EXPECT_EQ(posted.thread.load(), GetCurrentThreadId()) << "posted, OnTimer runs on the loop's thread";

  posted.ticks = 0;
  Sleep(1000);
  EXPECT_EQ(own.ticks.load(), ownTicks) << "no tick after disabling";
  EXPECT_EQ(posted.ticks.load(), 0) << "nothing runs while the loop is busy";
  PumpFor();
  EXPECT_EQ(posted.ticks.load(), 1) << "a stall of ten periods delivers one tick, not ten";

  Sleep(250);
  Release(timer);
  PumpFor(100);
  EXPECT_EQ(posted.ticks.load(), 1) << "a tick still queued for a released timer is dropped";
  Release(ownTimer);
  Release(form);
}

struct Request {
  DWORD message, cbSize;
  HWND wnd;
  UINT id, flags, callback, timeout;
  HICON icon;
  std::string tip, infoTitle, info;
  DWORD infoFlags;
  BOOL accepted;
};
std::vector<Request> g_requests;
bool g_realShell = false;  // pass every request on to Wine's own tray as well

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA d) {
  const bool ext = d->cbSize >= sizeof(NOTIFYICONDATAA);  // read nothing past the record's size
  g_requests.push_back({message, d->cbSize, d->hWnd, d->uID, d->uFlags, d->uCallbackMessage, ext ? d->uTimeout : 0,
                        d->hIcon, d->szTip, ext ? d->szInfoTitle : "", ext ? d->szInfo : "", ext ? d->dwInfoFlags : 0,
                        g_realShell ? Shell_NotifyIconA(message, d) : TRUE});
  return g_requests.back().accepted;
}

std::vector<DWORD> Messages() {
  std::vector<DWORD> m;
  for (const Request& r : g_requests) m.push_back(r.message);
  return m;
}

class NotifyIconTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous = SetShellNotifyIconFunction(&RecordNotify);
    g_requests.clear();
    user = tk::LiveUserHandles();
    form = CreateForm(nullptr, "tray owner");
    form->SetVisible(false);
  }
  void TearDown() override {
    Release(form);
    SetShellNotifyIconFunction(previous);
    g_realShell = false;
    EXPECT_EQ(tk::LiveUserHandles(), user) << "icons and windows all released";
  }
  TShellNotifyIconFn previous = nullptr;
  long user = 0;
  TWindowObject* form = nullptr;
};

TEST_F(NotifyIconTest, AddModifyDeleteWithTheBasicRecord) {
  TNotifyIcon* icon = CreateNotifyIcon(form);
  icon->SetActive(true);
  EXPECT_FALSE(icon->Active()) << "no icon, nothing to show";
  icon->SetTooltip(std::string(80, 'x'));
  icon->SetIcon(MakeIcon());
  icon->SetActive(true);
  ASSERT_EQ(Messages(), std::vector<DWORD>{NIM_ADD});
  const Request& add = g_requests[0];
  EXPECT_EQ(std::make_tuple(add.cbSize, add.wnd, add.id, add.flags, add.callback, add.icon),
            std::make_tuple(DWORD{NOTIFYICONDATAA_V1_SIZE}, form->Handle(), icon->Id(),
                            UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP}, WM_TK_NOTIFYICON, icon->Icon()))
      << "basic record: size, window, id, flags, callback, icon";
  EXPECT_EQ(add.tip.size(), 63u) << "the tooltip is cut to 63 characters";

  EXPECT_TRUE(icon->SetIcon(MakeIcon())) << "the previous icon goes back to the caller";
  EXPECT_EQ(g_requests.back().icon, icon->Icon());
  icon->SetActive(false);
  Release(icon);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_DELETE})) << "nothing more when it dies";
  EXPECT_EQ(g_requests.back().flags, 0u);
}

TEST_F(NotifyIconTest, MouseCallbackAndTaskbarRestartReachTheRightIcons) {
  TNotifyIcon* icons[3] = {CreateNotifyIcon(form, MakeIcon()), CreateNotifyIcon(form, MakeIcon()),
                           CreateNotifyIcon(form, MakeIcon())};
  using Seen = std::vector<std::pair<TNotifyIcon*, UINT>>;
  Seen seen;
  auto note = [](void* d, TNotifyIcon* icon, UINT m) { static_cast<Seen*>(d)->emplace_back(icon, m); };
  for (TNotifyIcon* icon : icons) icon->SetOnTrayMouse(note, &seen);
  EXPECT_EQ(SendMessageA(form->Handle(), WM_TK_NOTIFYICON, icons[1]->Id(), WM_RBUTTONUP), 0);
  SendMessageA(form->Handle(), WM_TK_NOTIFYICON, icons[0]->Id(), MAKELPARAM(WM_MOUSEMOVE, 0));
  SendMessageA(form->Handle(), WM_TK_NOTIFYICON, 0xDEAD, WM_LBUTTONDOWN);  // no such icon: ignored
  EXPECT_EQ(seen, (Seen{{icons[1], WM_RBUTTONUP}, {icons[0], WM_MOUSEMOVE}}));

  icons[0]->SetReAddOnTaskbarRestart(true);  // active and flagged
  icons[1]->SetReAddOnTaskbarRestart(true);  // flagged but inactive
  icons[0]->SetActive(true);
  icons[2]->SetActive(true);  // active, not flagged
  g_requests.clear();
  SendMessageA(form->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_EQ(Messages(), std::vector<DWORD>{NIM_ADD}) << "only the active flagged icon";
  EXPECT_EQ(g_requests[0].id, icons[0]->Id());
  EXPECT_FALSE(icons[1]->Active());
  for (TNotifyIcon* icon : icons) Release(icon);
}

TEST_F(NotifyIconTest, ClosingOrDestroyingTheWindowRemovesItsIcons) {
  TNotifyIcon* a = CreateNotifyIcon(form, MakeIcon());
  TNotifyIcon* b = CreateNotifyIcon(form, MakeIcon());
  a->SetActive(true);
  b->SetActive(true);
  g_requests.clear();
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(Messages(), (std::vector<DWORD>{NIM_DELETE, NIM_DELETE}));
  EXPECT_EQ((std::vector<UINT>{g_requests[0].id, g_requests[1].id}), (std::vector<UINT>{b->Id(), a->Id()}))
      << "last created first";
  EXPECT_FALSE(a->Active());
  Release(a);
  Release(b);

  // The window object dying before its icon: the icon leaves and forgets the window.
  TWindowObject* other = CreateForm(nullptr, "short-lived");
  other->SetVisible(false);
  TNotifyIcon* c = CreateNotifyIcon(other, MakeIcon());
  c->SetActive(true);
  g_requests.clear();
  Release(other);
  EXPECT_EQ(Messages(), std::vector<DWORD>{NIM_DELETE});
  EXPECT_EQ(c->Window(), nullptr);
  c->SetActive(true);
  EXPECT_FALSE(c->Active());
  Release(c);
}

TEST_F(NotifyIconTest, BalloonUsesTheExtendedRecord) {
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  icon->SetActive(true);
  struct Case { std::string title, text; int seconds, kind; size_t titleSize, textSize; DWORD flags; };
  const Case cases[] = {{"Tarvelo Stats", "Down: 1.1 MB/s", 10, 1, 13, 14, NIIF_INFO},
                        {std::string(100, 't'), std::string(400, 'x'), 3, 3, 63, 255, NIIF_ERROR}};
  for (const Case& c : cases) {
    g_requests.clear();
    icon->ShowBalloon(c.title, c.text, c.seconds, c.kind);
    ASSERT_EQ(Messages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY})) << c.title;
    for (const Request& r : g_requests)
      EXPECT_EQ(std::make_tuple(r.cbSize, r.flags, r.timeout, r.id),
                std::make_tuple(DWORD{sizeof(NOTIFYICONDATAA)}, UINT{NIF_INFO}, c.seconds * 1000u, icon->Id()))
          << "extended record: size, flags, timeout, id for " << c.title;
    EXPECT_EQ(g_requests[0].infoTitle, "") << "an empty balloon first takes down the old one";
    EXPECT_EQ(g_requests[1].infoTitle, c.title.substr(0, c.titleSize));
    EXPECT_EQ(g_requests[1].info, c.text.substr(0, c.textSize));
    EXPECT_EQ(g_requests[1].infoFlags, c.flags) << c.title;
  }
  Release(icon);
}

TEST_F(NotifyIconTest, RealShellAcceptsTheRecords) {
  // Each request is a round trip to Wine's own systray window, so this stays short.
  g_realShell = true;
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  icon->SetReAddOnTaskbarRestart(true);
  icon->SetActive(true);
  icon->SetIcon(MakeIcon());  // the returned icon is dropped at once
  icon->ShowBalloon("Tarvelo Stats", "text", 1, 1);
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);  // takes the icon out of the tray
  Release(icon);
  EXPECT_EQ(Messages(), (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_MODIFY, NIM_MODIFY, NIM_DELETE}));
  for (const Request& r : g_requests) EXPECT_TRUE(r.accepted) << "the shell refused request " << r.message;
}

}  // namespace
