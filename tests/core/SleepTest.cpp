#include "app/PowerEvents.h"

#include <gtest/gtest.h>

#include "support/FakeTick.h"

namespace {

TEST(Sleep, TheSuspendStoresTheTotalsAndATimerThatKeepsFiringEndsTheHold) {
  TTickRig rig;
  SystemSuspending(rig.Form, rig.Store, 1000);
  EXPECT_EQ(rig.Log, (TEventLog{"store upload_l", "store upload_h", "store download_l", "store download_h",
                                "store counter_elapsed"}));
  rig.Log.clear();
  for (int i = 0; i < MaxHeldTicks; ++i) rig.Tick(10, 0);
  EXPECT_TRUE(rig.Log.empty());
  rig.Tick(10, 0);
  EXPECT_EQ(rig.Form.DownloadCounter, (MaxHeldTicks + 1) * 10);
}

// The time asleep is what lies between the notices, and only that.
TEST(Sleep, AwakeTimeLeavesOutTheTimeBetweenTheNotices) {
  const struct { uint64_t suspend, resume, now, awake; } cases[] = {
      {1000, 5000, 900, 900}, {1000, 5000, 3000, 1000}, {1000, 5000, 7000, 3000},
      {1000, 0, 0, 0},          // a clock that cannot tell
      {1000, 900, 2000, 2000},  // a resume before the suspend leaves nothing out
  };
  for (const auto& c : cases) {
    TSleepState s;
    NoteSuspend(s, c.suspend);
    if (c.resume && c.now >= c.resume) NoteResume(s, c.resume);
    EXPECT_EQ(AwakeMs(s, c.now), c.awake) << c.suspend << ".." << c.resume << " at " << c.now;
  }
}

}  // namespace
