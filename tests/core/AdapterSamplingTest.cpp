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
  return std::tuple(uint32_t(s.RecvOctets), uint32_t(s.SentOctets), uint32_t(s.PrevRecvOctets),
                    uint32_t(s.PrevSentOctets));
}

TEST(ListAdapters, OffersEthernetAndPppInTableOrderWithDuplicates) {
  TFakeInterfaceTable t;
  t.Rows = {{24, "Loopback", 1, 1}, {6, "NIC B", 0, 0}, {71, "Wireless", 0, 0},
            {23, "Dial-up", 0, 0},  {6, "NIC A", 0, 0},  {6, "NIC B", 0, 0}};
  EXPECT_EQ(Listed(t), (Names{"NIC B", "Wireless", "Dial-up", "NIC A", "NIC B"}));
  t.Available = false;
  EXPECT_TRUE(Listed(t).empty());
}

TEST(CounterDelta, ResetsWrapsAndSamplesOfBothWidths) {
  constexpr uint64_t G = uint64_t{1} << 30;
  // 32-bit counters wrap and a difference of 2^31 or more is a reset, counting 0; 64-bit
  // ones never wrap, so only a reading below the previous one is, counting what it holds
  const struct { uint64_t current, previous, narrow, wide; int32_t sample; } cases[] = {
      {1500, 1000, 500, 500, 500}, {200, 4294967000u, 496, 200, 200} /* 64 bits: restarted from zero */,
      {0x7FFFFFFFu, 0, 0x7FFFFFFFu, 0x7FFFFFFFu, 0x7FFFFFFF},
      {0x80000000u, 0, 0, 0x80000000u, 0x7FFFFFFF},  // 2 GiB in one tick: only 64 bits can tell
      {500, 1000000, 0, 500, 500}, {7 * G, 2 * G, 0x40000000u, 5 * G, 0x7FFFFFFF},  // 32 bits see 5 GiB mod 2^32
  };
  for (const auto& c : cases) {
    const uint64_t narrow = CounterDelta(c.current, c.previous, false), wide = CounterDelta(c.current, c.previous, true);
    EXPECT_EQ(std::tuple(narrow, wide, TickDelta(wide)), std::tuple(c.narrow, c.wide, c.sample))
        << c.current << " after " << c.previous;
  }
}

TEST(SampleAdapter, MatchesTheFirstEqualDescriptionWhateverItsType) {
  TFakeInterfaceTable t;
  t.Rows = {{6, "nic", 1, 2},       // differs only in case: another adapter
            {24, "NIC", 10, 20},    // type plays no part in matching
            {6, "NIC", 100, 200}};  // duplicate further down: never picked
  TSamplerState f;
  f.AdapterName = "NIC", f.RecvOctets = 7, f.SentOctets = 8;
  TReading r = SampleAdapter(f, t);
  EXPECT_EQ(std::tuple(r, Readings(f), Listed(t)),
            std::tuple(TReading::First, std::tuple(10u, 20u, 7u, 8u), Names{"nic", "NIC"}))
      << "the hand-stored loopback is matched, yet never offered";
  t.IgnoreCase = true, f.AdapterName = "Nic";  // the table's own comparison decides
  r = SampleAdapter(f, t);
  EXPECT_EQ(std::tuple(r, Readings(f)), std::tuple(TReading::First, std::tuple(1u, 2u, 10u, 20u)));

  t.IgnoreCase = false;
  t.Rows = {{6, "", 5, 5}, {6, "Other", 5, 5}};
  const struct { const char* what; const char* name; bool available; } misses[] = {
      {"absent", "NIC", true}, {"no table", "Other", false}, {"no adapter chosen, nameless row present", "", true}};
  for (const auto& c : misses) {
    f.AdapterName = c.name, t.Available = c.available;
    r = SampleAdapter(f, t);
    EXPECT_EQ(std::tuple(r, Readings(f)), std::tuple(TReading::None, std::tuple(1u, 2u, 10u, 20u))) << c.what;
  }
}

TEST(StartSampling, SeedsTotalsFromTheAdaptersFirstReadingAndEnablesTheTimerBeforeReading) {
  for (const bool present : {true, false}) {
    TFakeInterfaceTable t;
    if (present) t.Row("NIC") = {6, "NIC", 5000000, 70000};
    TSamplerState f;
    f.AdapterName = "NIC", f.UpTotal = f.DownTotal = 99, f.RecvOctets = f.SentOctets = 42;
    int readsWhenEnabled = -1;
    StartSampling(f, t, [&] { readsWhenEnabled = t.Reads; });
    EXPECT_EQ(std::tuple(readsWhenEnabled, t.Reads, f.DownTotal, f.UpTotal),
              std::tuple(0, 1, present ? 5000000u : 0u, present ? 70000u : 0u)) << present;
    if (!present) {
      t.Row("NIC") = {6, "NIC", 5000000, 70000};
      const TTrafficDeltas late = SampleTraffic(f, t);
      EXPECT_EQ(std::tuple(late.Down, late.Up, f.DownTotal, f.UpTotal), std::tuple(0u, 0u, 5000000u, 70000u))
          << "found later: seeded then, as its counters so far are no tick's traffic";
    }
    t.Row("NIC").InOctets += 1200, t.Row("NIC").OutOctets += 80;
    const TTrafficDeltas d = SampleTraffic(f, t);
    EXPECT_EQ(std::tuple(d.Down, d.Up, f.DownTotal, f.UpTotal), std::tuple(1200u, 80u, 5001200u, 70080u))
        << (present ? "present at start" : "found later");
  }
}

