// Structural checks of the embedded weekly and daily corpora: the record format, the
// weeks and names covered, the shape of every text, and the content rules a program can
// see (no calendar words, no sentence leaning on the one before, only the text's own
// sign and day, no sentence used twice or nearly twice, varied openings).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "astro/AstroCompose.h"
#include "astro/AstroEmbeddedData.h"
#include "astro/AstroTables.h"
#include "astro/Sentences.h"
#include "base/Utf.h"
#include "corpora/ContentRules.h"
#include "corpora/CorpusRecords.h"
#include "platform/Platform.h"
#include "support/JsonLines.h"

namespace velmora {

namespace {

using testing::RuleWords;
using testing::TRuleEntry;

// The corpora's weeks: 274 consecutive Mondays, so that every week of the year has
// texts from five or six years.
const TDate kFirstWeek = {2021, 4, 19};
constexpr int kWeeks = 274;

// Weeks with fewer than seven daily forecasts, and the days they lack.
struct TShortWeek {
  TDate Week;
  std::vector<std::u16string> Missing;
};
const std::vector<TShortWeek> kShortWeeks = {
    {{2021, 5, 17}, {u"Понедельник", u"Четверг"}},
    {{2021, 7, 26}, {u"Среда", u"Суббота"}},
    {{2021, 10, 4}, {u"Понедельник", u"Пятница"}},
    {{2021, 12, 13}, {u"Среда", u"Воскресенье"}},
    {{2022, 2, 21}, {u"Суббота"}},
    {{2022, 5, 2}, {u"Вторник"}},
    {{2022, 7, 11}, {u"Пятница"}},
    {{2022, 9, 19}, {u"Понедельник"}},
    {{2022, 11, 28}, {u"Четверг"}},
    {{2023, 2, 6}, {u"Воскресенье"}},
    {{2023, 4, 17}, {u"Среда"}},
    {{2023, 6, 26}, {u"Суббота"}},
    {{2023, 9, 4}, {u"Вторник"}},
    {{2023, 11, 13}, {u"Пятница"}},
    {{2024, 1, 22}, {u"Понедельник"}},
    {{2024, 4, 1}, {u"Четверг"}},
    {{2024, 6, 10}, {u"Воскресенье"}},
    {{2024, 8, 19}, {u"Среда"}},
    {{2024, 10, 28}, {u"Суббота"}},
    {{2026, 1, 5}, {u"Вторник"}},
    {{2026, 3, 16}, {u"Пятница"}},
    {{2026, 5, 25}, {u"Понедельник"}},
};

std::map<std::u16string, int> CorpusWeeks() {
  std::map<std::u16string, int> weeks;
  for (int w = 0; w < kWeeks; ++w) weeks.emplace(FormatIsoDate(AddDays(kFirstWeek, 7 * w)), 0);
  return weeks;
}

std::vector<std::u16string> DaysOfWeek(const std::u16string& iso) {
  std::vector<std::u16string> days(std::begin(DayNames), std::end(DayNames));
  for (const auto& s : kShortWeeks)
    if (FormatIsoDate(s.Week) == iso)
      for (const auto& m : s.Missing) days.erase(std::find(days.begin(), days.end(), m));
  return days;
}

int IndexOf(const char16_t* const* table, int size, const std::u16string& name) {
  for (int i = 0; i < size; ++i)
    if (name == table[i]) return i;
  return -1;
}

// Every terminator must end a sentence the generator keeps: a piece of 25 characters or
// fewer (an abbreviation, a decimal, an ellipsis) would be lost or cut.
std::string SentenceShapeProblem(const std::u16string& body) {
  std::size_t terminators = 0;
  for (char16_t c : body) terminators += (c == u'.' || c == u'!' || c == u'?');
  if (SplitSentences(body).size() != terminators) return "a piece too short to stand as a sentence";
  if (!body.empty() && body.back() != u'.' && body.back() != u'!' && body.back() != u'?') return "no final stop";
  return {};
}

std::u16string FirstWord(const std::u16string& sentence) {
  const auto words = RuleWords(sentence);
  return words.empty() ? u"" : words.front();
}

// What the content rules say of one text's body, or an empty string.
struct TAstroRules {
  std::vector<TRuleEntry> Calendar = testing::ReadRuleList("calendar_stems.txt");
  std::vector<TRuleEntry> AstroCalendar = testing::ReadRuleList("astro_calendar_stems.txt");
  std::vector<TRuleEntry> Openings = testing::ReadRuleList("openings.txt");
  std::map<std::u16string, std::vector<TRuleEntry>> Signs = testing::ReadNamedForms("signs.txt");
  std::map<std::u16string, std::vector<TRuleEntry>> Weekdays = testing::ReadNamedForms("weekdays.txt");

