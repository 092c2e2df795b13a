// 100,000 ticks under Wine through the real tray path (the picture, the image list, the
// icon and the notification area) and the real registry (a scratch key, deleted before
// and after), counters from a moving table. Prints the live GDI and USER handles (the
// owners' counts: GetGuiResources is a stub under Wine) and the private bytes at the
// start, every 20,000 ticks and at the end. Run it where there is a notification area:
//   wine explorer /desktop=Soak,1024x768 <build>/tray_soak.exe [ticks] [output file]
// or, without one, scripts/wine-run.sh <build>/tray_soak.exe [ticks].
#include "toolkit/WinApi.h"
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/StatsTray.h"
#include "bench/SoakFakes.h"
#include "settings/RegSettings.h"
#include "toolkit/Application.h"
#include "traffic/AdapterSampling.h"

namespace {

constexpr const char* Key = "Software\\Quillmoor\\TarveloSoak";
FILE* g_out = stdout;

// Committed private memory, summed over the address space (Wine leaves the counters'
// PrivateUsage at 0).
size_t PrivateBytes() {
  size_t total = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (const char* p = nullptr; VirtualQuery(p, &info, sizeof info) == sizeof info;
       p = static_cast<const char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return total;
}

void Report(const char* when, uint64_t tick) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  std::fprintf(g_out, "%-6s tick %7llu: GDI %3ld, USER %3ld live handles, private %6zu KiB, working set %6zu KiB\n",
               when, static_cast<unsigned long long>(tick), tk::LiveGdiHandles(), tk::LiveUserHandles(),
               PrivateBytes() / 1024, static_cast<size_t>(pmc.WorkingSetSize / 1024));
  std::fflush(g_out);
}

}  // namespace

int main(int argc, char** argv) {
  const uint64_t ticks = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 100000;
  if (argc > 2) g_out = std::fopen(argv[2], "w");
  if (!g_out) return 1;
  RegDeleteKeyA(HKEY_CURRENT_USER, Key);

  tk::TWindowObject* form = tk::CreateForm(nullptr, "soak");
  form->SetVisible(false);
  TStatsForm state;
  state.AdapterName = SoakAdapter;
  TTrafficHistory history;
  history.HistoryResize(265);
  TStatsTray tray(state, history);
  tray.CreateIcon(form);
  form->AddOwned(tray.Icon());
  tray.CreateImageList(form, GetModuleHandleA(nullptr));
  tray.Activate();

  TRegSettings store;
  store.KeyPath = Key;
  store.Open();
  TSoakTable table;
  TSoakClock clock;
  TSoakWindow window;
  TTickContext ctx{state, history, table, store, clock, window, tray};
  StartSampling(state, table, nullptr);
  const bool shell = FindWindowA("Shell_TrayWnd", nullptr) != nullptr;
  std::fprintf(g_out, "%s\n", shell ? "notification area present" : "no notification area: the shell's requests fail");

  uint64_t tick = 0;
  const auto step = [&] {
    state.TrayMode = SoakTrayMode(tick);
    RunTick(ctx);
    tk::ProcessMessages(nullptr);  // the shell's answers and anything else queued
    ++tick;
  };
  while (tick < 4000) step();  // every tray mode once, the history full
  Report("start", tick);
  const auto t0 = std::chrono::steady_clock::now();
  while (tick < ticks) {
    step();
    if (tick % 20000 == 0 && tick < ticks) Report("", tick);
  }
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  Report("end", tick);
  std::fprintf(g_out, "%.0f us a tick; stored counter_elapsed %d\n", s * 1e6 / static_cast<double>(ticks - 4000),
               store.ReadInteger("counter_elapsed", -1));
  tray.Deactivate();
  tk::Release(form);
  RegDeleteKeyA(HKEY_CURRENT_USER, Key);
  if (g_out != stdout) std::fclose(g_out);
  return 0;
}
