// An in-memory settings store for tests. Values are raw bytes with a type tag and are
// read with the registry store's rules, so a test can plant values of the wrong kind
// or size. Every read and write is recorded in order.
#pragma once
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "settings/uSettingsBase.h"

// The registry's type numbers, so tests need no <windows.h>.
enum : uint32_t {
  kRegNone = 0,
  kRegSz = 1,
  kRegExpandSz = 2,
  kRegBinary = 3,
  kRegDword = 4,
  kRegDwordBigEndian = 5,
  kRegMultiSz = 7,
  kRegQword = 11,
};

struct TMemoryValue {
  uint32_t Type = kRegNone;
  std::string Bytes;
};

// The registry compares value names without case.
struct TNoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](unsigned char x, unsigned char y) {
                                          return std::tolower(x) < std::tolower(y);
                                        });
  }
};

class TMemorySettings : public TSettings {
public:
  struct TAccess {
    char Op;  // 'r' read, 'w' write
    std::string Name;
    bool operator==(const TAccess&) const = default;
  };

  std::map<std::string, TMemoryValue, TNoCaseLess> Values;
  std::vector<TAccess> Trace;
  // A store that could not be opened: every read gives its default, every write is lost.
  bool Failed = false;
  int OpenCount = 0;

  void Open() override { ++OpenCount; }

  int32_t ReadInteger(const std::string& name, int32_t def) override {
    Trace.push_back({'r', name});
    return RawInteger(name, def);
  }
  bool ReadBool(const std::string& name, bool def) override {
    Trace.push_back({'r', name});
    return RawInteger(name, def ? 1 : 0) == 1;
  }
  std::string ReadString(const std::string& name, const std::string& def) override {
    Trace.push_back({'r', name});
    if (Failed) return def;
    auto it = Values.find(name);
    if (it == Values.end()) return def;
    const std::string& b = it->second.Bytes;
    return b.substr(0, std::min(b.find('\0'), b.size()));
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    Trace.push_back({'w', name});
    if (!Failed) SetInteger(name, value);
  }
  void WriteBool(const std::string& name, bool value) override {
    Trace.push_back({'w', name});
    if (!Failed) SetInteger(name, value ? 1 : 0);
  }
  void WriteString(const std::string& name, const std::string& value) override {
    Trace.push_back({'w', name});
    if (!Failed) SetText(name, value);
  }

  // Planting and inspecting values; not recorded in Trace.
  void SetRaw(const std::string& name, uint32_t type, std::string bytes) {
    Values[name] = TMemoryValue{type, std::move(bytes)};
  }
  void SetInteger(const std::string& name, int32_t value) {
    std::string b(4, '\0');
    const uint32_t u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) b[i] = static_cast<char>((u >> (8 * i)) & 0xFF);
    SetRaw(name, kRegDword, std::move(b));
  }
  void SetBool(const std::string& name, bool value) { SetInteger(name, value ? 1 : 0); }
  void SetText(const std::string& name, const std::string& text) {
    SetRaw(name, kRegSz, text + '\0');
  }
  bool Has(const std::string& name) const { return Values.count(name) != 0; }
  const TMemoryValue* Find(const std::string& name) const {
    auto it = Values.find(name);
    return it == Values.end() ? nullptr : &it->second;
  }
  // The stored value as the store would read it, or def.
  int32_t RawInteger(const std::string& name, int32_t def) const {
    if (Failed) return def;
    auto it = Values.find(name);
    // Longer than 4 bytes does not fit the reader's buffer; shorter is zero-extended.
    if (it == Values.end() || it->second.Bytes.size() > 4) return def;
    uint32_t u = 0;
    const std::string& b = it->second.Bytes;
    for (size_t i = 0; i < b.size(); ++i) u |= static_cast<uint32_t>(static_cast<unsigned char>(b[i])) << (8 * i);
    return static_cast<int32_t>(u);
  }
  std::vector<std::string> Names(char op) const {
    std::vector<std::string> out;
    for (const auto& a : Trace)
      if (a.Op == op) out.push_back(a.Name);
    return out;
  }
};
