#include "toolkit/DateTime.h"

#include <cmath>
#include <vector>

namespace tk {

namespace {

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int MonthDays(int y, int m) {
  static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

constexpr double MsPerDay = 86400000.0;

}  // namespace

double SystemTimeToDateTime(const SYSTEMTIME& st) {
  const int y = st.wYear, m = st.wMonth, d = st.wDay;
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > MonthDays(y, m)) return 0;
  if (st.wHour >= 24 || st.wMinute >= 60 || st.wSecond >= 60 || st.wMilliseconds >= 1000) return 0;
  int dayOfYear = d;
  for (int i = 1; i < m; ++i) dayOfYear += MonthDays(y, i);
  const int p = y - 1;
  const double days = dayOfYear + p * 365.0 + p / 4 - p / 100 + p / 400;
  const double ms = st.wHour * 3600000.0 + st.wMinute * 60000.0 + st.wSecond * 1000.0 + st.wMilliseconds;
  return days + ms / MsPerDay;
}

double Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return SystemTimeToDateTime(st);
}

bool DateTimeToSystemTime(double d, SYSTEMTIME& st) {
  if (!(d >= 1) || d >= 3652060) return false;  // 3652060 = 1 January 10000
  long days = static_cast<long>(std::floor(d));
  // A fraction that rounds up to a whole day belongs to the next day, not to hour 24.
  long long ms = std::llround((d - static_cast<double>(days)) * MsPerDay);
  if (ms >= 86400000LL) { ms -= 86400000LL; ++days; }
  if (days >= 3652060) return false;

  long n = days - 1;  // days since 1 January of year 1
  long y = 1;
  y += 400 * (n / 146097); n %= 146097;
  long c = n / 36524; if (c == 4) c = 3;  // last day of a 400-year cycle
  y += 100 * c; n -= c * 36524;
  y += 4 * (n / 1461); n %= 1461;
  long q = n / 365; if (q == 4) q = 3;  // 31 December of a leap year
  y += q; n -= q * 365;
  int month = 1;
  while (n >= MonthDays(static_cast<int>(y), month)) { n -= MonthDays(static_cast<int>(y), month); ++month; }

  st = SYSTEMTIME{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(month);
  st.wDay = static_cast<WORD>(n + 1);
  st.wDayOfWeek = static_cast<WORD>(DayOfWeek(static_cast<double>(days)) % 7);  // 0 = Sunday
  st.wHour = static_cast<WORD>(ms / 3600000);
  st.wMinute = static_cast<WORD>(ms / 60000 % 60);
  st.wSecond = static_cast<WORD>(ms / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(ms % 1000);
  return true;
}

int DayOfWeek(double d) {
  const long long days = static_cast<long long>(std::floor(d));
  return static_cast<int>(((days + 6) % 7 + 7) % 7) + 1;
}

std::string FormatDate(const SYSTEMTIME& st, LCID locale, bool longDate, const char* format) {
  const DWORD flags = format ? 0 : (longDate ? DATE_LONGDATE : DATE_SHORTDATE);
  std::vector<char> buf(100);
  for (;;) {
    const int n = GetDateFormatA(locale, flags, &st, format, buf.data(), static_cast<int>(buf.size()));
    if (n > 0) return std::string(buf.data());
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || buf.size() > 65536) return {};
    buf.resize(buf.size() * 2);
  }
}

}  // namespace tk
