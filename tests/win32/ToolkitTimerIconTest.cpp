// Window and multimedia timers, and the notification icon through a recording
// stand-in for Shell_NotifyIconA (Wine under a bare Xvfb has no visible tray).
#include "toolkit/NotifyIcon.h"
#include "toolkit/Timers.h"
#include "ToolkitTestSupport.h"
#include <gtest/gtest.h>
#include <atomic>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct TickLog {
  Clock::time_point start = Clock::now();
  std::vector<long long> at;  // ms since start
};

void NoteWindowTick(void* data, TWindowTimer*) {
  auto* log = static_cast<TickLog*>(data);
  log->at.push_back(ElapsedMs(log->start));
}

TEST(WindowTimer, IntervalZeroTicksEverySecond) {
  TWindowTimer* timer = CreateWindowTimer(0);
  EXPECT_EQ(timer->Interval(), 1000);
  TickLog log;
  timer->SetOnTimer(&NoteWindowTick, &log);
  log.start = Clock::now();
  timer->SetEnabled(true);
  ASSERT_TRUE(timer->Enabled());
  ASSERT_NE(TWindowTimer::TimerWindow(), nullptr);
  PumpFor(2500);
  ASSERT_GE(log.at.size(), 1u);
  EXPECT_LE(log.at.size(), 3u);
  EXPECT_GE(log.at[0], 950) << "not before its interval";
  Release(timer);
  EXPECT_EQ(TWindowTimer::TimerWindow(), nullptr) << "the last timer takes the hidden window with it";
}

TEST(WindowTimer, EnablingAgainDoesNotRestartButOffAndOnDoes) {
  TWindowTimer* timer = CreateWindowTimer(1000);
  TickLog log;
  timer->SetOnTimer(&NoteWindowTick, &log);
  timer->SetEnabled(true);
  PumpFor(700);
  timer->SetEnabled(true);  // no effect
  PumpFor(900);
  ASSERT_FALSE(log.at.empty());
  EXPECT_LT(log.at[0], 1600) << "a restart at 700 ms would tick at 1700 ms";

  log = TickLog{};
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  PumpFor(700);
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  PumpFor(1300);
  ASSERT_FALSE(log.at.empty());
  EXPECT_GE(log.at[0], 1650) << "off and on again waits a full interval";
  Release(timer);
}

TEST(WindowTimer, ReleasedInsideItsOwnEvent) {
  TWindowTimer* timer = CreateWindowTimer(50);
  int ticks = 0;
  timer->SetOnTimer([](void* d, TWindowTimer* t) {
    ++*static_cast<int*>(d);
    Release(t);
  }, &ticks);
  timer->SetEnabled(true);
  PumpFor(400);
  EXPECT_EQ(ticks, 1);
}

struct MediaLog {
  std::atomic<int> ticks{0};
  std::atomic<DWORD> thread{0};
};

TEST(MediaTimer, RaisesOnItsOwnThreadAboutOncePerInterval) {
  TMediaTimer* timer = CreateMediaTimer(100);
  MediaLog log;
  timer->SetOnTimer([](void* d, TMediaTimer*) {
    auto* l = static_cast<MediaLog*>(d);
    ++l->ticks;
    l->thread = GetCurrentThreadId();
  }, &log);
  timer->SetEnabled(true);
  ASSERT_TRUE(timer->Enabled());
  Sleep(1050);
  timer->SetEnabled(false);
  const int ticks = log.ticks;
  EXPECT_GE(ticks, 6);
  EXPECT_LE(ticks, 14);
  EXPECT_NE(log.thread.load(), GetCurrentThreadId());
  Sleep(250);
  EXPECT_EQ(log.ticks.load(), ticks) << "no tick after disabling";
  Release(timer);
}

TEST(MediaTimer, PostingModeRaisesOnTheUiThreadWithoutPilingUp) {
  TWindowObject* form = CreateForm(nullptr, "ticks");
  form->SetVisible(false);
  TMediaTimer* timer = CreateMediaTimer(100);
  MediaLog log;
  timer->SetOnTimer([](void* d, TMediaTimer*) {
    auto* l = static_cast<MediaLog*>(d);
    ++l->ticks;
    l->thread = GetCurrentThreadId();
  }, &log);
  timer->SetTargetWindow(form);
  timer->SetEnabled(true);
  PumpFor(1050);
  EXPECT_GE(log.ticks.load(), 6);
  EXPECT_LE(log.ticks.load(), 14);
  EXPECT_EQ(log.thread.load(), GetCurrentThreadId()) << "OnTimer on the loop's thread";

  // A stall of ten periods delivers one tick, not ten.
  PumpMessages();
  log.ticks = 0;
  Sleep(1000);
  EXPECT_EQ(log.ticks.load(), 0) << "nothing runs while the loop is busy";
  PumpMessages();
  EXPECT_EQ(log.ticks.load(), 1);

  // A timer that dies with its tick still queued: the message is dropped.
  Sleep(250);
  Release(timer);
  PumpFor(100);
  EXPECT_LE(log.ticks.load(), 2);
  Release(form);
}

