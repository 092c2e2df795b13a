#include "traffic/LogPath.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

bool Separator(char c) { return c == '\\' || c == '/'; }
bool Letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string TrimEnd(std::string text, const char* drop) {
  text.erase(text.find_last_not_of(drop) + 1);
  return text;
}

bool DeviceName(std::string base) {
  std::transform(base.begin(), base.end(), base.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
  static constexpr const char* Devices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "CONIN$", "CONOUT$"};
  if (std::find(std::begin(Devices), std::end(Devices), base) != std::end(Devices)) return true;
  if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
  // digits, and the superscripts one, two and three of the 8-bit code page
  const auto n = static_cast<unsigned char>(base[3]);
  return (n >= '0' && n <= '9') || n == 0xB9 || n == 0xB2 || n == 0xB3;
}

}  // namespace

bool UsableLogPath(const std::string& path) {
  if (path.empty() || path.size() > MaxLogPathLength) return false;
  // the device namespace; \\?\ falls to the question mark below
  if (path.size() >= 3 && Separator(path[0]) && Separator(path[1]) && path[2] == '.' &&
      (path.size() == 3 || Separator(path[3])))
    return false;
  const bool drive = path.size() >= 2 && path[1] == ':' && Letter(path[0]);
  for (size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (c < 0x20 || std::strchr("<>\"|?*", c)) return false;
    if (c == ':' && !(drive && i == 1)) return false;
  }
  const size_t slash = path.find_last_of("\\/");
  const std::string name = TrimEnd(path.substr(slash != std::string::npos ? slash + 1 : drive ? 2 : 0), ". ");
  if (name.empty()) return false;
  return !DeviceName(TrimEnd(name.substr(0, name.find('.')), " "));
}
