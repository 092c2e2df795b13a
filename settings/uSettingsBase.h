// The settings store: named 32-bit integers, booleans and 8-bit texts below one key.
// Callers supply names and defaults; a store that cannot be opened reads defaults
// and loses writes, silently.
#pragma once
#include <cstdint>
#include <string>

class TSettings {
public:
  virtual ~TSettings() = default;

  std::string KeyPath;  // assigned by the owner before Open

  virtual void Open() = 0;
  virtual int32_t ReadInteger(const std::string& name, int32_t def) = 0;
  virtual bool ReadBool(const std::string& name, bool def) = 0;
  virtual std::string ReadString(const std::string& name, const std::string& def) = 0;
  virtual void WriteInteger(const std::string& name, int32_t value) = 0;
  virtual void WriteBool(const std::string& name, bool value) = 0;
  virtual void WriteString(const std::string& name, const std::string& value) = 0;
};

// The program's key below HKEY_CURRENT_USER.
inline constexpr const char* TarveloKeyPath = "Software\\Quillmoor\\Tarvelo";
