#include "settings/RegSettings.h"

#include "settings/Registry.h"

void TRegSettings::Init() {
  KeyHandle.reset();
  RootKey = HKEY_CURRENT_USER;
  state_ = TState::Created;
}

void TRegSettings::Open() {
  if (KeyPath.empty()) return;
  KeyHandle.reset();
  KeyHandle = RegOpenOrCreateKey(RootKey, KeyPath);
  state_ = KeyHandle ? TState::Open : TState::Failed;
}

// A null key makes every call below fail, which gives the default or loses the write.
int32_t TRegSettings::ReadInteger(const std::string& name, int32_t def) {
  if (!KeyHandle) return def;
  return RegReadDWord(KeyHandle.get(), name, def);
}

bool TRegSettings::ReadBool(const std::string& name, bool def) {
  return ReadInteger(name, def ? 1 : 0) == 1;
}

std::string TRegSettings::ReadString(const std::string& name, const std::string& def) {
  if (!KeyHandle) return def;
  return RegReadText(KeyHandle.get(), name, def);
}

void TRegSettings::WriteInteger(const std::string& name, int32_t value) {
  if (KeyHandle) RegWriteDWord(KeyHandle.get(), name, value);
}

void TRegSettings::WriteBool(const std::string& name, bool value) {
  WriteInteger(name, value ? 1 : 0);
}

void TRegSettings::WriteString(const std::string& name, const std::string& value) {
  if (KeyHandle) RegWriteText(KeyHandle.get(), name, value);
}
