// Small services other parts call: file checks, locale text comparison and dates,
// the local time as a day number, the platform's version class.
#pragma once
#include <windows.h>
#include <string>

// GetFileAttributesA succeeds and the path is not a directory.
bool FileExists(const std::string& path);
// CompareStringA with the user's locale: negative, 0 or positive.
int CompareText(const std::string& a, const std::string& b);

// Date-times are days since 1 January of year 1 (day 1) with the time of day as
// the fraction; 1 January 2000 is day 730120.
double SystemTimeToDateTime(const SYSTEMTIME& st);  // 0 for an invalid time
double Now();
// False for d < 1 (or beyond year 9999).
bool DateTimeToSystemTime(double d, SYSTEMTIME& st);
// 1 = Monday .. 7 = Sunday (day 1, 1 January of year 1, was a Monday).
int DayOfWeek(double d);
// GetDateFormatA: with a format, flags 0; otherwise the long or short date form.
std::string FormatDate(const SYSTEMTIME& st, LCID locale, bool longDate, const char* format = nullptr);

// 0 unknown, 1 Win95, 2 Win98/ME, 3 NT4 or older, 4 Windows 2000, 5 XP/2003, 6 Vista or later.
int WindowsVersion();
