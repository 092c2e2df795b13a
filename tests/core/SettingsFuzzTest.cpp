// Whatever the store holds, loading and ticking never crash, hang or divide by zero.
// TARVELO_FUZZ_SEED and TARVELO_FUZZ_ROUNDS replay or widen a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/SettingsFuzz.h"

namespace {

namespace fs = std::filesystem;

TEST(SettingsFuzz, RandomStoresLoadAndTick) {
  const uint32_t seed = fuzz::EnvNumber("TARVELO_FUZZ_SEED", 0x7A2026);
  const uint32_t rounds = fuzz::EnvNumber("TARVELO_FUZZ_ROUNDS", 3000);

  // Relative log names land in a directory of the run's own.
  const fs::path dir = fs::temp_directory_path() / ("tarvelo_fuzz_" + std::to_string(seed));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);

  for (uint32_t r = 0; r < rounds; ++r) {
    SCOPED_TRACE("replay with TARVELO_FUZZ_SEED=" + std::to_string(seed + r) +
                 " TARVELO_FUZZ_ROUNDS=1");
    fuzz::TGenerator g(seed + r, dir.string());
    TMemorySettings store;
    for (auto& p : g.Store()) store.SetRaw(p.Name, p.Type, p.Bytes);
    fuzz::Round(store, g, 12);
    if (HasFatalFailure()) break;
  }

  fs::current_path(cwd);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
