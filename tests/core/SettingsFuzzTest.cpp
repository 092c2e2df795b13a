// Whatever the store holds, loading and ticking never crash, hang or divide by zero: every
// catalogued value missing or of a random kind, size and bytes, then LoadSettings and ticks
// on what was loaded. TARVELO_FUZZ_SEED and TARVELO_FUZZ_ROUNDS replay a run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "app/LoadSettings.h"
#include "render/Scaling.h"
#include "settings/SettingsCatalogue.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"

namespace {

struct TGenerator {
  std::mt19937 Rng;
  uint32_t Below(uint32_t n) { return Rng() % n; }
  // Every catalogued value, a sixth left out. Edge bytes as often as random ones; no
  // separators or colons, so a log file stays in the scratch folder.
  void Fill(TMemorySettings& store) {
    static constexpr uint32_t Kinds[] = {RegNone, RegSz, RegBinary, RegDword, RegDword, RegQword};
    static constexpr char Edges[] = {0, 1, 0x7F, char(0x80), char(0xFF), 'N', '1', '0'};
    for (const TSettingDef& d : SettingsCatalogue()) {
      if (Below(6) == 0) continue;
      const uint32_t kind = Kinds[Below(6)];
      std::string b(kind == RegDword ? 4 : kind == RegQword ? 8 : Below(4) ? Below(12) : 600, '\0');
      for (char& c : b) c = Below(2) ? Edges[Below(8)] : char(Rng());
      for (char& c : b) c = c == '/' || c == '\\' || c == ':' ? '_' : c;
      store.SetRaw(d.Name, kind, b);
    }
  }
};

// LoadSettings, then ticks with an adapter that may be missing, counters that jump and a
// table that now and then cannot be read.
void Round(TSettings& store, TGenerator& g, int ticks) {
  TTickRig rig(0);
  const TStatsForm& f = rig.Form;
  const TFakeGraphWindow& w = rig.Window;
  LoadSettings(rig.Form, store, rig.Window);
  ASSERT_TRUE(w.W >= 1 && w.W <= 16384 && w.H >= 1 && w.H <= 16384 && w.Opacity >= 0 && w.Opacity <= 255);
  rig.History.HistoryResize(w.W);  // what the resize handler does
  rig.Table.Rows.clear();
  if (g.Below(4)) rig.Table.Row(f.AdapterName);
  TTickContext ctx{rig.Form, rig.History, rig.Table, store, rig.Clock, rig.Window, rig.Tray};
  for (int t = 0; t < ticks; ++t) {
    rig.Table.Available = g.Below(10) != 0;
    for (auto& row : rig.Table.Rows) row.InOctets += g.Below(2) ? g.Rng() : g.Below(2000000), row.OutOctets += t;
    RunTick(ctx);
    const TDirectionScales g1 = DirectionScales(f.GraphScaleMax, f.ScaleBallance);
    const TDirectionScales t1 = DirectionScales(f.TrayScaleMax, f.TrayScaleBallance);
    ASSERT_GE(std::min({f.GraphScaleMax, f.TrayScaleMax, g1.DownScale, g1.UpScale, t1.DownScale, t1.UpScale}), 1) << t;
    ASSERT_LE(f.ElapsedCounter, uint32_t{INT32_MAX}) << "tick " << t;
  }
}

// The rounds run from a scratch directory of their own, where relative log names land.
TEST(SettingsFuzz, RandomStoresLoadAndTick) {
  namespace fs = std::filesystem;
  const char *seedText = std::getenv("TARVELO_FUZZ_SEED"), *roundsText = std::getenv("TARVELO_FUZZ_ROUNDS");
  const uint32_t seed = seedText ? std::strtoul(seedText, nullptr, 0) : 0x7A2026;
  const uint32_t rounds = roundsText ? std::strtoul(roundsText, nullptr, 0) : 1000;
  const fs::path dir = fs::temp_directory_path() / ("tarvelo_fuzz_" + std::to_string(seed)), cwd = fs::current_path();
  fs::remove_all(dir), fs::create_directories(dir), fs::current_path(dir);
  for (uint32_t r = 0; r < rounds && !::testing::Test::HasFatalFailure(); ++r) {
    SCOPED_TRACE("replay with TARVELO_FUZZ_SEED=" + std::to_string(seed + r) + " TARVELO_FUZZ_ROUNDS=1");
    TGenerator g{std::mt19937(seed + r)};
    TMemorySettings store;
    g.Fill(store);
    Round(store, g, 12);
  }
  fs::current_path(cwd), fs::remove_all(dir);
}

}  // namespace
