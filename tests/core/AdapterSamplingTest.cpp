#include "traffic/AdapterSampling.h"

#include <gtest/gtest.h>

#include <tuple>

#include "support/FakeInterfaceTable.h"

namespace {

using Names = std::vector<std::string>;

Names Listed(TInterfaceTable& table) {
  Names out;
  ListAdapters(table, [&](const std::string& d) { out.push_back(d); });
  return out;
}

auto Readings(const TSamplerState& s) {
  return std::tuple(s.RecvOctets, s.SentOctets, s.PrevRecvOctets, s.PrevSentOctets);
}

TEST(ListAdapters, OffersEthernetAndPppInTableOrderWithDuplicates) {
  TFakeInterfaceTable t;
  t.Rows = {{24, "Loopback", 1, 1}, {6, "NIC B", 0, 0}, {71, "Wireless", 0, 0},
            {23, "Dial-up", 0, 0},  {6, "NIC A", 0, 0},  {6, "NIC B", 0, 0}};
  EXPECT_EQ(Listed(t), (Names{"NIC B", "Wireless", "Dial-up", "NIC A", "NIC B"}));
  t.Available = false;
  EXPECT_TRUE(Listed(t).empty());
}

TEST(CounterDelta, WrapsModulo2To32AndResetsCountAsNothing) {
  const struct { uint32_t current, previous, delta; int32_t tick; } cases[] = {
      {0, 0, 0, 0},
      {1500, 1000, 500, 500},
      {200, 4294967000u, 496, 496},  // wrapped
      {0, 4294967295u, 1, 1},
      {0x7FFFFFFFu, 0, 0x7FFFFFFFu, 0x7FFFFFFF},  // largest sample that fits
      {0x80000000u, 0, 0x80000000u, 0},          // 2^31: a counter reset
      {500, 1000000, 4294967295u - 999499, 0},   // counters restarted below the old reading
  };
  for (const auto& c : cases)
    EXPECT_EQ(std::tuple(CounterDelta(c.current, c.previous), TickDelta(CounterDelta(c.current, c.previous))),
              std::tuple(c.delta, c.tick))
        << c.current << " after " << c.previous;
}

TEST(SampleAdapter, MatchesTheFirstEqualDescriptionWhateverItsType) {
  TFakeInterfaceTable t;
  t.Rows = {{6, "nic", 1, 2},       // differs only in case: another adapter
            {24, "NIC", 10, 20},    // type plays no part in matching
            {6, "NIC", 100, 200}};  // duplicate further down: never picked
  TSamplerState f;
  f.AdapterName = "NIC";
  f.RecvOctets = 7, f.SentOctets = 8;
  ASSERT_TRUE(SampleAdapter(f, t));
  EXPECT_EQ(Readings(f), std::tuple(10u, 20u, 7u, 8u));
  EXPECT_EQ(Listed(t), (Names{"nic", "NIC"})) << "the hand-stored loopback is matched, yet never offered";

  t.IgnoreCase = true;  // the table's own comparison decides
  f.AdapterName = "Nic";
  ASSERT_TRUE(SampleAdapter(f, t));
  EXPECT_EQ(Readings(f), std::tuple(1u, 2u, 10u, 20u));

  // nothing to match: the readings stay as they were
  t.IgnoreCase = false;
  t.Rows = {{6, "", 5, 5}, {6, "Other", 5, 5}};
  const struct { const char* what; const char* name; bool available; } misses[] = {
      {"absent", "NIC", true}, {"no table", "Other", false}, {"no adapter chosen, nameless row present", "", true}};
  for (const auto& c : misses) {
    f.AdapterName = c.name;
    t.Available = c.available;
    EXPECT_FALSE(SampleAdapter(f, t)) << c.what;
    EXPECT_EQ(Readings(f), std::tuple(1u, 2u, 10u, 20u)) << c.what;
  }
}

TEST(StartSampling, SeedsTotalsFromTheAdapterAndEnablesTheTimerBeforeReading) {
  for (const bool present : {true, false}) {
    TFakeInterfaceTable t;
    if (present) t.Row("NIC") = {6, "NIC", 5000000, 70000};
    TSamplerState f;
    f.AdapterName = "NIC";
    f.UpTotal = f.DownTotal = 99;
    f.RecvOctets = f.SentOctets = 42;
    int readsWhenEnabled = -1;
    StartSampling(f, t, [&] { readsWhenEnabled = t.Reads; });
    EXPECT_EQ(std::tuple(readsWhenEnabled, t.Reads), std::tuple(0, 1)) << "timer enabled before the priming read";
    EXPECT_EQ(std::tuple(f.DownTotal, f.UpTotal), std::tuple(present ? 5000000u : 0u, present ? 70000u : 0u))
        << (present ? "seeded" : "absent adapter: no seed");
    // the first tick covers one tick only, or the adapter's full reading when it was absent
    t.Row("NIC").InOctets += 1200;
    t.Row("NIC").OutOctets += 80;
    const TTrafficDeltas d = SampleTraffic(f, t);
    EXPECT_EQ(std::tuple(d.Down, d.Up, f.DownTotal, f.UpTotal),
              std::tuple(1200, 80, present ? 5001200u : 1200u, present ? 70080u : 80u));
  }
}

TEST(SampleTraffic, ResetCounterAddsNothingToTotalsAndTotalsPass4GiB) {
  TFakeInterfaceTable t;
  t.Row("NIC") = {6, "NIC", 4000000000u, 100};
  TSamplerState f;
  f.AdapterName = "NIC";
  StartSampling(f, t, nullptr);
  // in -1: the adapter gone from the table, -2: no table at all
  const struct {
    const char* what;
    int64_t in;
    uint32_t out;
    int32_t down, up;
    uint64_t downTotal, upTotal;
  } steps[] = {
      {"wrapped past 2^32: counted", 1000000000, 100, 1294967296, 0, 5294967296u, 100},
      {"driver restarted its counters", 1000, 100, 0, 0, 5294967296u, 100},
      {"counts on from the new reading", 1500, 150, 500, 50, 5294967796u, 150},
      {"adapter gone: no traffic", -1, 0, 0, 0, 5294967796u, 150},
      {"no table: no traffic", -2, 0, 0, 0, 5294967796u, 150},
      {"its return covers the gap", 9500, 750, 8000, 600, 5294975796u, 750},
  };
  for (const auto& s : steps) {
    t.Available = s.in != -2;
    t.Rows.clear();
    if (s.in >= 0) t.Rows.push_back({6, "NIC", uint32_t(s.in), s.out});
    const TTrafficDeltas d = SampleTraffic(f, t);
    EXPECT_EQ(std::tuple(d.Down, d.Up, f.DownTotal, f.UpTotal), std::tuple(s.down, s.up, s.downTotal, s.upTotal))
        << s.what;
  }
}

}  // namespace
