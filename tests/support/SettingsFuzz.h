// Fuzz rounds over the settings: every catalogued value missing or of a random kind, size
// and bytes, or scales typed into the options pages, then LoadSettings and a run of ticks on what was loaded. Shared by the native
// rounds (in-memory store) and the Wine rounds (real registry).
// TARVELO_FUZZ_SEED and TARVELO_FUZZ_ROUNDS replay or widen a run.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <random>
#include <utility>

#include "app/LoadSettings.h"
#include "render/Scaling.h"
#include "settings/SettingsCatalogue.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"

namespace fuzz {

struct TGenerator {
  std::mt19937 Rng;

  uint32_t Below(uint32_t n) { return Rng() % n; }
  // Bytes near the edges (0, 1, 0x7F, 0x80, 0xFF) as often as random ones; no separators
  // or drive colons, so a log file a round creates stays in its scratch directory.
  std::string Bytes(size_t n) {
    static constexpr char Edges[] = {0, 1, 0x7F, char(0x80), char(0xFF), 'N', '1', '0'};
    std::string b(n, '\0');
    for (char& c : b) c = Below(2) ? Edges[Below(8)] : char(Rng());
    for (char& c : b) c = c == '/' || c == '\\' || c == ':' ? '_' : c;
    return b;
  }
  // A scale as typed into an options page, with the value it must give in octets per
  // second: blanks, a sign, a base prefix, digits of that base (up to a thousand or so),
  // then anything that cannot continue the number.
  std::pair<std::string, int32_t> ScaleText() {
    static constexpr const char* Prefixes[] = {"", "", "", "$", "x", "X", "0x", "0X"};
    static constexpr char Stops[] = {'.', ',', ' ', 'g', 'k', '-', '+', '\0'};
    const std::string prefix = Prefixes[Below(8)];
    const int base = prefix.empty() ? 10 : 16;
    std::string text(Below(3), ' ');
    const uint32_t sign = Below(4);
    if (sign) text += sign == 1 ? "-" : "+";
    text += prefix;
    int64_t n = 0;
    const uint32_t count = Below(5) ? Below(9) : Below(1200);
    for (uint32_t i = 0; i < count; ++i) {
      const uint32_t digit = Below(base);
      text += "0123456789abcdefABCDEF"[digit < 10 || Below(2) ? digit : digit + 6];
      n = std::min<int64_t>(n * base + digit, int64_t{1} << 40);
    }
    // before anything else a blank or a sign would still begin the number
    const bool bare = !sign && prefix.empty() && !count;
    if (Below(2)) text += Stops[bare ? 0 : Below(8)] + Bytes(Below(20));
    n = std::clamp<int64_t>(sign == 1 ? -n : n, -2097152, 2097151);  // whole KB/s that fit 32 bits
    return {text, static_cast<int32_t>(n * 1024)};
  }
  // Every catalogued value as (name, registry kind, bytes); a sixth of them left out.
  template <typename TPlant> void Store(TPlant plant) {
    static constexpr uint32_t Kinds[] = {RegNone, RegSz, RegBinary, RegDword, RegDword, RegQword};
    for (const TSettingDef& d : SettingsCatalogue()) {
      if (Below(6) == 0) continue;
      const uint32_t kind = Kinds[Below(6)];
      plant(d.Name, kind, Bytes(kind == RegDword ? 4 : kind == RegQword ? 8 : Below(4) ? Below(12) : 600));
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
    for (auto& row : rig.Table.Rows) row.InOctets += g.Below(2) ? g.Rng() : g.Below(2000000), row.OutOctets += t;
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
  fs::remove_all(dir);
}

}  // namespace fuzz
