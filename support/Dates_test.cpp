#include "support/Dates.h"

#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Utf.h"
#include "testing/TestText.h"

namespace velmora {

TEST(Dates, ParseIsoDateReadsDayMonthYearPositions) {
  struct Case {
    const char16_t* Text;
    TDate Expected;
  } cases[] = {
      {u"2024-02-29", {2024, 2, 29}},       {u"2024/01/15", {2024, 1, 15}},  // separators are not looked at
      {u"2024-01-15T10:00", {2024, 1, 15}},                                  // the rest is ignored
      {u"0001-01-01", {1, 1, 1}},           {u"9999-12-31", {9999, 12, 31}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseIsoDate(c.Text), c.Expected) << Utf16ToUtf8(c.Text);
}

TEST(Dates, ParseIsoDateErrorsCarryTheExactTexts) {
  struct Case {
    const char16_t* Text;
    const char* Message;
  } cases[] = {
      {u"2023-02-29", "Invalid argument to date encode"},
      {u"2024-13-01", "Invalid argument to date encode"},
      {u"0000-01-01", "Invalid argument to date encode"},
      {u"2024-1-15", "'1-' is not a valid integer value"},  // day "5" reads, the month "1-" does not
      {u"2024-01-1x", "'1x' is not a valid integer value"},
      {u"2024-xx-15", "'xx' is not a valid integer value"},
      {u"", "'' is not a valid integer value"},
      {u"abcd-01-15", "'abcd' is not a valid integer value"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(testing::ErrorOf([&] { ParseIsoDate(c.Text); }), c.Message) << Utf16ToUtf8(c.Text);
}

TEST(Dates, Formats) {
  TDate d{2025, 3, 5};
  EXPECT_EQ(FormatIsoDate(d), u"2025-03-05");
  EXPECT_EQ(FormatCompactDate(d), u"20250305");
  EXPECT_EQ(FormatDisplayDate(d), u"05.03.2025");
}

TEST(Dates, CalendarArithmetic) {
  EXPECT_EQ(IsoWeekday({2026, 1, 5}), 1);
  EXPECT_EQ(IsoWeekday({2025, 12, 28}), 7);
  EXPECT_EQ(AddDays({2025, 12, 29}, 6), (TDate{2026, 1, 4}));
  EXPECT_EQ(AddDays({2024, 2, 28}, 1), (TDate{2024, 2, 29}));
  EXPECT_EQ(AddDays({2023, 2, 28}, 1), (TDate{2023, 3, 1}));
  EXPECT_EQ(DayOfYear({2025, 12, 30}), 364);
  EXPECT_EQ(DayOfYear({2024, 12, 31}), 366);
  for (long long z = -800000; z < 800000; z += 997) ASSERT_EQ(DaysFromCivil(CivilFromDays(z)), z);
}

TEST(Dates, SeasonalWeightByCalendarDistance) {
  struct Case {
    TDate Record, Target;
    int Weight;
  } cases[] = {
      {{2025, 1, 2}, {2025, 12, 30}, 4},  // 362 folds to 4
      {{2019, 3, 17}, {2025, 3, 17}, 4},  // same calendar day, other year
      {{2025, 1, 1}, {2025, 7, 2}, 1},    // d = 182
      {{2025, 1, 1}, {2025, 1, 22}, 4},   // d = 21
      {{2025, 1, 1}, {2025, 1, 23}, 3},   // d = 22
      {{2025, 1, 1}, {2025, 2, 15}, 3},   // d = 45
      {{2025, 1, 1}, {2025, 2, 16}, 2},   // d = 46
      {{2025, 1, 1}, {2025, 3, 17}, 2},   // d = 75
      {{2025, 1, 1}, {2025, 3, 18}, 1},   // d = 76
      {{2024, 9, 16}, {2025, 3, 17}, 1},  // d = 184 folds to 182
      {{2021, 12, 29}, {2026, 1, 5}, 4}, {{2021, 2, 12}, {2026, 1, 5}, 3},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SeasonalWeight(c.Record, c.Target), c.Weight) << Utf16ToUtf8(FormatIsoDate(c.Record));
}

TEST(Dates, DefaultWeekStartIsSixToTwelveDaysAhead) {
  // 2026-12-07 is a Monday.
  const int added[] = {7, 6, 12, 11, 10, 9, 8};
  for (int k = 0; k < 7; ++k) {
    TDate today = AddDays({2026, 12, 7}, k);
    TDate preset = DefaultWeekStart(today);
    EXPECT_EQ(DaysFromCivil(preset) - DaysFromCivil(today), added[k]) << k;
    EXPECT_EQ(IsoWeekday(preset), 1);
  }
}

}  // namespace velmora