// ---------------------------------------------------------------------------

struct Request {
  DWORD message;
  DWORD cbSize;
  HWND wnd;
  UINT id;
  UINT flags;
  UINT callback;
  HICON icon;
  std::string tip, infoTitle, info;
  UINT timeout;
  DWORD infoFlags;
};
std::vector<Request> g_requests;

BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAA d) {
  Request r{message, d->cbSize, d->hWnd, d->uID, d->uFlags, d->uCallbackMessage, d->hIcon, d->szTip, "", "", 0, 0};
  if (d->cbSize >= sizeof(NOTIFYICONDATAA)) {
    r.infoTitle = d->szInfoTitle;
    r.info = d->szInfo;
    r.timeout = d->uTimeout;
    r.infoFlags = d->dwInfoFlags;
  }
  g_requests.push_back(r);
  return TRUE;
}

tk::unique_hicon MakeIcon() {
  return tk::unique_hicon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
}

class NotifyIconTest : public ::testing::Test {
protected:
  void SetUp() override {
    previous = SetShellNotifyIconFunction(&RecordNotify);
    g_requests.clear();
    form = CreateForm(nullptr, "tray owner");
    form->SetVisible(false);
  }
  void TearDown() override {
    if (form) Release(form);
    SetShellNotifyIconFunction(previous);
  }
  TShellNotifyIconFn previous = nullptr;
  TWindowObject* form = nullptr;
};

