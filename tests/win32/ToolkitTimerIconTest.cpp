// Window and multimedia timers, and the notification icon through a recording
// stand-in for Shell_NotifyIconA (Wine under a bare Xvfb has no visible tray).
#include "toolkit/MediaTimer.h"
#include "toolkit/NotifyIcon.h"
#include "toolkit/WindowMessages.h"
#include "toolkit/WindowTimer.h"
#include "support/WineTest.h"

#include <atomic>
#include <tuple>

using namespace tk;

namespace {

int g_ticks = 0;

TEST(WindowTimer, IntervalZeroTicksEverySecondAndEnablingAgainDoesNotRestart) {
  TWindowTimer* timer = CreateWindowTimer(0);
  EXPECT_EQ(timer->Interval(), 1000);
  timer->SetOnTimer([](void*, TWindowTimer*) { ++g_ticks; }, nullptr);
  timer->SetEnabled(true);
  PumpFor(700);
  timer->SetEnabled(true);  // a restart here would tick first at 1700 ms
  PumpFor(900);
  EXPECT_EQ(g_ticks, 1) << "in 1.6 s";
  Release(timer);
  EXPECT_EQ(TWindowTimer::TimerWindow(), nullptr) << "the last timer takes the hidden window with it";

  timer = CreateWindowTimer(50);
  timer->SetOnTimer([](void*, TWindowTimer* t) { ++g_ticks, Release(t); }, nullptr);
  timer->SetEnabled(true);
  PumpFor(400);
  EXPECT_EQ(g_ticks, 2) << "released inside its own event";
}

struct MediaLog {
  std::atomic<int> ticks{0};
  std::atomic<DWORD> thread{0};
};

TEST(MediaTimer, AboutOncePerIntervalOnItsOwnThreadOrPostedWithoutPilingUp) {
  TOwned<TWindowObject> form(CreateForm(nullptr, "ticks"));
  form->SetVisible(false);
  MediaLog own, posted;
  TMediaTimer* timers[2];
  for (MediaLog* log : {&own, &posted}) {
    TMediaTimer* timer = timers[log == &posted] = CreateMediaTimer(100);
    timer->SetOnTimer([](void* d, TMediaTimer*) {
      ++static_cast<MediaLog*>(d)->ticks;
      static_cast<MediaLog*>(d)->thread = GetCurrentThreadId();
    }, log);
    if (log == &posted) timer->SetTargetWindow(form.get());
    timer->SetEnabled(true);
  }
  PumpFor(1050);
  timers[0]->SetEnabled(false);
  const int ownTicks = own.ticks;
  EXPECT_TRUE(ownTicks >= 6 && ownTicks <= 14 && posted.ticks >= 6 && posted.ticks <= 14)
      << ownTicks << " and " << posted.ticks << " ticks in 1050 ms";
  const DWORD loop = GetCurrentThreadId();
  EXPECT_EQ(std::tuple(own.thread == loop, posted.thread == loop), std::tuple(false, true))
      << "without a window on the timer's thread; posted, on the loop's";
  posted.ticks = 0;
  Sleep(600);
  EXPECT_EQ(std::tuple(own.ticks.load(), posted.ticks.load()), std::tuple(ownTicks, 0))
      << "none after disabling; none while the loop is busy";
  PumpFor();
  EXPECT_EQ(posted.ticks.load(), 1) << "a stall of six periods delivers one tick";
  Sleep(250);
  Release(timers[1]);
  PumpFor(100);
  EXPECT_EQ(posted.ticks.load(), 1) << "a tick still queued for a released timer is dropped";
  Release(timers[0]);
}

class NotifyIconTest : public ::testing::Test {
protected:
  void SetUp() override { form->SetVisible(false); }
  void TearDown() override {
    form.reset();
    EXPECT_EQ(handles.Leaked(), "");
  }
  TShellRecorder recorder;
  const THandleBaseline handles;
  TOwned<TWindowObject> form{CreateForm(nullptr, "tray owner")};
};

TEST_F(NotifyIconTest, AddModifyDeleteWithTheBasicRecordAndBalloonsWithTheExtendedOne) {
  TOwned<TNotifyIcon> icon(CreateNotifyIcon(form.get()));
  icon->SetActive(true);
  EXPECT_FALSE(icon->Active()) << "no icon, nothing to show";
  icon->SetTooltip(std::string(80, 'x'));
  icon->SetIcon(MakeIcon());
  icon->SetActive(true);
  ASSERT_EQ(ShellMessages(), std::vector<DWORD>{NIM_ADD});
  const NOTIFYICONDATAA& add = ShellRequests()[0].d;
  EXPECT_EQ(std::make_tuple(add.cbSize, add.hWnd, add.uID, add.uFlags, add.uCallbackMessage, add.hIcon,
                            strlen(add.szTip)),
            std::make_tuple(DWORD{NOTIFYICONDATAA_V1_SIZE}, form->Handle(), icon->Id(),
                            UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP}, WM_TK_NOTIFYICON, icon->Icon(), size_t{63}));
  EXPECT_TRUE(icon->SetIcon(MakeIcon())) << "the previous icon goes back to the caller";
  EXPECT_EQ(std::tuple(ShellRequests().back().message, ShellRequests().back().d.hIcon),
            std::tuple(DWORD{NIM_MODIFY}, icon->Icon()));

