// Text between the program's 8-bit code page, UTF-8 and the wide API: the usage
// history keeps UTF-8, and file names with any letters reach the system whole.
#pragma once
#include "toolkit/WinApi.h"

#include <string>

namespace tk {

std::string AnsiToUtf8(const std::string& text);
// Letters the code page lacks come out as the system's default character.
std::string Utf8ToAnsi(const std::string& text);
std::wstring Utf8ToWide(const std::string& text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace tk
