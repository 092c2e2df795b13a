// What a tick's five store writes and one LoadSettings cost against the real registry,
// below a scratch key. Run under Wine:
//   scripts/wine-run.sh <build>/registry_bench.exe [ticks]
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "app/LoadSettings.h"
#include "settings/RegSettings.h"
#include "support/FakeTick.h"
#include "traffic/TransferTotals.h"

int main(int argc, char** argv) {
  const char* const scratch = "Software\\Quillmoor\\TarveloBench";
  const int ticks = argc > 1 ? std::atoi(argv[1]) : 2000, loads = 200;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch);
  TRegSettings store;
  store.KeyPath = scratch;
  store.Open();
  TStatsForm form;
  TFixedClock clock;
  TFakeGraphWindow window;
  using us = std::chrono::duration<double, std::micro>;
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < ticks; ++i) AddTransfer(form, store, clock, 1000, 1000);
  const auto t1 = std::chrono::steady_clock::now();
  for (int i = 0; i < loads; ++i) LoadSettings(form, store, window);
  const auto t2 = std::chrono::steady_clock::now();
  std::printf("a tick's store writes (5 values): %.1f us, mean of %d ticks\n", us(t1 - t0).count() / ticks, ticks);
  std::printf("LoadSettings: %.1f us, mean of %d loads\n", us(t2 - t1).count() / loads, loads);
  ::RegDeleteTreeA(HKEY_CURRENT_USER, scratch);
  return 0;
}
