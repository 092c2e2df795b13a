// Whatever the store holds, loading and ticking never crash, hang or divide by zero.
#include "support/SettingsFuzz.h"

#include "settings/OptionsPages.h"

namespace {

TEST(SettingsFuzz, RandomStoresLoadAndTick) {
  fuzz::RunRounds("tarvelo_fuzz_", 1000, [](fuzz::TGenerator& g) {
    TMemorySettings store;
    g.Store([&](const char* name, uint32_t type, const std::string& bytes) { store.SetRaw(name, type, bytes); });
    fuzz::Round(store, g, 12);
  });
}

// Whatever is typed as a scale, the pages store its leading number in KB/s as octets,
// within 32 bits, and the program runs on it.
TEST(SettingsFuzz, TypedScaleTextsStoreTheirLeadingNumber) {
  fuzz::RunRounds("tarvelo_scalefuzz_", 1000, [](fuzz::TGenerator& g) {
    TMemorySettings store;
    for (const char* name : {"ScaleMax", "TrayScaleMax"}) {
      const auto [text, want] = g.ScaleText();
      ASSERT_EQ(ScaleFromText(text), want) << "\"" << text.substr(0, 60) << "\" (" << text.size() << " characters)";
      store.SetInteger(name, want);
    }
    store.SetInteger("AutoScale", g.Below(2)), store.SetInteger("TrayAutoScale", g.Below(2));
    fuzz::Round(store, g, 12);
  });
}

}  // namespace
