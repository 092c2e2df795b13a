// The fuzz round on Wine's real registry: planted values of any kind and size, read
// through the registry store, loaded and ticked.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/SettingsFuzz.h"
#include "settings/uSettingsReg.h"

namespace {

namespace fs = std::filesystem;

const char* const kFuzzKey = "Software\\Quillmoor\\TarveloFuzz";

TEST(RegSettingsFuzz, RandomRegistryValuesLoadAndTick) {
  const uint32_t seed = fuzz::EnvNumber("TARVELO_FUZZ_SEED", 0x7A2026);
  const uint32_t rounds = fuzz::EnvNumber("TARVELO_FUZZ_ROUNDS", 500);

  const fs::path dir = fs::temp_directory_path() / ("tarvelo_regfuzz_" + std::to_string(seed));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path cwd = fs::current_path();
  fs::current_path(dir);

  for (uint32_t r = 0; r < rounds; ++r) {
    SCOPED_TRACE("replay with TARVELO_FUZZ_SEED=" + std::to_string(seed + r) +
                 " TARVELO_FUZZ_ROUNDS=1");
    fuzz::TGenerator g(seed + r, dir.string());
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kFuzzKey);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExA(HKEY_CURRENT_USER, kFuzzKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    for (const auto& p : g.Store())
      ::RegSetValueExA(key, p.Name.c_str(), 0, p.Type, reinterpret_cast<const BYTE*>(p.Bytes.data()),
                       static_cast<DWORD>(p.Bytes.size()));
    ::RegCloseKey(key);

    TRegSettings store;
    store.KeyPath = kFuzzKey;
    store.Open();
    ASSERT_EQ(store.State(), TRegSettings::TState::Open);
    fuzz::Round(store, g, 12);
    if (HasFatalFailure()) break;
  }
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kFuzzKey);

  fs::current_path(cwd);
  std::error_code ec;
  fs::remove_all(dir, ec);
}

}  // namespace
