#include "astro/AstroCompose.h"

#include <gtest/gtest.h>

#include "astro/AstroCorpus.h"
#include "base/Utf.h"
#include "platform/Platform.h"

namespace velmora {

namespace {

const std::u16string K1 = u"Но руководство пока не спешит с решениями.";
const std::u16string K2 = u"Первая половина недели подходит для учёбы.";
const std::u16string K3 = u"Звёзды обещают спокойные и тёплые вечера.";
const std::u16string L1 = u"Но финансовые вопросы лучше отложить.";
const std::u16string L2 = u"Но встреча со старым другом обрадует.";
const std::u16string M1 = u"Выходные хорошо провести на свежем воздухе.";
const std::u16string M2 = u"Здоровье потребует немного больше внимания.";
const std::u16string M3 = u"Покупки для дома окажутся удачными.";

std::u16string Weekly(std::initializer_list<std::u16string> sentences) {
  std::u16string t = u"ОВЕН (21.03-20.04).";
  for (const auto& s : sentences) t += u" " + s;
  return t + u" Благоприятный день - вторник, неблагоприятный день - среда.";
}

std::vector<TWeeklyItem> WeeklyExample() {
  return {{{2020, 1, 6}, u"Овен", Weekly({K1, K2, K3})},
          {{2021, 3, 1}, u"Овен", Weekly({L1, L2})},
          {{2022, 2, 7}, u"Овен", Weekly({M1, M2, M3})}};
}

// Checks that a fresh state of the key yields exactly these RandomBelow values.
void ExpectDraws(std::u16string_view key, std::initializer_list<std::pair<int, int>> draws) {
  RandomState s = SeedRandom(key);
  int k = 0;
  for (auto [bound, value] : draws) EXPECT_EQ(RandomBelow(s, bound), value) << "draw " << ++k;
}

}  // namespace

TEST(AstroCompose, SourceDrawWorkedExample) {
  std::vector<TWeeklyItem> corpus = {{{2020, 1, 6}, u"Овен", u"A"},
                                     {{2021, 3, 1}, u"Овен", u"B"},
                                     {{2019, 7, 1}, u"Телец", u"X"},
                                     {{2019, 7, 1}, u"Овен", u"C"},
                                     {{2022, 2, 7}, u"Овен", u"D"}};
  RandomState s = SeedRandom(u"weekly|test|2026-01-05|Овен");
  EXPECT_EQ(s, 1822631727);
  ExpectDraws(u"weekly|test|2026-01-05|Овен", {{10, 1}, {6, 5}, {3, 2}, {2, 0}});
  auto drawn = DrawWeeklySources(corpus, u"Овен", s, {2026, 1, 5});
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[0].Text + drawn[1].Text + drawn[2].Text + drawn[3].Text, u"ADCB");
  RandomState after = SeedRandom(u"weekly|test|2026-01-05|Овен");
  for (int i = 0; i < 4; ++i) NextRandom(after);
  EXPECT_EQ(s, after);
}

TEST(AstroCompose, SourceDrawNamesAndWeeks) {
  std::vector<TWeeklyItem> corpus = {{{2020, 1, 6}, u"овен", u"cyrillic case"},
                                     {{2020, 1, 6}, u"Aries", u"latin"},
                                     {{2021, 1, 4}, u"Овен", u"one"},
                                     {{2021, 1, 4}, u"Овен", u"same week"}};
  RandomState s = SeedRandom(u"x");
  EXPECT_TRUE(DrawWeeklySources(corpus, u"Скорпион", s, {2026, 1, 5}).empty());
  EXPECT_EQ(s, SeedRandom(u"x"));  // nothing drawn for an empty pool
  auto drawn = DrawWeeklySources(corpus, u"Овен", s, {2026, 1, 5});
  ASSERT_EQ(drawn.size(), 1u);  // the other record of that week is removed with it
  EXPECT_EQ(DrawWeeklySources(corpus, u"ARIES", s, {2026, 1, 5}).size(), 1u);
}

TEST(AstroCompose, WeeklyWorkedExample) {
  ExpectDraws(
      u"weekly|test|2026-01-05|Овен",
      {{9, 3}, {5, 0}, {3, 2}, {2, 0}, {2, 1}, {2, 1}, {2, 0}, {2, 0}, {2, 1}, {3, 0}, {3, 0}, {7, 0}, {7, 0}, {7, 5}});
  EXPECT_EQ(ComposeWeeklyHoroscope(WeeklyExample(), u"Овен", u"ОВЕН (21.03-20.04).", u"test", {2026, 1, 5}),
            u"ОВЕН (21.03-20.04). " + K3 + u" " + L1 + u" " + M1 +
                u" Благоприятный день - понедельник, неблагоприятный день - суббота.");
}

