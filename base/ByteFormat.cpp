#include "base/ByteFormat.h"

#include <charconv>

namespace {

// Tenths of a remainder below 1024, cut rather than rounded (r x 10 / 1024 is exact).
char Tenths(uint64_t remainder) {
  return static_cast<char>('0' + remainder * 10 / 1024);
}

void AppendNumber(std::string& out, int64_t value) {
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, value);
  out.append(buf, res.ptr);
}

// Shared by both formatters: units[0] below 1024, then one unit per further step
// of 1024 until the last unit, which takes everything larger.
std::string Format(int64_t v, const char* const* units, int unitCount) {
  std::string out;
  // Negative counts never come from the program itself; they fall under the first
  // rule, as plain digits.
  if (v < 1024) {
    AppendNumber(out, v);
    out += units[0];
    return out;
  }
  uint64_t q = static_cast<uint64_t>(v);
  uint64_t r = 0;
  int unit = 0;
  do {
    r = q % 1024;
    q /= 1024;
    ++unit;
  } while (q >= 1024 && unit < unitCount - 1);
  AppendNumber(out, static_cast<int64_t>(q));
  out += '.';
  out += Tenths(r);
  out += units[unit];
  return out;
}

}  // namespace

std::string FormatBytes(int64_t octets) {
  static const char* const units[] = {"B", "KB", "MB", "GB"};
  return Format(octets, units, 4);
}

std::string FormatBytesShort(int32_t octets) {
  static const char* const units[] = {"b", "k", "M"};
  return Format(octets, units, 3);
}
