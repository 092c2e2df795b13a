// Fuzz rounds over the settings: every catalogued value replaced by a random kind, size
// and bytes, then LoadSettings and a run of ticks on what was loaded. Shared by the
// native rounds (in-memory store) and the Wine rounds (real registry).
// TARVELO_FUZZ_SEED and TARVELO_FUZZ_ROUNDS replay or widen a run.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "app/LoadSettings.h"
#include "settings/SettingsCatalogue.h"
#include "app/Tick.h"
#include "base/ByteFormat.h"
#include "render/Scaling.h"
#include "support/FakeGraphWindow.h"
#include "support/FakeTick.h"
#include "support/MemorySettings.h"

namespace fuzz {

struct TPlanted {
  std::string Name;
  uint32_t Type;
  std::string Bytes;
};

struct TGenerator {
  std::mt19937 Rng;
  std::string Dir;  // the round's scratch directory

  uint32_t Below(uint32_t n) { return Rng() % n; }

  uint32_t Interesting() {
    static constexpr int64_t values[] = {0,     1,     2,     -1,  INT32_MIN, INT32_MAX, 49,       50,       51,
                                         99,    100,   150,   -50, 255,       256,       4096,     16384,    16385,
                                         32768, 87,    739956, 0x800000, 0xFFFFFF, 0x80000000, 0x80000005, -2147483647};
    return Below(3) == 0 ? Rng() : static_cast<uint32_t>(values[Below(std::size(values))]);
  }
  static std::string Le32(uint32_t v) { return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)}; }

  // Random bytes; for a file name no separators or drive colons, so whatever the
  // round creates stays in its own directory.
  std::string Bytes(size_t n, bool fileName) {
    std::string b;
    while (b.size() < n) {
      const char c = static_cast<char>(Rng());
      if (!fileName || (c != '/' && c != '\\' && c != ':')) b += c;
    }
    return b;
  }

  // Every catalogued value: nothing, or one value of any kind and size.
  std::vector<TPlanted> Store() {
    std::vector<TPlanted> planted;
    for (const TSettingDef& d : SettingsCatalogue()) {
      const bool file = d.Name == std::string("LogFile");
      // texts that mean something to some value
      const std::string texts[] = {"", Dir, Dir + "/missing/log.txt", Dir + "/log.txt", "relative_log.txt",
                                   "Intel(R) PRO/1000", "NIC"};
      const uint32_t kind = Below(10);
      if (kind < 2) continue;
      if (kind < 5 || (kind == 9 && !file && Below(2))) {
        planted.push_back({d.Name, RegDword, Le32(Interesting())});
      } else if (kind == 5) {
        planted.push_back({d.Name, RegSz, Bytes(Below(12), file) + (Below(4) ? std::string(1, '\0') : "")});
      } else if (kind == 6) {
        planted.push_back({d.Name, Below(2) ? RegBinary : RegNone, Bytes(Below(10), file)});
      } else if (kind == 7) {
        planted.push_back({d.Name, RegQword, Le32(Interesting()) + Le32(Interesting())});
      } else if (kind == 8) {
        planted.push_back({d.Name, RegSz, Bytes(200 + Below(400), file) + '\0'});
      } else {
        planted.push_back({d.Name, RegSz, texts[Below(file ? 5 : 7)] + '\0'});
      }
    }
    return planted;
  }
};

// Now and then the date jumps, either way; dates of any length.
class TFuzzClock : public TClock {
public:
  explicit TFuzzClock(TGenerator& g) : g_(g) {}
  uint32_t Today() override {
    if (g_.Below(4) == 0) day_ = g_.Below(8) == 0 ? g_.Rng() : day_ + g_.Below(5) - 2;
    return day_;
  }
  std::string FormatShortDate(uint32_t) override { return std::string(g_.Below(40), '7'); }

private:
  TGenerator& g_;
  uint32_t day_ = 739956;
};

// LoadSettings from the store, then ticks on what it loaded.
inline void Round(TSettings& store, TGenerator& g, int ticks) {
  TStatsForm form;
  TFakeGraphWindow window;
  LoadSettings(form, store, window);
  ASSERT_GE(form.GraphScaleMax, 1);
  ASSERT_GE(form.TrayScaleMax, 1);
  ASSERT_TRUE(window.W >= MinWindowExtent && window.W <= MaxWindowExtent) << window.W;
  ASSERT_TRUE(window.H >= MinWindowExtent && window.H <= MaxWindowExtent) << window.H;
  ASSERT_TRUE(window.Opacity >= 0 && window.Opacity <= 255) << window.Opacity;
  ASSERT_LE(form.ElapsedCounter, static_cast<uint32_t>(INT32_MAX));
  ASSERT_TRUE(!form.MouseClickThru || store.ReadBool("UseTransparency", false));

  TEventLog log;
  TTrafficHistory history;
  history.HistoryResize(window.W);  // what the resize handler does
  TFakeInterfaceTable table;
  if (g.Below(4)) table.Row(form.AdapterName);
  if (g.Below(2)) table.Row("other");
  TFuzzClock clock(g);
  TFakeGraphWindow tickWindow(log);
  TFakeTray tray(log);
  TTickContext ctx{form, history, table, store, clock, tickWindow, tray};
  for (int t = 0; t < ticks; ++t) {
    table.Available = g.Below(10) != 0;
    for (auto& row : table.Rows) {
      row.InOctets += g.Below(3) ? g.Below(2000000) : g.Interesting();
      row.OutOctets += g.Below(3) ? g.Below(200000) : g.Interesting();
    }
    RunTick(ctx);
    for (int32_t scale : {form.GraphScaleMax, form.TrayScaleMax}) {
      for (int32_t balance : {form.ScaleBallance, form.TrayScaleBallance}) {
        const TDirectionScales s = DirectionScales(scale, balance);
        ASSERT_TRUE(scale >= 1 && s.DownScale >= 1 && s.UpScale >= 1) << "tick " << t;
        SampleHeight(INT32_MAX, window.H, s.DownScale);
        SampleHeight(history.HistorySample(HistoryUp, 0), window.H, s.UpScale);
      }
    }
    ASSERT_LE(form.ElapsedCounter, static_cast<uint32_t>(INT32_MAX)) << "tick " << t;
  }
  ASSERT_FALSE(FormatBytes(form.UploadCounter).empty());
  ASSERT_FALSE(FormatBytes(form.DownloadCounter).empty());
}

inline uint32_t EnvNumber(const char* name, uint32_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? static_cast<uint32_t>(std::strtoul(v, nullptr, 0)) : fallback;
}

// Runs the rounds from a scratch directory of their own, where relative log names land;
// round plants the generator's store, loads and ticks it. Failures say how to replay.
inline void RunRounds(const std::string& tag, uint32_t defaultRounds, const std::function<void(TGenerator&)>& round) {
  namespace fs = std::filesystem;
  const uint32_t seed = EnvNumber("TARVELO_FUZZ_SEED", 0x7A2026);
  const uint32_t rounds = EnvNumber("TARVELO_FUZZ_ROUNDS", defaultRounds);
  const fs::path dir = fs::temp_directory_path() / (tag + std::to_string(seed));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);
  for (uint32_t r = 0; r < rounds && !::testing::Test::HasFatalFailure(); ++r) {
    SCOPED_TRACE("replay with TARVELO_FUZZ_SEED=" + std::to_string(seed + r) + " TARVELO_FUZZ_ROUNDS=1");
    TGenerator g{std::mt19937(seed + r), dir.string()};
    round(g);
  }
  fs::current_path(cwd);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace fuzz
