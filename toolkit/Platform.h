// Small services of the platform: file checks, locale text comparison, the
// operating system's version class.
#pragma once
#include "toolkit/WinApi.h"

#include <string>

namespace tk {

// GetFileAttributesA succeeds and the path is not a directory.
bool FileExists(const std::string& path);
// CompareStringA with the user's locale: negative, 0 or positive.
int CompareText(const std::string& a, const std::string& b);

// 0 unknown, 1 Win95, 2 Win98/ME, 3 NT4 or older, 4 Windows 2000, 5 XP/2003, 6 Vista or later.
int WindowsVersion();

}  // namespace tk
