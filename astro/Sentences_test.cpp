#include "astro/Sentences.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Text.h"
#include "base/Utf.h"

namespace velmora {

TEST(Sentences, SplitKeepsPiecesLongerThan25) {
  const std::u16string s25 = u"Ровно двадцать пять знак.";  // 25 units with its full stop
  ASSERT_EQ(s25.size(), 25u);
  const std::u16string s26 = u"Ровно двадцать шесть знак.";
  ASSERT_EQ(s26.size(), 26u);
  EXPECT_TRUE(SplitSentences(s25).empty());
  EXPECT_EQ(SplitSentences(s26), std::vector<std::u16string>{s26});
  // A short first piece is dropped, not joined, even when the long one is dependent.
  EXPECT_EQ(SplitSentences(u"Коротко. Но вторая фраза достаточно длинная!"),
            std::vector<std::u16string>{u"Но вторая фраза достаточно длинная!"});
  // No terminator: the whole trimmed text; an ellipsis ends at its first full stop.
  EXPECT_EQ(SplitSentences(u"  фраза без точки в конце, но длинная  "),
            std::vector<std::u16string>{u"фраза без точки в конце, но длинная"});
  EXPECT_EQ(SplitSentences(u"Неделя обещает быть спокойной... Так ли это?"),
            std::vector<std::u16string>{u"Неделя обещает быть спокойной."});
}

TEST(Sentences, AddSentenceComparesLatinCaseOnly) {
  TSentenceList list;
  AddSentence(list, u"Hello world, это первая фраза.");
  AddSentence(list, u"HELLO WORLD, это первая фраза.");
  EXPECT_EQ(list.size(), 1u);
  AddSentence(list, u"Hello world, Это первая фраза.");
  EXPECT_EQ(list.size(), 2u);
}

// The list finds equal sentences through an index; it must keep exactly the entries,
// in the order, that comparing each new sentence with every entry would keep, also
// after the composers cut the list or replace its first entry.
TEST(Sentences, SentenceListKeepsWhatThePairwiseRuleKeeps) {
  const std::u16string variants[] = {
      u"Week with Alpha project, неделя идёт ровно.",  u"WEEK WITH ALPHA PROJECT, неделя идёт ровно.",
      u"week with alpha project, Неделя идёт ровно.",  u"Week with Alpha project, неделя идёт ровно!",
      u"Week with Alpha project,  неделя идёт ровно.", u"Week with Alpha project, неделя идёт ровно",
      u"[eek with Alpha project, неделя идёт ровно."};  // '[' is not 'W' + 32
  std::vector<std::u16string> naive;
  TSentenceList list;
  for (int round = 0; round < 3; ++round) {
    for (const auto& v : variants) {
      const bool present = std::any_of(naive.begin(), naive.end(), [&](const auto& e) { return AsciiCaseEqual(e, v); });
      if (!present) naive.push_back(v);
      EXPECT_EQ(list.Add(v), !present) << Utf16ToUtf8(v);
    }
  }
  EXPECT_EQ(list.Entries(), naive);
  EXPECT_EQ(list.size(), 6u);

  // A cut-off entry may come back; the kept ones still refuse their equals.
  list.Truncate(2);
  EXPECT_FALSE(list.Add(variants[1]));
  EXPECT_TRUE(list.Add(variants[3]));
  EXPECT_EQ(list.size(), 3u);
  // After the first entry is replaced, its old text is free and its new text taken.
  list.ReplaceFirst(u"Другая первая фраза, совсем не похожая.");
  EXPECT_TRUE(list.Add(variants[0]));
  EXPECT_FALSE(list.Add(u"Другая первая фраза, совсем не похожая."));
}

TEST(Sentences, OpeningRules) {
  struct Case {
    const char16_t* Text;
    bool Dependent;
    const char16_t* WithoutConnector;  // RemoveLeadingConnector
  } cases[] = {
      {u"Но звёзды советуют подождать.", true, u"Звёзды советуют подождать."},
      {u"но звёзды советуют подождать.", true, u"Звёзды советуют подождать."},
      {u"Однако, вторник будет труднее.", true, u"Вторник будет труднее."},
      {u"(Однако, вторник будет труднее.", true, u"Вторник будет труднее."},
      {u" - Это важно для всех.", true, u" - Это важно для всех."},  // dependent, never removed
      {u"Поэтому в пятницу отдыхайте.", true, u"В пятницу отдыхайте."},
      {u"ПОЭТОМУ в пятницу отдыхайте.", true, u"В пятницу отдыхайте."},
      {u"В связи с этим планы меняются.", true, u"В связи с этим планы меняются."},
      {u"Из-за этого возможны задержки.", true, u"Из-за этого возможны задержки."},
      {u"Новые знакомства радуют.", false, u"Новые знакомства радуют."},  // "Но" without its blank
      {u"Но", false, u"Но"},                                              // the bare word
      {u"Но—неделя", false, u"Но—неделя"},
      {u"- Простая фраза без связки.", false, u"- Простая фраза без связки."},
      {u"«Но это в кавычках.", false, u"«Но это в кавычках."},  // guillemets are not leading punctuation
      {u"Зато выходные порадуют.", true, u"Выходные порадуют."},
      {u"Тем не менее, всё получится.", true, u"Всё получится."},
      {u"ЗАТО,  выходные.", true, u"Выходные."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDependentSentence(c.Text), c.Dependent) << Utf16ToUtf8(c.Text);
    EXPECT_EQ(RemoveLeadingConnector(c.Text), c.WithoutConnector) << Utf16ToUtf8(c.Text);
  }
}

TEST(Sentences, StripOpeningConjunction) {
  struct Case {
    const char16_t* In;
    const char16_t* Out;
  } cases[] = {
      {u"Но, вечер будет тихим.", u"Вечер будет тихим."},
      {u"  Однако день удачный. ", u"День удачный."},
      {u"Впрочем, всё хорошо.", u"Впрочем, всё хорошо."},
      {u"однако день удачный.", u"Однако день удачный."},
      {u"Но Но двойное.", u"Но двойное."},  // at most one is removed
      {u"", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(StripOpeningConjunction(c.In), c.Out) << Utf16ToUtf8(c.In);
}

TEST(Sentences, PickSentenceDrawsOnceWithTheRightBound) {
  const std::vector<std::u16string> mixed = {u"поэтому первая зависимая фраза.", u"ПОЭТОМУ вторая зависимая фраза.",
                                             u"Третья фраза стоит сама по себе."};
  RandomState s = SeedRandom(u"abc"), expected = SeedRandom(u"abc");
  EXPECT_EQ(PickSentence(mixed, s, true), mixed[2]);
  RandomBelow(expected, 1);
  EXPECT_EQ(s, expected);

  const std::vector<std::u16string> dependent = {u"Но первая зависимая фраза тут.", u"Зато вторая зависимая фраза.",
                                                 u"Это третья зависимая фраза."};
  s = expected = SeedRandom(u"abc");
  EXPECT_EQ(PickSentence(dependent, s, true), dependent[static_cast<std::size_t>(RandomBelow(expected, 3))]);
  EXPECT_EQ(s, expected);

  // The independent list is deduplicated; the full array is not.
  const std::vector<std::u16string> twice = {u"Одна и та же фраза, дважды.", u"Одна и та же фраза, дважды."};
  s = expected = SeedRandom(u"abc");
  PickSentence(twice, s, true);
  RandomBelow(expected, 1);
  EXPECT_EQ(s, expected);
  s = expected = SeedRandom(u"abc");
  PickSentence(twice, s, false);
  RandomBelow(expected, 2);
  EXPECT_EQ(s, expected);

  s = SeedRandom(u"abc");
  EXPECT_EQ(PickSentence({}, s, true), u"");
  EXPECT_EQ(s, SeedRandom(u"abc"));
}

TEST(Sentences, FixFirstSentenceTouchesOnlyTheFirst) {
  TSentenceList list = {u"Зато выходные принесут отдых.", u"Но вторая остаётся как была."};
  FixFirstSentence(list);
  EXPECT_EQ(list[0], u"Выходные принесут отдых.");
  EXPECT_EQ(list[1], u"Но вторая остаётся как была.");
  TSentenceList demonstrative = {u"Эта неделя будет важной для вас."};
  FixFirstSentence(demonstrative);
  EXPECT_EQ(demonstrative[0], u"Эта неделя будет важной для вас.");
}

}  // namespace velmora
