// Date-times: days since 1 January of year 1 (day 1) with the time of day as the
// fraction; 1 January 2000 is day 730120.
#pragma once
#include "toolkit/WinApi.h"

#include <string>

namespace tk {

double SystemTimeToDateTime(const SYSTEMTIME& st);  // 0 for an invalid time
// The local date and time.
double Now();
// False for d < 1 (or beyond year 9999).
bool DateTimeToSystemTime(double d, SYSTEMTIME& st);
// 1 = Monday .. 7 = Sunday (day 1, 1 January of year 1, was a Monday).
int DayOfWeek(double d);
// GetDateFormatA: with a format, flags 0; otherwise the long or short date form.
std::string FormatDate(const SYSTEMTIME& st, LCID locale, bool longDate, const char* format = nullptr);

}  // namespace tk
