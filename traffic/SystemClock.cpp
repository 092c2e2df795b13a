#include "traffic/SystemClock.h"

#include "toolkit/WinApi.h"

#include "base/DayNumber.h"

uint32_t TSystemClock::Today() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return DayNumber(now.wYear, now.wMonth, now.wDay);
}

TLocalHour TSystemClock::LocalHour() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {DayNumber(now.wYear, now.wMonth, now.wDay), now.wHour};
}

uint64_t TSystemClock::MonotonicMs() {
  ULONGLONG hundredNs = 0;
  return ::QueryUnbiasedInterruptTime(&hundredNs) ? hundredNs / 10000 : 0;
}

std::string TSystemClock::FormatShortDate(uint32_t dayNumber) {
  const TCivilDate c = CivilDate(dayNumber);
  // SYSTEMTIME holds 16-bit years; anything beyond would format a wrong date.
  if (c.year < 1 || c.year > 30827) return {};
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(c.year);
  st.wMonth = static_cast<WORD>(c.month);
  st.wDay = static_cast<WORD>(c.day);
  // Day of week, 0 = Sunday; day 1 (1 January of year 1) was a Monday.
  st.wDayOfWeek = static_cast<WORD>(dayNumber % 7);

  // Doubling stops well before the size could overflow an int.
  for (int size = 100; size <= (1 << 20); size *= 2) {
    std::string buf(static_cast<size_t>(size), '\0');
    const int n = ::GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buf.data(), size);
    if (n > 0) {
      buf.resize(static_cast<size_t>(n - 1));
      return buf;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
  }
  return {};
}
