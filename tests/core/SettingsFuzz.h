// One fuzz round over the settings: every catalogued value replaced by a random kind,
// size and bytes, then LoadSettings and a run of ticks on what was loaded. Shared by
// the native round (in-memory store) and the Wine round (real registry).
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "app/ByteFormat.h"
#include "app/Tick.h"
#include "core/FakeInterfaceTable.h"
#include "core/FakeMainWindow.h"
#include "core/FakeTick.h"
#include "core/MemorySettings.h"
#include "render/Scaling.h"
#include "settings/SettingsCatalogue.h"
#include "traffic/Clock.h"

namespace fuzz {

struct TPlanted {
  std::string Name;
  uint32_t Type;
  std::string Bytes;
};

inline uint32_t EnvNumber(const char* name, uint32_t fallback) {
  const char* v = std::getenv(name);
  return v && *v ? static_cast<uint32_t>(std::strtoul(v, nullptr, 0)) : fallback;
}

inline std::string Le32(uint32_t v) {
  std::string b(4, '\0');
  for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return b;
}

class TGenerator {
public:
  TGenerator(uint32_t seed, std::string dir) : rng_(seed), dir_(std::move(dir)) {}

  std::mt19937& Rng() { return rng_; }
  uint32_t Below(uint32_t n) { return static_cast<uint32_t>(rng_() % n); }

  uint32_t Interesting() {
    static constexpr int64_t values[] = {0,     1,     2,         -1,        INT32_MIN, INT32_MAX,
                                         49,    50,    51,        99,        100,       150,
                                         -50,   255,   256,       4096,      16384,     16385,
                                         32768, 87,    739956,    0x800000,  0xFFFFFF,  0x80000000,
                                         0x80000005, -2147483647};
    if (Below(3) == 0) return rng_();
    return static_cast<uint32_t>(values[Below(sizeof values / sizeof values[0])]);
  }

  // Random bytes; for a file name no separators or drive colons, so whatever the
  // round creates stays in its own directory.
  std::string Bytes(size_t n, bool fileName) {
    std::string b;
    while (b.size() < n) {
      const char c = static_cast<char>(rng_() & 0xFF);
      if (fileName && (c == '/' || c == '\\' || c == ':')) continue;
      b += c;
    }
    return b;
  }

  // Nothing, or one value of any kind and size.
  bool Value(const std::string& name, TPlanted& out) {
    const bool fileName = name == "LogFile";
    out.Name = name;
    switch (Below(10)) {
      case 0:
      case 1: return false;
      case 2:
      case 3:
      case 4:
        out.Type = kRegDword;
        out.Bytes = Le32(Interesting());
        return true;
      case 5:
        out.Type = kRegSz;
        out.Bytes = Bytes(Below(12), fileName) + (Below(4) ? std::string(1, '\0') : "");
        return true;
      case 6:
        out.Type = Below(2) ? kRegBinary : kRegNone;
        out.Bytes = Bytes(Below(10), fileName);
        return true;
      case 7:
        out.Type = kRegQword;
        out.Bytes = Le32(Interesting()) + Le32(Interesting());
        return true;
      case 8:
        out.Type = kRegSz;
        out.Bytes = Bytes(200 + Below(400), fileName) + '\0';
        return true;
      default: {
        // texts that mean something to this value
        out.Type = kRegSz;
        const std::string texts[] = {"", dir_, dir_ + "/missing/log.txt", dir_ + "/log.txt",
                                     "relative_log.txt", "Intel(R) PRO/1000", "NIC"};
        out.Bytes = texts[Below(fileName ? 5 : 7)] + '\0';
        if (!fileName && Below(2)) {
          out.Type = kRegDword;
          out.Bytes = Le32(Interesting());
        }
        return true;
      }
    }
  }

  std::vector<TPlanted> Store() {
    std::vector<TPlanted> planted;
    for (const TSettingDef& d : SettingsCatalogue()) {
      TPlanted p;
      if (Value(d.Name, p)) planted.push_back(std::move(p));
    }
    return planted;
  }

private:
  std::mt19937 rng_;
  std::string dir_;
};

class TFuzzClock : public TClock {
public:
  explicit TFuzzClock(TGenerator& g) : g_(g) {}
  uint32_t Day = 739956;
  uint32_t Today() override {
    // now and then the date jumps, either way
    if (g_.Below(4) == 0) Day = g_.Below(8) == 0 ? g_.Rng()() : Day + g_.Below(5) - 2;
    return Day;
  }
  std::string FormatShortDate(uint32_t) override { return std::string(g_.Below(40), '7'); }

private:
  TGenerator& g_;
};

// LoadSettings from the store, then ticks on what it loaded. Failures say which round.
inline void Round(TSettings& store, TGenerator& g, int ticks) {
  TStatsForm form;
  TFakeMainWindow window;
  LoadSettings(form, store, window);

  ASSERT_GE(form.GraphScaleMax, 1);
  ASSERT_GE(form.TrayScaleMax, 1);
  ASSERT_GE(window.W, MinWindowExtent);
  ASSERT_LE(window.W, MaxWindowExtent);
  ASSERT_GE(window.H, MinWindowExtent);
  ASSERT_LE(window.H, MaxWindowExtent);
  ASSERT_TRUE(window.Opacity >= 0 && window.Opacity <= 255);
  ASSERT_LE(form.ElapsedCounter, static_cast<uint32_t>(INT32_MAX));
  if (form.MouseClickThru) {
    ASSERT_TRUE(store.ReadBool("UseTransparency", false));
  }

  TEventLog log;
  TTrafficHistory history;
  history.HistoryResize(window.W);  // what the resize handler does
  TFakeInterfaceTable table;
  if (g.Below(4)) table.Row(form.AdapterName);
  if (g.Below(2)) table.Row("other");
  TFuzzClock clock(g);
  TFakeTickHost host(log);
  TTickContext ctx{form, history, table, store, clock, host};

  for (int t = 0; t < ticks; ++t) {
    table.Available = g.Below(10) != 0;
    for (auto& row : table.Rows) {
      row.InOctets += g.Below(3) ? g.Below(2000000) : g.Interesting();
      row.OutOctets += g.Below(3) ? g.Below(200000) : g.Interesting();
    }
    RunTick(ctx);

    for (int32_t scale : {form.GraphScaleMax, form.TrayScaleMax}) {
      ASSERT_GE(scale, 1) << "tick " << t;
      for (int32_t balance : {form.ScaleBallance, form.TrayScaleBallance}) {
        const TDirectionScales s = DirectionScales(scale, balance);
        ASSERT_GE(s.DownScale, 1) << "tick " << t;
        ASSERT_GE(s.UpScale, 1) << "tick " << t;
        SampleHeight(INT32_MAX, window.H, s.DownScale);
        SampleHeight(history.HistorySample(HistoryUp, 0), window.H, s.UpScale);
      }
    }
    ASSERT_LE(form.ElapsedCounter, static_cast<uint32_t>(INT32_MAX)) << "tick " << t;
  }
  ASSERT_FALSE(FormatBytes(form.UploadCounter).empty());
  ASSERT_FALSE(FormatBytes(form.DownloadCounter).empty());
}

}  // namespace fuzz
