// A million ticks of the portable program, natively: sampling from a moving interface
// table, history, scaling, smoothing, totals into a store kept in memory, the
// statistics text, and the tray picture drawn on a recording surface. Prints the heap
// in use and the resident size at the start, every 200,000 ticks and at the end.
//   <build>/tick_soak [ticks]
#include <malloc.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "bench/SoakFakes.h"
#include "render/TrayPicture.h"
#include "settings/Settings.h"
#include "support/RecordingSurface.h"
#include "traffic/AdapterSampling.h"

namespace {

class TMapStore : public TSettings {
public:
  std::map<std::string, std::string> Values;
  void Open() override {}
  int32_t ReadInteger(const std::string& name, int32_t def) override {
    const auto it = Values.find(name);
    return it == Values.end() ? def : static_cast<int32_t>(std::strtol(it->second.c_str(), nullptr, 10));
  }
  bool ReadBool(const std::string& name, bool def) override { return ReadInteger(name, def) != 0; }
  std::string ReadString(const std::string& name, const std::string& def) override {
    const auto it = Values.find(name);
    return it == Values.end() ? def : it->second;
  }
  void WriteInteger(const std::string& name, int32_t value) override { Values[name] = std::to_string(value); }
  void WriteBool(const std::string& name, bool value) override { WriteInteger(name, value); }
  void WriteString(const std::string& name, const std::string& value) override { Values[name] = value; }
};

class TRecordingTray : public TTrayHost {
public:
  TRecordingTray(const TStatsForm& form, const TTrafficHistory& history) : form_(form), history_(history) {}
  size_t MostCalls = 0;
  void RenderTrayImage(int32_t down, int32_t up) override {
    if (TrayIdleImage(form_.TrayMode, down, up, form_.IdleTicks) >= 0) return;
    surface_.Clear();
    DrawTrayPicture(surface_, form_, history_, down, up);
    if (surface_.Calls.size() > MostCalls) MostCalls = surface_.Calls.size();
  }

private:
  const TStatsForm& form_;
  const TTrafficHistory& history_;
  TRecordingSurface surface_;
};

long ResidentKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

void Report(const char* when, uint64_t tick) {
  std::printf("%-8s tick %8llu: heap in use %8zu bytes, resident %6ld KiB\n", when,
              static_cast<unsigned long long>(tick), mallinfo2().uordblks, ResidentKiB());
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t ticks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
  TStatsForm form;
  form.AdapterName = SoakAdapter;
  form.AutoHide = true;
  TTrafficHistory history;
  history.HistoryResize(265);
  TSoakTable table;
  TMapStore store;
  TSoakClock clock;
  TSoakWindow window;
  TRecordingTray tray(form, history);
  TTickContext ctx{form, history, table, store, clock, window, tray};
  StartSampling(form, table, nullptr);

  // warmed up first: every tray mode once, the history full, the text at its usual length
  uint64_t tick = 0;
  Report("before", tick);
  for (; tick < 4000; ++tick) form.TrayMode = SoakTrayMode(tick), RunTick(ctx);
  Report("start", tick);
  const auto t0 = std::chrono::steady_clock::now();
  for (; tick < ticks; ++tick) {
    form.TrayMode = SoakTrayMode(tick);
    RunTick(ctx);
    if (tick % 200000 == 0) Report("", tick);
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  Report("end", tick);
  std::printf("%.2f us a tick, at most %zu tray picture calls; stored:", s * 1e6 / static_cast<double>(ticks - 4000),
              tray.MostCalls);
  for (const auto& [name, value] : store.Values) std::printf(" %s=%s", name.c_str(), value.c_str());
  std::printf("\n");
  return 0;
}
