// Structural checks of the embedded weekly and daily corpora: the record format, the
// weeks and names covered, the shape of every text, and no sentence used twice.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "astro/AstroCompose.h"
#include "astro/AstroEmbeddedData.h"
#include "astro/AstroTables.h"
#include "astro/Sentences.h"
#include "corpora/CorpusRecords.h"
#include "support/CaseMap.h"
#include "support/JsonLines.h"
#include "support/Utf.h"

namespace velmora {

namespace {

const TDate kFirstWeek{2025, 1, 6};
constexpr int kWeeks = 52;

int IndexOf(const char16_t* const* table, int size, const std::u16string& name) {
  for (int i = 0; i < size; ++i)
    if (name == table[i]) return i;
  return -1;
}

bool IsCoveredMonday(const std::u16string& iso, int* week) {
  for (int w = 0; w < kWeeks; ++w) {
    if (FormatIsoDate(AddDays(kFirstWeek, 7 * w)) == iso) {
      *week = w;
      return true;
    }
  }
  return false;
}

// Every terminator must end a sentence the generator keeps: a piece of 25 characters or
// fewer (an abbreviation, a decimal, an ellipsis) would be lost or cut.
std::string SentenceShapeProblem(const std::u16string& body, std::size_t* count) {
  const auto sentences = SplitSentences(body);
  std::size_t terminators = 0;
  for (char16_t c : body) terminators += (c == u'.' || c == u'!' || c == u'?');
  *count = sentences.size();
  if (sentences.size() != terminators) return "a piece too short to stand as a sentence";
  if (!body.empty() && body.back() != u'.' && body.back() != u'!' && body.back() != u'?') return "no final stop";
  return {};
}

template <typename Check>
void ForEachLine(const std::u16string& text, Check check) {
  std::string problem;
  const auto lines = testing::CorpusLines(text, &problem);
  EXPECT_EQ(problem, "");
  for (std::size_t i = 0; i < lines.size(); ++i) check(i + 1, lines[i]);
}

}  // namespace

TEST(AstroCorpus, WeeklyRecords) {
  const std::vector<std::u16string> keys = {u"content_type", u"week_start", u"sign", u"good_day",
                                            u"bad_day",      u"text",       u"source_file", u"root"};
  std::set<std::pair<int, int>> seen;
  std::map<std::u16string, std::size_t> sentenceLine;
  ForEachLine(WeeklyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    SCOPED_TRACE("weekly line " + std::to_string(n));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"astro_weekly");
    int week = -1;
    ASSERT_TRUE(IsCoveredMonday(JsonField(line, u"week_start"), &week));
    const std::u16string sign = JsonField(line, u"sign");
    const int s = IndexOf(SignNames, 12, sign);
    ASSERT_GE(s, 0);
    EXPECT_TRUE(seen.emplace(week, s).second) << "a second record of this sign and week";
    const std::u16string good = JsonField(line, u"good_day"), bad = JsonField(line, u"bad_day");
    std::vector<std::u16string> lowerDays;
    for (const char16_t* d : DayNames) lowerDays.push_back(LowerText(d));
    EXPECT_NE(std::find(lowerDays.begin(), lowerDays.end(), good), lowerDays.end());
    EXPECT_NE(std::find(lowerDays.begin(), lowerDays.end(), bad), lowerDays.end());
    EXPECT_NE(good, bad);

    const std::u16string text = JsonField(line, u"text");
    EXPECT_EQ(testing::TextProblem(text), "");
    EXPECT_GE(text.size(), 232u);
    EXPECT_LE(text.size(), 627u);
    EXPECT_TRUE(text.starts_with(std::u16string(SignHeaders[s]) + u" "));
    const std::u16string closing = u" Благоприятный день - " + good + u", неблагоприятный день - " + bad + u".";
    EXPECT_TRUE(text.ends_with(closing));
    const std::u16string body = CutDaySentence(StripSignHeader(text));
    EXPECT_EQ(StripSignHeader(text).size() - body.size(), closing.size()) << "the day sentence must close the text";
    std::size_t count = 0;
    EXPECT_EQ(SentenceShapeProblem(body, &count), "");
    EXPECT_GE(count, 4u);
    EXPECT_LE(count, 6u);
    EXPECT_FALSE(IsDependentSentence(SplitSentences(body).front())) << "the first sentence leans on nothing";
    for (const auto& sentence : SplitSentences(body)) {
      auto [it, fresh] = sentenceLine.emplace(sentence, n);
      EXPECT_TRUE(fresh) << "sentence also on line " << it->second << ": " << Utf16ToUtf8(sentence);
    }
  });
  EXPECT_EQ(seen.size(), 12u * kWeeks);
}

TEST(AstroCorpus, DailyRecords) {
  const std::vector<std::u16string> keys = {u"content_type", u"week_start", u"day", u"text", u"source_file",
                                            u"root"};
  std::set<std::pair<int, int>> seen;
  std::map<std::u16string, std::size_t> sentenceLine;
  ForEachLine(DailyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    SCOPED_TRACE("daily line " + std::to_string(n));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"astro_daily");
    int week = -1;
    ASSERT_TRUE(IsCoveredMonday(JsonField(line, u"week_start"), &week));
    const int d = IndexOf(DayNames, 7, JsonField(line, u"day"));
    ASSERT_GE(d, 0);
    EXPECT_TRUE(seen.emplace(week, d).second);
    const std::u16string text = JsonField(line, u"text");
    EXPECT_EQ(testing::TextProblem(text), "");
    EXPECT_GE(text.size(), 111u);
    EXPECT_LE(text.size(), 627u);
    EXPECT_EQ(text.find(u"Благоприятный день"), std::u16string::npos);
    std::size_t count = 0;
    EXPECT_EQ(SentenceShapeProblem(text, &count), "");
    EXPECT_GE(count, 2u);
    EXPECT_LE(count, 5u);
    EXPECT_FALSE(IsDependentSentence(SplitSentences(text).front()));
    for (const auto& sentence : SplitSentences(text)) {
      auto [it, fresh] = sentenceLine.emplace(sentence, n);
      EXPECT_TRUE(fresh) << "sentence also on line " << it->second << ": " << Utf16ToUtf8(sentence);
    }
  });
  EXPECT_EQ(seen.size(), 7u * kWeeks);
}

}  // namespace velmora
