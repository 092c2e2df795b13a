// Fuzz rounds over the settings: every catalogued value missing or of a random kind, size
// and bytes, then LoadSettings and a run of ticks on what was loaded. Shared by the native
// rounds (in-memory store) and the Wine rounds (real registry).
// TARVELO_FUZZ_SEED and TARVELO_FUZZ_ROUNDS replay or widen a run.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <random>

#include "app/LoadSettings.h"
#include "render/Scaling.h"
#include "settings/SettingsCatalogue.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"

namespace fuzz {

struct TGenerator {
  std::mt19937 Rng;

  uint32_t Below(uint32_t n) { return Rng() % n; }
  uint32_t Number() {
    static constexpr uint32_t Edges[] = {0, 1, 2, 49, 51, 99, 100, 255, 256, 4096, 16384, 16385, 739956,
                                         0x7FFFFFFF, 0x80000000, 0x80000005, 0xFFFFFFFF};
    return Below(3) ? Edges[Below(std::size(Edges))] : Rng();
  }
  // Texts without separators or drive colons, so a log file a round creates stays in its directory.
  std::string Bytes(size_t n) {
    static const char* const Meaningful[] = {"", "NIC", "log.txt", "missing/log.txt"};
    if (Below(3) == 0) return Meaningful[Below(std::size(Meaningful))];
    std::string t;
    while (t.size() < n)
      if (const char c = char(Rng()); c != '/' && c != '\\' && c != ':') t += c;
    return t;
  }
  // Every catalogued value, as (name, registry type, bytes); missing ones left out.
  template <typename TPlant> void Store(TPlant plant) {
    const auto le32 = [](uint32_t v) { return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; };
    for (const TSettingDef& d : SettingsCatalogue()) {
      const uint32_t kind = Below(6);
      if (kind == 1 || kind == 2) plant(d.Name, RegDword, le32(Number()));
      if (kind == 3) plant(d.Name, RegSz, Bytes(Below(2) ? Below(12) : 600) + std::string(Below(4) ? 1 : 0, '\0'));
      if (kind == 4) plant(d.Name, Below(2) ? RegBinary : RegNone, Bytes(Below(6)));
      if (kind == 5) plant(d.Name, RegQword, le32(Number()) + le32(Number()));
    }
  }
};

// LoadSettings from the store, then ticks on what it loaded, with an adapter that may be
// missing, counters that jump and a table that now and then cannot be read.
inline void Round(TSettings& store, TGenerator& g, int ticks) {
  TTickRig rig(0);
  const TStatsForm& f = rig.Form;
  LoadSettings(rig.Form, store, rig.Window);
  ASSERT_TRUE(rig.Window.W >= 1 && rig.Window.W <= 16384 && rig.Window.H >= 1 && rig.Window.H <= 16384);
  ASSERT_TRUE(rig.Window.Opacity >= 0 && rig.Window.Opacity <= 255);
  rig.History.HistoryResize(rig.Window.W);  // what the resize handler does
  rig.Table.Rows.clear();
  if (g.Below(4)) rig.Table.Row(f.AdapterName);
  TTickContext ctx{rig.Form, rig.History, rig.Table, store, rig.Clock, rig.Window, rig.Tray};
  for (int t = 0; t < ticks; ++t) {
    rig.Table.Available = g.Below(10) != 0;
    for (auto& row : rig.Table.Rows) row.InOctets += g.Number(), row.OutOctets += g.Below(200000);
    RunTick(ctx);
    for (const int32_t balance : {f.ScaleBallance, f.TrayScaleBallance}) {
      const TDirectionScales s = DirectionScales(f.GraphScaleMax, balance);
      ASSERT_TRUE(f.GraphScaleMax >= 1 && f.TrayScaleMax >= 1 && s.DownScale >= 1 && s.UpScale >= 1) << t;
    }
    ASSERT_LE(f.ElapsedCounter, uint32_t{INT32_MAX}) << "tick " << t;
  }
}

// Runs the rounds from a scratch directory of their own, where relative log names land.
inline void RunRounds(const std::string& tag, uint32_t rounds, const std::function<void(TGenerator&)>& round) {
  namespace fs = std::filesystem;
  const auto env = [](const char* name, uint32_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? static_cast<uint32_t>(std::strtoul(v, nullptr, 0)) : fallback;
  };
  const uint32_t seed = env("TARVELO_FUZZ_SEED", 0x7A2026);
  rounds = env("TARVELO_FUZZ_ROUNDS", rounds);
  const fs::path dir = fs::temp_directory_path() / (tag + std::to_string(seed)), cwd = fs::current_path();
  fs::remove_all(dir);
  fs::create_directories(dir);
  fs::current_path(dir);
  for (uint32_t r = 0; r < rounds && !::testing::Test::HasFatalFailure(); ++r) {
    SCOPED_TRACE("replay with TARVELO_FUZZ_SEED=" + std::to_string(seed + r) + " TARVELO_FUZZ_ROUNDS=1");
    TGenerator g{std::mt19937(seed + r)};
    round(g);
  }
  fs::current_path(cwd);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace fuzz