TEST(SampleTraffic, ResetsWrapsAbsencesAndNewInterfacesInBothWidths) {
  constexpr int64_t Gone = -1, NoTable = -2;
  // the counters as the interface holds them (a 32-bit table shows their low half), the
  // index and the deltas; "WLAN" (index 3) is in the table where the step says so
  const struct { const char* what; int64_t in; uint64_t out; uint32_t index; uint64_t narrow, wide, up; bool wlan = false; }
      steps[] = {
      {"2^31 in one tick", 6147483648, 100, 1, 0, 2147483648u, 0},
      {"past 2^32 in 32 bits", 7442450944, 100, 1, 1294967296, 1294967296, 0}, {"on", 7442451444, 150, 1, 500, 500, 50},
      {"restarted: 32 bits take it for a wrap", 1000, 150, 1, 1147484148, 1000, 0}, {"on", 1500, 200, 1, 500, 500, 50},
      {"gone", Gone, 0, 0, 0, 0, 0}, {"no table", NoTable, 0, 0, 0, 0, 0},
      {"back with its counters kept: the gap", 9500, 880, 1, 8000, 8000, 680}, {"gone again", Gone, 0, 0, 0, 0, 0},
      {"re-created: a new index, new counters", 300, 40, 2, 300, 300, 40, true},
      {"an interface that was there takes the name", 5000000000, 7, 3, 0, 0, 0}, {"on", 5000000010, 9, 3, 10, 10, 2},
      {"restarted while present", 20, 9, 3, 0, 20, 0}, {"gone", Gone, 0, 0, 0, 0, 0},
      {"back on its index, counters started again", 5, 3, 3, 5, 5, 3},
      {"replaced between two readings: a new index", 40, 4, 4, 40, 40, 4}, {"no table", NoTable, 0, 0, 0, 0, 0},
      {"replaced while the table was unreadable", 60, 6, 5, 60, 60, 6},
  };
  for (const bool wide : {false, true}) {
    TFakeInterfaceTable t;
    t.Wide = wide;
    t.Rows = {{24, "lo", 0, 0, 0}, {6, "NIC", 4000000000u, 100, 1}};
    TSamplerState f;
    f.AdapterName = "NIC";
    StartSampling(f, t, nullptr);
    for (const auto& s : steps) {
      t.Available = s.in != NoTable;
      t.Rows.resize(1);
      if (s.wlan) t.Rows.push_back({71, "WLAN", 9, 9, 3});
      if (s.in >= 0) t.Rows.push_back({6, "NIC", uint64_t(s.in), s.out, s.index});
      const TTrafficDeltas d = SampleTraffic(f, t);
      EXPECT_EQ(std::tuple(d.Down, d.Up), std::tuple(wide ? s.wide : s.narrow, s.up)) << s.what << ", wide " << wide;
    }
    EXPECT_EQ(std::tuple(f.DownTotal, f.UpTotal), std::tuple(wide ? 7442461379u : 6442460859u, 935u)) << wide;
  }
}

TEST(SampleTraffic, AnotherAdapterChosenIsNeverSubtractedFromTheOld) {
  TFakeInterfaceTable t;
  t.Wide = true;
  t.Rows = {{6, "NIC", 1000, 10, 1}, {6, "WAN", 9000000000, 20, 2}};
  TSamplerState f;
  f.AdapterName = "NIC";
  StartSampling(f, t, nullptr);
  const auto Tick = [&](const char* name, uint64_t nic, uint64_t wan) {
    f.AdapterName = name;
    for (TIfRow& r : t.Rows) r.InOctets += r.Descr == "NIC" ? nic : wan;  // WAN may be gone
    return SampleTraffic(f, t).Down;
  };
  // the first reading of the new one counts nothing; nor does one chosen while the other was
  // away, as it is not taken for the other's return
  std::vector<uint64_t> downs{Tick("NIC", 100, 5), Tick("WAN", 100, 5), Tick("WAN", 100, 5)};
  t.Rows.erase(t.Rows.begin() + 1);
  for (const char* name : {"WAN", "NIC", "NIC"}) downs.push_back(Tick(name, 100, 0));
  EXPECT_EQ(downs, (std::vector<uint64_t>{100, 0, 5, 0, 0, 100}));
}

}  // namespace
