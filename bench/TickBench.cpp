// The tick's portable work with a full-width history: an interface table of a few
// rows, a store that keeps nothing, a fixed date and a host that only counts.
#include <benchmark/benchmark.h>

#include "app/Tick.h"
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

class TBenchClock : public TClock {
public:
  uint32_t Today() override { return 739591; }
  std::string FormatShortDate(uint32_t) override { return "06.12.2026"; }
};

// A window and tray that only count what the tick asks of them.
class TBenchHost : public TGraphWindow, public TTrayHost {
public:
  int Calls = 0;
  bool GraphVisible() override { return true; }
  void ShowGraph() override { ++Calls; }
  void HideGraph() override { ++Calls; }
  void InvalidateGraph() override { ++Calls; }
  int32_t Left() override { return 0; }
  int32_t Top() override { return 0; }
  int32_t Width() override { return 0; }
  int32_t Height() override { return 0; }
  void Move(int32_t, int32_t) override {}
  void Resize(int32_t, int32_t) override {}
  void SetDropShadow(bool) override {}
  void SetOpacity(uint8_t) override {}
  void SetStayOnTop(bool) override {}
  bool StayOnTop() override { return false; }
  void SetStayOnTopChecked(bool) override {}
  TColor SystemColour(int32_t) override { return 0; }
  TRect WorkArea() override { return {}; }
  bool OnAnyMonitor(const TRect&) override { return true; }
  TRect NearestWorkArea(const TRect&) override { return {}; }
  TPoint32 CursorPos() override { return {}; }
  bool CtrlDown() override { return false; }
  void SetFrame(TWindowFrame) override {}
  void SetClickThrough(bool) override {}
  void SetRunAwayTimer(bool) override {}
  void RestartReturnTimer() override {}
  void StopReturnTimer() override {}
  bool ReturnTimerRunning() override { return false; }
  void RenderTrayImage(int32_t, int32_t) override { ++Calls; }
};

void BM_Tick(benchmark::State& state) {
  TStatsForm form;
  form.AdapterName = "Realtek PCIe GbE Family Controller";
  form.AutoHide = true;
  TTrafficHistory history;
  history.HistoryResize(static_cast<int32_t>(state.range(0)));
  TBenchTable table;
  TNullStore store;
  TBenchClock clock;
  TBenchHost host;
  TTickContext ctx{form, history, table, store, clock, host, host};
  StartSampling(form, table, nullptr);
  for (auto _ : state) {
    RunTick(ctx);
    benchmark::DoNotOptimize(form.StatusText.data());
  }
  benchmark::DoNotOptimize(host.Calls);
}
BENCHMARK(BM_Tick)->Arg(300)->Arg(30);

}  // namespace

BENCHMARK_MAIN();
