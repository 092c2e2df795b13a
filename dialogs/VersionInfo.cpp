#include "dialogs/VersionInfo.h"

#include "toolkit/WinApi.h"

#include <vector>

std::string FileVersionText(const std::string& fileName) {
  std::string name = fileName;
  if (name.empty()) {
    char path[2000] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    // a path cut off at the buffer's end names no file
    if (length == 0 || length >= sizeof path) return {};
    name.assign(path, length);
  }
  const DWORD attributes = GetFileAttributesA(name.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return {};

  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(name.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(name.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
      infoSize < sizeof *info)
    return {};
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}
