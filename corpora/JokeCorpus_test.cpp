// Structural checks of the embedded joke corpus: the record format, the weeks, the
// lengths, and the content rules a program can see (no calendar words or banned words,
// no joke twice or retold, no stock character in more than 2% of the product's jokes).
#include <gtest/gtest.h>

#include <map>

#include "astro/Sentences.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "corpora/ContentRules.h"
#include "corpora/CorpusRecords.h"
#include "jokes/JokeEmbeddedData.h"
#include "support/JsonLines.h"

namespace velmora {

namespace {

using testing::RuleWords;

// 223 consecutive Mondays, so that every week of the year has jokes from four or five
// years.
const TDate kFirstWeek = {2021, 12, 20};
constexpr int kWeeks = 223;

// A stock character may appear in 2% of the product's full corpus of 5104 jokes.
constexpr std::size_t kStockLimit = 5104 * 2 / 100;
// Two jokes sharing this many consecutive words retell one another.
constexpr std::size_t kSharedRun = 8;

std::u16string AsciiLower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}

}  // namespace

TEST(JokeCorpus, Records) {
  const std::vector<std::u16string> keys = {u"content_type", u"week_start",  u"number_in_file",
                                            u"text",         u"source_file", u"root"};
  std::map<std::u16string, int> weeks;
  for (int w = 0; w < kWeeks; ++w) weeks.emplace(FormatIsoDate(AddDays(kFirstWeek, 7 * w)), 0);
  const auto calendar = testing::ReadRuleList("calendar_stems.txt");
  const auto banned = testing::ReadRuleList("joke_banned.txt");
  std::string problem;
  const auto lines = testing::CorpusLines(JokeCorpusText(), &problem);
  EXPECT_EQ(problem, "");
  std::map<std::u16string, std::size_t> textLine;
  std::size_t usualLength = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    SCOPED_TRACE("joke line " + std::to_string(i + 1));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys, u"number_in_file"), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"joke");
    const std::u16string week = JsonField(line, u"week_start");
    ASSERT_TRUE(weeks.contains(week)) << "a week outside the corpus's weeks: " << Utf16ToUtf8(week);
    const std::u16string number = u"\"number_in_file\": " + ToDecimal(++weeks[week]) + u",";
    EXPECT_NE(line.find(number), std::u16string::npos) << "jokes are numbered 1, 2, … within their week";
    const std::u16string text = JsonField(line, u"text");
    EXPECT_EQ(testing::TextProblem(text), "");
    EXPECT_GE(text.size(), 15u);
    EXPECT_LE(text.size(), 2275u);
    usualLength += text.size() >= 60 && text.size() <= 400;
    EXPECT_EQ(NormalizeText(text), text);
    const auto words = RuleWords(text);
    for (const auto* list : {&calendar, &banned})
      if (const auto* e = testing::FirstFound(words, *list))
        ADD_FAILURE() << "a word out of place: " << testing::EntryText(*e);
    auto [it, fresh] = textLine.emplace(AsciiLower(text), i + 1);
    EXPECT_TRUE(fresh) << "the same joke as line " << it->second;
  }
  for (const auto& [week, count] : weeks) {
    EXPECT_GE(count, 1) << Utf16ToUtf8(week);
    EXPECT_LE(count, 36) << Utf16ToUtf8(week);
  }
  EXPECT_GE(usualLength * 4, lines.size() * 3) << "most jokes are 60 to 400 characters long";
  EXPECT_EQ(static_cast<std::size_t>(JokeCorpusRecordCount), lines.size());
  EXPECT_EQ(lines.size(), 5104u) << "the product's full corpus";
}

TEST(JokeCorpus, NoJokeRetellsAnother) {
  std::string problem;
  const auto lines = testing::CorpusLines(JokeCorpusText(), &problem);
  testing::TCopyFinder runs, punchlines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const long long line = static_cast<long long>(i + 1);
    const std::u16string text = JsonField(lines[i], u"text");
    const long long shared = runs.AddShingles(RuleWords(text), kSharedRun, line);
    EXPECT_LT(shared, 0) << "joke line " << line << " shares " << kSharedRun << " words in a row with line " << shared;
    const auto sentences = SplitSentences(text);
    const auto last = sentences.empty() ? std::vector<std::u16string>() : RuleWords(sentences.back());
    if (last.size() >= 3) {
      std::u16string key;
      for (const auto& w : last) key += w + u' ';
      const long long same = punchlines.AddExact(key, line);
      EXPECT_LT(same, 0) << "joke line " << line << " ends as line " << same << ": " << Utf16ToUtf8(sentences.back());
    }
  }
}

TEST(JokeCorpus, StockCharactersStayRare) {
  const auto stock = testing::ReadNamedForms("stock_characters.txt");
  std::map<std::u16string, std::size_t> jokes;
  std::string problem;
  for (const auto& line : testing::CorpusLines(JokeCorpusText(), &problem)) {
    const auto words = RuleWords(JsonField(line, u"text"));
    for (const auto& [name, forms] : stock)
      if (testing::FirstFound(words, forms)) ++jokes[name];
  }
  for (const auto& [name, count] : jokes)
    EXPECT_LE(count, kStockLimit) << "'" << Utf16ToUtf8(name) << "' appears in " << count << " jokes";
}

}  // namespace velmora
