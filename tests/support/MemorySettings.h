// An in-memory settings store for tests. Values are raw bytes read with the registry
// store's rules, so a test can plant values of the wrong kind or size. Every read and
// write is recorded in order, writes also as "name=value".
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <strings.h>
#include <vector>

#include "settings/Settings.h"

// The registry's type numbers, so tests need no <windows.h>.
enum : uint32_t { RegNone = 0, RegSz = 1, RegBinary = 3, RegDword = 4, RegQword = 11 };

// The registry compares value names without case.
struct TNoCaseLess {
  bool operator()(const std::string& a, const std::string& b) const { return strcasecmp(a.c_str(), b.c_str()) < 0; }
};

class TMemorySettings : public TSettings {
public:
  std::map<std::string, std::string, TNoCaseLess> Values;  // name: the stored bytes
  std::vector<std::pair<char, std::string>> Trace;        // 'r' or 'w', value name
  std::vector<std::string> Written;                        // "name=value"

  void Open() override {}
  int32_t ReadInteger(const std::string& name, int32_t def) override { return Note('r', name), RawInteger(name, def); }
  bool ReadBool(const std::string& name, bool def) override { return Note('r', name), RawInteger(name, def) == 1; }
  std::string ReadString(const std::string& name, const std::string& def) override {
    const auto it = (Note('r', name), Values.find(name));
    return it == Values.end() ? def : it->second.substr(0, it->second.find('\0'));
  }
  void WriteInteger(const std::string& name, int32_t value) override {
    Note('w', name, std::to_string(value)), SetInteger(name, value);
  }
  void WriteBool(const std::string& name, bool value) override { WriteInteger(name, value); }
  void WriteString(const std::string& name, const std::string& value) override { Note('w', name, value), SetText(name, value); }

  // Planting and inspecting values; not recorded. Every kind reads by the same rules.
  void SetRaw(const std::string& name, uint32_t /*type*/, std::string bytes) { Values[name] = std::move(bytes); }
  void SetInteger(const std::string& name, int32_t value) {
    const auto u = static_cast<uint32_t>(value);
    Values[name] = {char(u), char(u >> 8), char(u >> 16), char(u >> 24)};
  }
  void SetText(const std::string& name, const std::string& text) { Values[name] = text + '\0'; }
  // As the store reads it: longer than 4 bytes does not fit its buffer, shorter is zero-extended.
  int32_t RawInteger(const std::string& name, int32_t def) const {
    const auto it = Values.find(name);
    if (it == Values.end() || it->second.size() > 4) return def;
    uint32_t u = 0;
    for (size_t i = 0; i < it->second.size(); ++i) u |= uint32_t(uint8_t(it->second[i])) << (8 * i);
    return static_cast<int32_t>(u);
  }
  std::vector<std::string> Names(char op) const {
    std::vector<std::string> out;
    for (const auto& [o, name] : Trace)
      if (o == op) out.push_back(name);
    return out;
  }

private:
  void Note(char op, const std::string& name, const std::string& value = "") {
    Trace.emplace_back(op, name);
    if (op == 'w') Written.push_back(name + "=" + value);
  }
};
