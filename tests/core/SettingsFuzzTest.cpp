// Whatever the store holds, loading and ticking never crash, hang or divide by zero.
#include "support/SettingsFuzz.h"

namespace {

TEST(SettingsFuzz, RandomStoresLoadAndTick) {
  fuzz::RunRounds("tarvelo_fuzz_", 3000, [](fuzz::TGenerator& g) {
    TMemorySettings store;
    for (auto& p : g.Store()) store.SetRaw(p.Name, p.Type, p.Bytes);
    fuzz::Round(store, g, 12);
  });
}

}  // namespace
