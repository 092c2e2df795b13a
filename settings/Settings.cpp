#include "settings/Settings.h"

int64_t JoinHalves(int32_t high, int32_t low) {
  return static_cast<int64_t>((static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32) |
                              static_cast<uint32_t>(low));
}

int32_t HighHalf(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value) >> 32));
}

int32_t LowHalf(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

int64_t ReadCounter64(TSettings& store, const std::string& name) {
  const int32_t high = store.ReadInteger(name + "_h", 0);
  return JoinHalves(high, store.ReadInteger(name + "_l", 0));
}

void WriteCounter64(TSettings& store, const std::string& name, int64_t value) {
  store.WriteInteger(name + "_l", LowHalf(value));
  store.WriteInteger(name + "_h", HighHalf(value));
}
