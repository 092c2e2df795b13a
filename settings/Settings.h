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

// A 64-bit counter is stored as two integers, name + "_h" the high and name + "_l"
// the low half.
int64_t JoinHalves(int32_t high, int32_t low);
int32_t HighHalf(int64_t value);
int32_t LowHalf(int64_t value);
// Reads the high half, then the low one; a missing half reads 0.
int64_t ReadCounter64(TSettings& store, const std::string& name);
// Writes the low half, then the high one.
void WriteCounter64(TSettings& store, const std::string& name, int64_t value);
