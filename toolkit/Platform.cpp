#include "toolkit/Platform.h"

#include <shellapi.h>

namespace tk {

HWND EnabledOwnedWindow(HWND owner) {
  struct TSearch { HWND owner, found; } search{owner, nullptr};
  if (!owner) return nullptr;
  EnumThreadWindows(GetCurrentThreadId(), [](HWND wnd, LPARAM data) -> BOOL {
    auto& s = *reinterpret_cast<TSearch*>(data);
    if (!IsWindowVisible(wnd) || !IsWindowEnabled(wnd)) return TRUE;
    for (HWND o = GetWindow(wnd, GW_OWNER); o; o = GetWindow(o, GW_OWNER))
      if (o == s.owner) return s.found = wnd, FALSE;
    return TRUE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void ShellOpen(HWND owner, const std::string& target) {
  // a program that honours the show command would start hidden with 0
  ShellExecuteA(owner, nullptr, target.c_str(), nullptr, "", SW_SHOWNORMAL);
}

unique_hmodule LoadSystemLibrary(const char* name) {
  // by its full name: a DLL of that name beside the exe or in the current folder is not the system's
  char path[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string full = std::string(path, length) + "\\" + name;
  return unique_hmodule(LoadLibraryA(full.c_str()));
}

bool FileExists(const std::string& path) {
  const DWORD attr = GetFileAttributesA(path.c_str());
  return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

int CompareText(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_USER_DEFAULT, 0, a.c_str(), -1, b.c_str(), -1) - 2;
}

int WindowsVersion() {
  static const int version = [] {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!GetVersionExA(&info)) return 0;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
      if (info.dwMajorVersion <= 4) return 3;
      if (info.dwMajorVersion == 5) return info.dwMinorVersion == 0 ? 4 : 5;
      return 6;
    }
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
      return info.dwMajorVersion > 4 || (info.dwMajorVersion == 4 && info.dwMinorVersion > 9) ? 2 : 1;
    return 0;
  }();
  return version;
}

}  // namespace tk