TEST(AstroCompose, DailyWorkedExample) {
  const std::u16string P1 = u"Утро понедельника подходит для планов.", P2 = u"Разговор с начальством пройдёт легко.";
  const std::u16string Q1 = u"Вечером стоит позвонить родителям.";
  const std::u16string R1 = u"Луна располагает к спокойной работе.", R2 = u"Покупки лучше перенести на среду.",
                       R3 = u"Не спорьте с близкими по мелочам.";
  std::vector<TDailyItem> corpus = {{{2020, 1, 6}, u"Понедельник", P1 + u" " + P2},
                                    {{2021, 1, 11}, u"Понедельник", Q1},
                                    {{2019, 12, 30}, u"Понедельник", R1 + u" " + R2 + u" " + R3}};
  EXPECT_EQ(SeedRandom(u"daily|test|2026-01-05|Понедельник"), 1328273127);
  ExpectDraws(u"daily|test|2026-01-05|Понедельник", {{12, 9}, {8, 3}, {4, 3}, {2, 0}, {3, 0}, {2, 1}, {2, 1}, {1, 0}});
  EXPECT_EQ(ComposeDailyForecast(corpus, u"Понедельник", u"test", {2026, 1, 5}), R1 + u" " + P2 + u" " + Q1);
}

TEST(AstroCompose, HeaderAndDaySentenceCuts) {
  EXPECT_EQ(StripSignHeader(u"  ОВЕН (21.03-20.04). Текст.  "), u"Текст.");
  // ")." first at position 35 or later: the opening stays.
  const std::u16string late = u"Тридцать четыре знака до скобки (x). Дальше.";
  ASSERT_GE(late.find(u")."), 34u);
  EXPECT_EQ(StripSignHeader(late), late);
  EXPECT_EQ(CutDaySentence(u"Текст. Благоприятный день — пятница."), u"Текст.");
  EXPECT_EQ(CutDaySentence(u"Текст. Благоприятные дни - пятница."), u"Текст. Благоприятные дни - пятница.");
}

TEST(AstroCompose, DayNamesDifferAndSignsAreIndependent) {
  for (int i = 0; i < 200; ++i) {
    RandomState s = SeedRandom(u"days" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)) +
                               std::u16string(1, static_cast<char16_t>(u'0' + i / 26)));
    std::u16string good = PickDayName(s, u"");
    std::u16string bad = PickDayName(s, good);
    ASSERT_NE(good, bad);
    ASSERT_EQ(good[0], LowerText(good)[0]);
  }
  auto corpus = WeeklyExample();
  corpus.push_back({{2020, 1, 6}, u"Телец", u"ТЕЛЕЦ (21.04-21.05). " + M2 + u" " + M3});
  const auto taurus = ComposeWeeklyHoroscope(corpus, u"Телец", u"ТЕЛЕЦ (21.04-21.05).", u"test", {2026, 1, 5});
  corpus.erase(corpus.begin());  // fewer Aries records change how Aries draws, not Taurus
  EXPECT_EQ(ComposeWeeklyHoroscope(corpus, u"Телец", u"ТЕЛЕЦ (21.04-21.05).", u"test", {2026, 1, 5}), taurus);
}

TEST(AstroCompose, EmptySourcesAndTheFirstSentenceFix) {
  const std::u16string empty = ComposeWeeklyHoroscope({}, u"Овен", u"ОВЕН (21.03-20.04).", u"test", {2026, 1, 5});
  EXPECT_TRUE(empty.starts_with(u"ОВЕН (21.03-20.04). Благоприятный день - ")) << Utf16ToUtf8(empty);
  EXPECT_EQ(ComposeDailyForecast({}, u"Среда", u"test", {2026, 1, 5}), u"");
  // Only dependent sentences: the first loses its connector.
  std::vector<TWeeklyItem> dependent = {{{2020, 1, 6}, u"Овен", Weekly({K1})}};
  const auto text = ComposeWeeklyHoroscope(dependent, u"Овен", u"ОВЕН (21.03-20.04).", u"test", {2026, 1, 5});
  EXPECT_TRUE(text.starts_with(u"ОВЕН (21.03-20.04). Руководство пока не спешит с решениями.")) << Utf16ToUtf8(text);
  std::vector<TDailyItem> daily = {{{2020, 1, 6}, u"Среда", u"Но вечер принесёт приятные новости."}};
  EXPECT_EQ(ComposeDailyForecast(daily, u"Среда", u"test", {2026, 1, 5}), u"Вечер принесёт приятные новости.");
}

TEST(AstroCompose, AtMostFiveAndFourSentencesInPickOrder) {
  std::vector<TWeeklyItem> weekly;
  std::vector<TDailyItem> daily;
  for (int w = 0; w < 6; ++w) {
    std::u16string text;
    for (int k = 0; k < 4; ++k)
      text += u"Фраза номер " + std::u16string(1, static_cast<char16_t>(u'А' + w)) +
              std::u16string(1, static_cast<char16_t>(u'1' + k)) + u" достаточно длинная. ";
    weekly.push_back({AddDays({2020, 1, 6}, 7 * w), u"Овен", text});
    daily.push_back({AddDays({2020, 1, 6}, 7 * w), u"Среда", text});
  }
  for (int week = 0; week < 30; ++week) {
    const TDate date = AddDays({2026, 1, 5}, 7 * week);
    const auto horoscope = ComposeWeeklyHoroscope(weekly, u"Овен", u"ОВЕН (21.03-20.04).", u"a", date);
    EXPECT_LE(std::count(horoscope.begin(), horoscope.end(), u'.'), 3 + 5 + 1);  // header, five, day sentence
    const auto forecast = ComposeDailyForecast(daily, u"Среда", u"a", date);
    EXPECT_LE(std::count(forecast.begin(), forecast.end(), u'.'), 4);
    EXPECT_GE(std::count(forecast.begin(), forecast.end(), u'.'), 3);
  }
}

}  // namespace velmora