  // ownSign: the only sign a weekly text may name (empty for daily texts); ownDay: the
  // only weekday the text may name (empty for weekly texts: they name none).
  std::string Problem(const std::u16string& body, const std::u16string& ownSign, const std::u16string& ownDay) const {
    const auto words = RuleWords(body);
    for (const auto* list : {&Calendar, &AstroCalendar})
      if (const TRuleEntry* e = testing::FirstFound(words, *list)) return "a calendar word: " + testing::EntryText(*e);
    if (!ownSign.empty())
      for (const auto& [sign, forms] : Signs)
        if (sign != ownSign && testing::FirstFound(words, forms)) return "another sign: " + Utf16ToUtf8(sign);
    for (const auto& [day, forms] : Weekdays)
      if (day != ownDay && testing::FirstFound(words, forms)) return "a weekday: " + Utf16ToUtf8(day);
    if (body.find_first_of(u"0123456789") != std::u16string::npos) return "a digit";
    for (const auto& sentence : SplitSentences(body)) {
      const auto first = RuleWords(sentence);
      for (const auto& e : Openings)
        if (testing::EntryAtStart(first, e)) return "opens with '" + testing::EntryText(e) + "'";
      if (IsDependentSentence(sentence)) return "a dependent opening";
    }
    return {};
  }
};

const TAstroRules& Rules() {
  static const TAstroRules rules;
  return rules;
}

// Where a sentence was found, for messages: weekly records keep their line number,
// daily ones are offset past any weekly line.
constexpr long long kDailyTag = 1000000;

std::string RecordName(long long tag) {
  return tag >= kDailyTag ? "daily line " + std::to_string(tag - kDailyTag) : "weekly line " + std::to_string(tag);
}

void ExpectVariedOpenings(const std::vector<std::u16string>& sentences, const char* corpus) {
  std::map<std::u16string, std::size_t> openings;
  for (const auto& s : sentences) ++openings[FirstWord(s)];
  for (const auto& [word, count] : openings)
    EXPECT_LE(count * 50, sentences.size()) << corpus << ": '" << Utf16ToUtf8(word) << "' opens " << count << " of "
                                            << sentences.size() << " sentences (at most 2%)";
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
  const std::vector<std::u16string> keys = {u"content_type", u"week_start", u"sign",        u"good_day",
                                            u"bad_day",      u"text",       u"source_file", u"root"};
  std::vector<std::u16string> lowerDays;
  for (const char16_t* d : DayNames) lowerDays.push_back(LowerText(d));
  auto weeks = CorpusWeeks();
  std::set<std::pair<std::u16string, int>> seen;
  std::size_t records = 0;
  ForEachLine(WeeklyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    ++records;
    SCOPED_TRACE("weekly line " + std::to_string(n));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"astro_weekly");
    const std::u16string week = JsonField(line, u"week_start");
    ASSERT_TRUE(weeks.contains(week)) << "a week outside the corpus's weeks: " << Utf16ToUtf8(week);
    const std::u16string sign = JsonField(line, u"sign");
    const int s = IndexOf(SignNames, 12, sign);
    ASSERT_GE(s, 0);
    EXPECT_TRUE(seen.emplace(week, s).second) << "a second record of this sign and week";
    ++weeks[week];
    const std::u16string good = JsonField(line, u"good_day"), bad = JsonField(line, u"bad_day");
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
    EXPECT_EQ(SentenceShapeProblem(body), "");
    const auto sentences = SplitSentences(body);
    EXPECT_GE(sentences.size(), 4u);
    EXPECT_LE(sentences.size(), 5u);
    EXPECT_EQ(Rules().Problem(body, sign, u""), "");
  });
  for (const auto& [week, signs] : weeks) EXPECT_EQ(signs, 12) << Utf16ToUtf8(week);
  EXPECT_EQ(records, 3288u) << "twelve signs in each of the weeks";
}

