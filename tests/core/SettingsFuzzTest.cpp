// Whatever the store holds, loading and ticking never crash, hang or divide by zero.
#include "support/SettingsFuzz.h"

namespace {

TEST(SettingsFuzz, RandomStoresLoadAndTick) {
  fuzz::RunRounds("tarvelo_fuzz_", 1000, [](fuzz::TGenerator& g) {
    TMemorySettings store;
    g.Store([&](const char* name, uint32_t type, const std::string& bytes) { store.SetRaw(name, type, bytes); });
    fuzz::Round(store, g, 12);
  });
}

}  // namespace