TEST_F(NotifyIconTest, AddModifyDeleteWithTheBasicRecord) {
  TNotifyIcon* icon = CreateNotifyIcon(form);
  icon->SetActive(true);
  EXPECT_FALSE(icon->Active()) << "no icon, nothing to show";
  EXPECT_TRUE(g_requests.empty());

  icon->SetTooltip(std::string(80, 'x'));
  icon->SetIcon(MakeIcon());
  icon->SetActive(true);
  ASSERT_EQ(g_requests.size(), 1u);
  const Request& add = g_requests[0];
  EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(add.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
  EXPECT_EQ(add.wnd, form->Handle());
  EXPECT_EQ(add.id, icon->Id());
  EXPECT_EQ(add.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(add.callback, 0xB008u);
  EXPECT_EQ(add.icon, icon->Icon());
  EXPECT_EQ(add.tip.size(), 63u) << "the tooltip is cut to 63 characters";

  tk::unique_hicon old = icon->SetIcon(MakeIcon());
  EXPECT_TRUE(old) << "the previous icon goes back to the caller";
  ASSERT_EQ(g_requests.size(), 2u);
  EXPECT_EQ(g_requests[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(g_requests[1].icon, icon->Icon());

  icon->SetActive(false);
  ASSERT_EQ(g_requests.size(), 3u);
  EXPECT_EQ(g_requests[2].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(g_requests[2].flags, 0u);
  Release(icon);
  EXPECT_EQ(g_requests.size(), 3u) << "an inactive icon sends nothing when it dies";
}

TEST_F(NotifyIconTest, CallbackMessageRaisesTheMouseEvent) {
  TNotifyIcon* first = CreateNotifyIcon(form, MakeIcon());
  TNotifyIcon* second = CreateNotifyIcon(form, MakeIcon());
  std::vector<std::pair<TNotifyIcon*, UINT>> seen;
  auto note = [](void* d, TNotifyIcon* icon, UINT m) {
    static_cast<std::vector<std::pair<TNotifyIcon*, UINT>>*>(d)->emplace_back(icon, m);
  };
  first->SetOnTrayMouse(note, &seen);
  second->SetOnTrayMouse(note, &seen);
  EXPECT_EQ(SendMessageA(form->Handle(), 0xB008, second->Id(), WM_RBUTTONUP), 0);
  SendMessageA(form->Handle(), 0xB008, first->Id(), MAKELPARAM(WM_MOUSEMOVE, 0));
  SendMessageA(form->Handle(), 0xB008, 0xDEAD, WM_LBUTTONDOWN);  // no such icon: ignored
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], std::make_pair(second, static_cast<UINT>(WM_RBUTTONUP)));
  EXPECT_EQ(seen[1], std::make_pair(first, static_cast<UINT>(WM_MOUSEMOVE)));
  Release(second);
  Release(first);
}

TEST_F(NotifyIconTest, TaskbarRestartAddsActiveFlaggedIconsAgain) {
  TNotifyIcon* active = CreateNotifyIcon(form, MakeIcon());
  TNotifyIcon* inactive = CreateNotifyIcon(form, MakeIcon());
  TNotifyIcon* unflagged = CreateNotifyIcon(form, MakeIcon());
  active->SetReAddOnTaskbarRestart(true);
  inactive->SetReAddOnTaskbarRestart(true);
  active->SetActive(true);
  unflagged->SetActive(true);
  const UINT restart = TNotifyIcon::TaskbarCreatedMessage();
  ASSERT_NE(restart, 0u);
  EXPECT_EQ(restart, RegisterWindowMessageA("TaskbarCreated"));
  g_requests.clear();
  SendMessageA(form->Handle(), restart, 0, 0);
  ASSERT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(g_requests[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(g_requests[0].id, active->Id());
  EXPECT_TRUE(active->Active());
  EXPECT_FALSE(inactive->Active());
  Release(unflagged);
  Release(inactive);
  Release(active);
}

TEST_F(NotifyIconTest, ClosingOrDestroyingTheWindowRemovesItsIcons) {
  TNotifyIcon* a = CreateNotifyIcon(form, MakeIcon());
  TNotifyIcon* b = CreateNotifyIcon(form, MakeIcon());
  a->SetActive(true);
  b->SetActive(true);
  g_requests.clear();
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(g_requests.size(), 2u);
  EXPECT_EQ(g_requests[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(g_requests[0].id, b->Id()) << "last created first";
  EXPECT_EQ(g_requests[1].id, a->Id());
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
  ASSERT_EQ(g_requests.size(), 1u);
  EXPECT_EQ(g_requests[0].message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(c->Window(), nullptr);
  c->SetActive(true);
  EXPECT_FALSE(c->Active());
  Release(c);
}

TEST_F(NotifyIconTest, BalloonUsesTheExtendedRecord) {
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  icon->SetActive(true);
  g_requests.clear();
  icon->ShowBalloon("Tarvelo Stats", "Down: 1.1 MB/s", 10, 1);
  ASSERT_EQ(g_requests.size(), 2u);
  for (const Request& r : g_requests) {
    EXPECT_EQ(r.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(r.cbSize, static_cast<DWORD>(sizeof(NOTIFYICONDATAA)));
    EXPECT_EQ(r.flags, static_cast<UINT>(NIF_INFO));
    EXPECT_EQ(r.timeout, 10000u);
    EXPECT_EQ(r.id, icon->Id());
  }
  EXPECT_EQ(g_requests[0].infoTitle, "") << "an empty balloon first takes down the old one";
  EXPECT_EQ(g_requests[1].infoTitle, "Tarvelo Stats");
  EXPECT_EQ(g_requests[1].info, "Down: 1.1 MB/s");
  EXPECT_EQ(g_requests[1].infoFlags, static_cast<DWORD>(NIIF_INFO));

  g_requests.clear();
  icon->ShowBalloon(std::string(100, 't'), std::string(400, 'x'), 3, 3);
  ASSERT_EQ(g_requests.size(), 2u);
  EXPECT_EQ(g_requests[1].infoTitle.size(), 63u);
  EXPECT_EQ(g_requests[1].info.size(), 255u);
  EXPECT_EQ(g_requests[1].infoFlags, static_cast<DWORD>(NIIF_ERROR));
  Release(icon);
}

std::vector<std::pair<DWORD, BOOL>> g_shellResults;

BOOL WINAPI PassToShell(DWORD message, PNOTIFYICONDATAA d) {
  const BOOL ok = Shell_NotifyIconA(message, d);
  g_shellResults.emplace_back(message, ok);
  return ok;
}

TEST(NotifyIconShell, RealShellAcceptsTheRecordsAndNothingLeaks) {
  // Wine's shell keeps tray icons in its own systray window; each request costs a
  // round trip to it, so this stays short.
  const long user = tk::LiveUserHandles();
  TShellNotifyIconFn previous = SetShellNotifyIconFunction(&PassToShell);
  TWindowObject* form = CreateForm(nullptr, "real tray");
  form->SetVisible(false);
  TNotifyIcon* icon = CreateNotifyIcon(form, MakeIcon());
  icon->SetReAddOnTaskbarRestart(true);
  icon->SetActive(true);
  icon->SetIcon(MakeIcon());  // the returned icon is dropped at once
  icon->ShowBalloon("Tarvelo Stats", "text", 1, 1);
  Release(form);  // takes the icon out of the tray
  Release(icon);
  SetShellNotifyIconFunction(previous);
  const DWORD expected[] = {NIM_ADD, NIM_MODIFY, NIM_MODIFY, NIM_MODIFY, NIM_DELETE};
  ASSERT_EQ(g_shellResults.size(), std::size(expected));
  for (size_t i = 0; i < g_shellResults.size(); ++i) {
    EXPECT_EQ(g_shellResults[i].first, expected[i]) << "request " << i;
    EXPECT_TRUE(g_shellResults[i].second) << "the shell refused request " << i;
  }
  EXPECT_EQ(tk::LiveUserHandles(), user);
}

}  // namespace
