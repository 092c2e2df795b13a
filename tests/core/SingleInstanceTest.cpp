// A later start against every timing of the program holding the session's lock.
#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr uint64_t Never = std::numeric_limits<uint64_t>::max();

// The holder as seen from the later start: its lock comes free at FreeAt, its window
// answers from AnswerFrom until AnswerUntil; a question to a hung window costs HungCost.
struct THolder : TInstanceSeam {
  uint64_t FreeAt = 0, AnswerFrom = Never, AnswerUntil = Never, HungCost = 0;
  uint64_t Now = 1000000;  // any start; only differences count
  const uint64_t Start = Now;
  int Questions = 0;

  bool TakeLock(uint32_t waitMs) override {
    if (FreeAt - Start <= Now - Start + waitMs) return Now = std::max(Now, FreeAt), true;
    return Now += waitMs, false;
  }
  bool AskHolderToShow() override {
    ++Questions;
    if (Now - Start >= AnswerFrom && Now - Start < AnswerUntil) return true;
    return Now += HungCost, false;
  }
  uint64_t NowMs() override { return Now; }
};

TEST(SingleInstance, ALaterStartRunsOnlyWhenTheLockComesFree) {
  using C = TInstanceClaim;
  const uint64_t P = InstancePatienceMs;
  const struct { const char* holder; uint64_t free, from, until, hung; C claim; uint64_t minMs, maxMs; } cases[] = {
      {"none", 0, Never, Never, 0, C::First, 0, 0},
      {"running", Never, 0, Never, 0, C::HandedOver, 0, 0},
      {"still starting, window later", Never, 1100, Never, 0, C::HandedOver, 1100, 1100 + InstanceRetryMs},
      {"ending just before patience runs out", P - 1, Never, Never, 0, C::First, P - 1, P - 1},
      {"hung", Never, Never, Never, 0, C::GaveUp, P, P},
      {"hung, each question timing out", Never, Never, Never, 2000, C::GaveUp, P, P + InstanceRetryMs + 2000},
      {"its lock free only after patience", P + 3000, Never, Never, 0, C::GaveUp, P, P + InstanceRetryMs},
  };
  for (const auto& c : cases) {
    THolder h;
    h.FreeAt = c.free == Never ? Never : h.Start + c.free;
    h.AnswerFrom = c.from, h.AnswerUntil = c.until, h.HungCost = c.hung;
    EXPECT_EQ(ClaimInstance(h), c.claim) << c.holder;
    EXPECT_TRUE(h.Now - h.Start >= c.minMs && h.Now - h.Start <= c.maxMs) << c.holder << ": " << h.Now - h.Start << " ms";
  }
}

}  // namespace