  ShellRequests().clear();
  icon->ShowBalloon(std::string(100, 't'), std::string(400, 'x'), 3, 3);
  ASSERT_EQ(ShellMessages(), (std::vector<DWORD>{NIM_MODIFY, NIM_MODIFY}));
  for (const TShellRequest& r : ShellRequests())
    EXPECT_EQ(std::make_tuple(r.d.cbSize, r.d.uFlags, r.d.uTimeout, r.d.uID),
              std::make_tuple(DWORD{sizeof(NOTIFYICONDATAA)}, UINT{NIF_INFO}, 3000u, icon->Id()));
  const NOTIFYICONDATAA &first = ShellRequests()[0].d, &second = ShellRequests()[1].d;
  EXPECT_EQ(std::tuple(strlen(first.szInfoTitle), strlen(second.szInfoTitle), strlen(second.szInfo),
                       second.dwInfoFlags),
            std::tuple(size_t{0}, size_t{63}, size_t{255}, DWORD{NIIF_ERROR}))
      << "an empty balloon first takes down the old one; title and text cut to their fields";
  icon->ShowBalloon("Tarvelo Stats", "Down: 1.1 MB/s", 10, 1);  // the program's own kind
  EXPECT_EQ(std::tuple(ShellRequests().back().d.dwInfoFlags, ShellRequests().back().d.uTimeout),
            std::tuple(DWORD{NIIF_INFO}, 10000u));
  ShellRequests().clear();
  icon->SetActive(false);
  icon.reset();
  EXPECT_EQ(std::tuple(ShellMessages(), ShellRequests().back().d.uFlags),
            std::tuple(std::vector<DWORD>{NIM_DELETE}, 0u))
      << "nothing more when it dies";
}

TEST_F(NotifyIconTest, MouseCallbackAndTaskbarRestartReachTheRightIcons) {
  TNotifyIcon* icons[3] = {CreateNotifyIcon(form.get(), MakeIcon()), CreateNotifyIcon(form.get(), MakeIcon()),
                           CreateNotifyIcon(form.get(), MakeIcon())};
  using Seen = std::vector<std::pair<TNotifyIcon*, UINT>>;
  Seen seen;
  for (TNotifyIcon* icon : icons)
    icon->SetOnTrayMouse([](void* d, TNotifyIcon* i, UINT m) { static_cast<Seen*>(d)->emplace_back(i, m); }, &seen);
  SendMessageA(form->Handle(), WM_TK_NOTIFYICON, icons[1]->Id(), MAKELPARAM(WM_RBUTTONUP, 0));
  EXPECT_EQ(seen, (Seen{{icons[1], WM_RBUTTONUP}}));

  icons[0]->SetReAddOnTaskbarRestart(true);  // active and flagged
  icons[1]->SetReAddOnTaskbarRestart(true);  // flagged but inactive
  icons[0]->SetActive(true);
  icons[2]->SetActive(true);  // active, not flagged
  ShellRequests().clear();
  SendMessageA(form->Handle(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_EQ(ShellMessages(), std::vector<DWORD>{NIM_ADD}) << "only the active flagged icon";
  EXPECT_EQ(std::tuple(ShellRequests()[0].d.uID, icons[1]->Active()), std::tuple(icons[0]->Id(), false));
  for (TNotifyIcon* icon : icons) Release(icon);
}

TEST_F(NotifyIconTest, ClosingOrDestroyingTheWindowRemovesItsIcons) {
  TOwned<TNotifyIcon> a(CreateNotifyIcon(form.get(), MakeIcon())), b(CreateNotifyIcon(form.get(), MakeIcon()));
  a->SetActive(true);
  b->SetActive(true);
  ShellRequests().clear();
  SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
  ASSERT_EQ(ShellMessages(), (std::vector<DWORD>{NIM_DELETE, NIM_DELETE}));
  EXPECT_EQ(std::tuple(ShellRequests()[0].d.uID, a->Active()), std::tuple(b->Id(), false)) << "last created first";

  // The window object dying before its icon: the icon leaves and forgets the window.
  TWindowObject* other = CreateForm(nullptr, "short-lived");
  other->SetVisible(false);
  TOwned<TNotifyIcon> c(CreateNotifyIcon(other, MakeIcon()));
  c->SetActive(true);
  ShellRequests().clear();
  Release(other);
  c->SetActive(true);
  EXPECT_EQ(std::tuple(ShellMessages(), c->Window(), c->Active()),
            std::tuple(std::vector<DWORD>{NIM_DELETE}, nullptr, false));
}

}  // namespace