TEST(AstroCorpus, DailyRecords) {
  const std::vector<std::u16string> keys = {u"content_type", u"week_start", u"day", u"text", u"source_file", u"root"};
  std::map<std::u16string, std::vector<std::u16string>> days;
  for (const auto& [week, unused] : CorpusWeeks()) days[week];
  std::size_t texts = 0, threeSentences = 0;
  ForEachLine(DailyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    SCOPED_TRACE("daily line " + std::to_string(n));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"astro_daily");
    const std::u16string week = JsonField(line, u"week_start");
    ASSERT_TRUE(days.contains(week)) << "a week outside the corpus's weeks: " << Utf16ToUtf8(week);
    const std::u16string day = JsonField(line, u"day");
    ASSERT_GE(IndexOf(DayNames, 7, day), 0);
    days[week].push_back(day);
    const std::u16string text = JsonField(line, u"text");
    EXPECT_EQ(testing::TextProblem(text), "");
    EXPECT_GE(text.size(), 111u);
    EXPECT_LE(text.size(), 627u);
    EXPECT_EQ(text.find(u"Благоприятный день"), std::u16string::npos);
    EXPECT_EQ(SentenceShapeProblem(text), "");
    const auto sentences = SplitSentences(text);
    EXPECT_GE(sentences.size(), 2u);
    EXPECT_LE(sentences.size(), 4u);
    ++texts;
    threeSentences += sentences.size() == 3;
    EXPECT_EQ(Rules().Problem(text, u"", day), "");
  });
  for (const auto& [week, named] : days)
    EXPECT_EQ(named, DaysOfWeek(week)) << "the forecasts of " << Utf16ToUtf8(week) << ", Monday first";
  EXPECT_GE(threeSentences * 2, texts) << "most forecasts have three sentences";
  EXPECT_EQ(texts, 1892u) << "seven forecasts a week but in the short weeks";
}

TEST(AstroCorpus, SentencesAreDistinctAndOpenVariedly) {
  testing::TCopyFinder copies;
  std::vector<std::u16string> weekly, daily;
  const auto add = [&](const std::u16string& sentence, long long tag) {
    const long long exact = copies.AddExact(sentence, tag);
    EXPECT_LT(exact, 0) << RecordName(tag) << " repeats a sentence of " << RecordName(exact) << ": "
                        << Utf16ToUtf8(sentence);
    const long long near = copies.AddNear(RuleWords(sentence), tag);
    if (exact < 0) {
      EXPECT_LT(near, 0) << RecordName(tag) << " nearly copies a sentence of " << RecordName(near) << ": "
                         << Utf16ToUtf8(sentence);
    }
  };
  ForEachLine(WeeklyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    for (const auto& s : SplitSentences(CutDaySentence(StripSignHeader(JsonField(line, u"text"))))) {
      add(s, static_cast<long long>(n));
      weekly.push_back(s);
    }
  });
  ForEachLine(DailyCorpusText(), [&](std::size_t n, const std::u16string& line) {
    for (const auto& s : SplitSentences(JsonField(line, u"text"))) {
      add(s, kDailyTag + static_cast<long long>(n));
      daily.push_back(s);
    }
  });
  ExpectVariedOpenings(weekly, "weekly");
  ExpectVariedOpenings(daily, "daily");
}

}  // namespace velmora
