// Calendar dates of whole days and the date formats of seed keys, file names and
// document headers.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

struct TDate {
  int Year = 1;
  int Month = 1;
  int Day = 1;
  friend bool operator==(const TDate&, const TDate&) = default;
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);
bool IsValidDate(int year, int month, int day);
// Throws TError (invalid argument) "Invalid argument to date encode" when the date does
// not exist (year outside 1..9999 included).
TDate MakeDate(int year, int month, int day);

// Days since 1970-01-01 (negative before), and back.
long long DaysFromCivil(const TDate& d);
TDate CivilFromDays(long long days);
TDate AddDays(const TDate& d, long long days);

// ISO weekday: Monday 1 .. Sunday 7.
int IsoWeekday(const TDate& d);
// The names of the weekdays, capitalised, Monday first: DayNames[IsoWeekday(d) - 1].
extern const char16_t* const DayNames[7];
// 1 (1 January) .. 365 or 366.
int DayOfYear(const TDate& d);

// Reads day (characters 9-10), month (6-7) and year (1-4), in that order; characters
// 5, 8 and beyond 10 are not looked at. Throws TError (conversion) with
// "'%s' is not a valid integer value" or "Invalid argument to date encode".
TDate ParseIsoDate(std::u16string_view text);

std::u16string FormatIsoDate(const TDate& d);      // yyyy-mm-dd
std::u16string FormatCompactDate(const TDate& d);  // yyyymmdd
std::u16string FormatDisplayDate(const TDate& d);  // dd.mm.yyyy

// The Monday preset for a week chosen on `today`: the coming Monday on Monday and
// Tuesday, the Monday after it from Wednesday on (6 to 12 days ahead).
TDate DefaultWeekStart(const TDate& today);

// 4, 3, 2 or 1 by the distance of the two dates' days of the year, years ignored.
int SeasonalWeight(const TDate& recordWeekStart, const TDate& targetDate);

}  // namespace velmora
