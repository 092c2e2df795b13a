// The settings store on the registry below HKEY_CURRENT_USER. Every read and write
// is one registry call; failures read defaults and lose writes, silently.
#pragma once
#include "toolkit/WinApi.h"

#include "settings/Settings.h"
#include "toolkit/Handles.h"

class TRegSettings : public TSettings {
public:
  enum class TState { Created, Open, Failed };

  TRegSettings() { Init(); }

  // Start values: no key, HKEY_CURRENT_USER as the root.
  void Init();
  void Open() override;
  int32_t ReadInteger(const std::string& name, int32_t def) override;
  bool ReadBool(const std::string& name, bool def) override;
  std::string ReadString(const std::string& name, const std::string& def) override;
  void WriteInteger(const std::string& name, int32_t value) override;
  void WriteBool(const std::string& name, bool value) override;
  void WriteString(const std::string& name, const std::string& value) override;

  TState State() const { return state_; }
  HKEY Key() const { return KeyHandle.get(); }

  HKEY RootKey = HKEY_CURRENT_USER;
  tk::unique_hkey KeyHandle;

private:
  TState state_ = TState::Created;
};
