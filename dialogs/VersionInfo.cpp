#include "dialogs/VersionInfo.h"

#include "toolkit/Platform.h"
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

  // only the about box asks, so the DLL is not loaded at start
  const tk::unique_hmodule library = tk::LoadSystemLibrary("version.dll");
  const auto infoSize = tk::LibraryFunction<decltype(&GetFileVersionInfoSizeA)>(library, "GetFileVersionInfoSizeA");
  const auto readInfo = tk::LibraryFunction<decltype(&GetFileVersionInfoA)>(library, "GetFileVersionInfoA");
  const auto query = tk::LibraryFunction<decltype(&VerQueryValueA)>(library, "VerQueryValueA");
  if (!infoSize || !readInfo || !query) return {};
  DWORD ignored = 0;
  const DWORD size = infoSize(name.c_str(), &ignored);
  if (size == 0) return {};
  std::vector<char> block(size);
  if (!readInfo(name.c_str(), 0, size, block.data())) return {};
  VS_FIXEDFILEINFO* info = nullptr;
  UINT fixedSize = 0;
  if (!query(block.data(), "\\", reinterpret_cast<void**>(&info), &fixedSize) || !info ||
      fixedSize < sizeof *info)
    return {};
  return std::to_string(HIWORD(info->dwFileVersionMS)) + "." + std::to_string(LOWORD(info->dwFileVersionMS)) + "." +
         std::to_string(HIWORD(info->dwFileVersionLS)) + "." + std::to_string(LOWORD(info->dwFileVersionLS));
}
