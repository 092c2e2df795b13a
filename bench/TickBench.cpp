// The tick's portable work with a full-width history: an interface table of a few
// rows, a store that keeps nothing, a fixed date, a window that only takes orders and
// a tray that only counts.
#include <benchmark/benchmark.h>

#include "app/Tick.h"
#include "app/UsageRecorder.h"
#include "bench/SoakFakes.h"
#include "settings/Settings.h"
#include "traffic/AdapterSampling.h"
#include "traffic/Clock.h"

namespace {

class TBenchTable : public TInterfaceTable {
public:
  std::vector<TIfRow> Rows = {
      {24, "Software Loopback Interface 1", 0, 0},
      {71, "Intel(R) Wi-Fi 6 AX201 160MHz", 0, 0},
      {6, "Realtek PCIe GbE Family Controller", 0, 0},
      {23, "WAN Miniport (PPPOE)", 0, 0},
  };
  bool Read(std::vector<TIfRow>& rows) override {
    // some traffic every tick, so idle handling, scaling and smoothing all work
    Rows[2].InOctets += 1200000;
    Rows[2].OutOctets += 80000;
    rows = Rows;
    return true;
  }
};

class TNullStore : public TSettings {
public:
  void Open() override {}
  int32_t ReadInteger(const std::string&, int32_t def) override { return def; }
  bool ReadBool(const std::string&, bool def) override { return def; }
  std::string ReadString(const std::string&, const std::string& def) override { return def; }
  void WriteInteger(const std::string&, int32_t) override {}
  void WriteBool(const std::string&, bool) override {}
  void WriteString(const std::string&, const std::string&) override {}
};

// A tray that only counts what the tick asks of it.
class TBenchTray : public TTrayHost {
public:
  int Calls = 0;
  void RenderTrayImage(int32_t, int32_t) override { ++Calls; }
};

// The usage history's glue without a store: every second's bucket, the plan's sum and
// its balloon check; the minute's write is measured on its own (usage_write_bench).
class TNoStoreHost : public TUsageHost {
public:
  std::unique_ptr<TUsageStore> OpenUsageStore() override { return nullptr; }
  void UsageBalloon(const std::string&, const std::string&) override {}
};

void BM_Tick(benchmark::State& state) {
  TStatsForm form;
  form.AdapterName = "Realtek PCIe GbE Family Controller";
  form.AutoHide = true;
  TTrafficHistory history;
  history.HistoryResize(static_cast<int32_t>(state.range(0)));
  TBenchTable table;
  TNullStore store;
  TSoakClock clock;
  TSoakWindow window;
  TBenchTray tray;
  TTickContext ctx{form, history, table, store, clock, window, tray};
  TNoStoreHost host;
  TUsageRecorder usage(store, host);
  if (state.range(1)) ctx.Usage = &usage;
  StartSampling(form, table, nullptr);
  for (auto _ : state) {
    RunTick(ctx);
    benchmark::DoNotOptimize(form.StatusText.data());
  }
  benchmark::DoNotOptimize(tray.Calls);
}
// history width; with the usage history or without
BENCHMARK(BM_Tick)->Args({300, 0})->Args({300, 1})->Args({30, 0})->Args({30, 1});

}  // namespace

BENCHMARK_MAIN();
