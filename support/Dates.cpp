#include "support/Dates.h"

#include <cstdlib>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"

namespace velmora {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

TDate MakeDate(int year, int month, int day) {
  if (!IsValidDate(year, month, day)) throw TError(TErrorKind::InvalidArgument, u"Invalid argument to date encode");
  return TDate{year, month, day};
}

namespace {

// Days from 1 January of year 1 to 1 January 1970, the origin of the day numbers.
constexpr long long kDaysYearOneTo1970 = 719162;

// Division rounding down, so that the leap-year counts step correctly before year 1 too.
long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// The day number of 1 January of `year`: 365 days a year plus one for every leap year
// passed (every fourth year, less the centuries not divisible by 400).
long long NewYearDay(long long year) {
  const long long before = year - 1;
  return 365 * before + FloorDiv(before, 4) - FloorDiv(before, 100) + FloorDiv(before, 400) - kDaysYearOneTo1970;
}

}  // namespace

// Day numbers count from 1970-01-01 on the proleptic Gregorian calendar.
long long DaysFromCivil(const TDate& d) {
  long long days = NewYearDay(d.Year) + d.Day - 1;
  for (int m = 1; m < d.Month; ++m) days += DaysInMonth(d.Year, m);
  return days;
}

TDate CivilFromDays(long long z) {
  // 146097 days make 400 years; the estimate is off by at most a year either way.
  long long year = 1970 + FloorDiv(z * 400, 146097);
  while (NewYearDay(year) > z) --year;
  while (NewYearDay(year + 1) <= z) ++year;
  long long rest = z - NewYearDay(year);
  int month = 1;
  while (rest >= DaysInMonth(static_cast<int>(year), month)) rest -= DaysInMonth(static_cast<int>(year), month++);
  return TDate{static_cast<int>(year), month, static_cast<int>(rest) + 1};
}

TDate AddDays(const TDate& d, long long days) { return CivilFromDays(DaysFromCivil(d) + days); }

int IsoWeekday(const TDate& d) {
  long long z = DaysFromCivil(d);       // 1970-01-01 was a Thursday (4)
  long long w = ((z % 7) + 7 + 3) % 7;  // 0 = Monday
  return static_cast<int>(w) + 1;
}

const char16_t* const DayNames[7] = {u"Понедельник", u"Вторник", u"Среда",      u"Четверг",
                                     u"Пятница",     u"Суббота", u"Воскресенье"};

int DayOfYear(const TDate& d) { return static_cast<int>(DaysFromCivil(d) - DaysFromCivil(TDate{d.Year, 1, 1})) + 1; }

namespace {

// A piece of the date text as a number: an optional sign and digits, nothing else; the
// error quotes the characters, as the date reader's integer conversion does.
int ParseIntPiece(std::u16string_view piece) {
  const std::optional<std::int64_t> value = ParseDecimal(piece);
  if (!value) throw TError(TErrorKind::Conversion, u"'" + std::u16string(piece) + u"' is not a valid integer value");
  // A piece holds four characters at most, so the value fits.
  return static_cast<int>(*value);
}

std::u16string_view Piece(std::u16string_view text, std::size_t from1, std::size_t count) {
  std::size_t from = from1 - 1;
  if (from >= text.size()) return {};
  return text.substr(from, count);
}

std::u16string Pad(long long value, int width) {
  std::u16string s = U16(std::to_string(value));
  while (static_cast<int>(s.size()) < width) s.insert(s.begin(), u'0');
  return s;
}

}  // namespace

TDate ParseIsoDate(std::u16string_view text) {
  int day = ParseIntPiece(Piece(text, 9, 2));
  int month = ParseIntPiece(Piece(text, 6, 2));
  int year = ParseIntPiece(Piece(text, 1, 4));
  if (!IsValidDate(year, month, day)) throw TError(TErrorKind::Conversion, u"Invalid argument to date encode");
  return TDate{year, month, day};
}

std::u16string FormatIsoDate(const TDate& d) { return Pad(d.Year, 4) + u"-" + Pad(d.Month, 2) + u"-" + Pad(d.Day, 2); }

std::u16string FormatCompactDate(const TDate& d) { return Pad(d.Year, 4) + Pad(d.Month, 2) + Pad(d.Day, 2); }

std::u16string FormatDisplayDate(const TDate& d) {
  return Pad(d.Day, 2) + u"." + Pad(d.Month, 2) + u"." + Pad(d.Year, 4);
}

TDate DefaultWeekStart(const TDate& today) {
  const int w = IsoWeekday(today);
  return AddDays(today, w <= 2 ? 8 - w : 15 - w);
}

int SeasonalWeight(const TDate& recordWeekStart, const TDate& targetDate) {
  int d = std::abs(DayOfYear(targetDate) - DayOfYear(recordWeekStart));
  if (d > 183) d = 366 - d;
  if (d <= 21) return 4;
  if (d <= 45) return 3;
  if (d <= 75) return 2;
  return 1;
}

}  // namespace velmora
