// Small services of the platform: file checks, locale text comparison, the
// operating system's version class, opening with the shell, DLLs loaded for one use.
#pragma once
#include "toolkit/Handles.h"
#include "toolkit/WinApi.h"

#include <string>

namespace tk {

// The enabled one of the visible windows of this thread that `owner` owns, directly or
// not: with dialogs opened from dialogs, the innermost, as the others wait for it.
HWND EnabledOwnedWindow(HWND owner);

// Opens a file or an address with its associated program, shown normally; failures
// are ignored.
void ShellOpen(HWND owner, const std::string& target);

// A DLL that only a dialog needs, loaded from the system folder when the dialog opens
// rather than at start; a function of it, null when the DLL or the function is missing.
unique_hmodule LoadSystemLibrary(const char* name);
template <typename F> F LibraryFunction(const unique_hmodule& library, const char* name) {
  return library ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library.get(), name))) : nullptr;
}

// GetFileAttributesA succeeds and the path is not a directory.
bool FileExists(const std::string& path);
// CompareStringA with the user's locale: negative, 0 or positive.
int CompareText(const std::string& a, const std::string& b);

// 0 unknown, 1 Win95, 2 Win98/ME, 3 NT4 or older, 4 Windows 2000, 5 XP/2003, 6 Vista or later.
int WindowsVersion();

}  // namespace tk
