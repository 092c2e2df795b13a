#include "settings/Registry.h"

#include <algorithm>
#include <vector>

tk::unique_hkey RegOpenKeyAccess(HKEY root, const std::string& path, REGSAM access) {
  HKEY key = nullptr;
  if (::RegOpenKeyExA(root, path.c_str(), 0, access, &key) != ERROR_SUCCESS) return {};
  return tk::unique_hkey(key);
}

tk::unique_hkey RegOpenKeyFull(HKEY root, const std::string& path) {
  return RegOpenKeyAccess(root, path, KEY_ALL_ACCESS);
}

tk::unique_hkey RegCreateKeyWrite(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegCreateKeyExA(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
    return {};
  return tk::unique_hkey(key);
}

tk::unique_hkey RegOpenOrCreateKey(HKEY root, const std::string& path) {
  if (auto key = RegOpenKeyFull(root, path)) return key;
  // Created with write access only; reopened for reading as well.
  if (!RegCreateKeyWrite(root, path)) return {};
  return RegOpenKeyFull(root, path);
}

int32_t RegReadDWord(HKEY key, const std::string& name, int32_t def) {
  // Zeroed first: a value of fewer than 4 bytes fills only its own bytes.
  BYTE buf[4] = {0, 0, 0, 0};
  DWORD size = sizeof buf;
  DWORD type = 0;
  if (::RegQueryValueExA(key, name.c_str(), nullptr, &type, buf, &size) != ERROR_SUCCESS)
    return def;
  const uint32_t u = static_cast<uint32_t>(buf[0]) | static_cast<uint32_t>(buf[1]) << 8 |
                     static_cast<uint32_t>(buf[2]) << 16 | static_cast<uint32_t>(buf[3]) << 24;
  return static_cast<int32_t>(u);
}

bool RegWriteDWord(HKEY key, const std::string& name, int32_t value) {
  const DWORD v = static_cast<DWORD>(value);
  return ::RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v),
                          sizeof v) == ERROR_SUCCESS;
}

std::string RegReadText(HKEY key, const std::string& name, const std::string& def) {
  // A non-null pointer with size 0 makes an existing value report its size.
  BYTE probe = 0;
  DWORD size = 0;
  DWORD type = 0;
  LONG rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, &probe, &size);
  std::vector<BYTE> buf;
  if (rc == ERROR_MORE_DATA) {
    buf.resize(size);
    rc = ::RegQueryValueExA(key, name.c_str(), nullptr, &type, buf.data(), &size);
  }
  if (rc != ERROR_SUCCESS) return def;
  size = std::min<DWORD>(size, static_cast<DWORD>(buf.size()));
  // Up to the terminating NUL; a value stored without one keeps its last byte.
  const auto end = std::find(buf.begin(), buf.begin() + size, BYTE{0});
  return std::string(buf.begin(), end);
}

bool RegWriteText(HKEY key, const std::string& name, const std::string& text) {
  return ::RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}
