// Structural checks of the embedded joke corpus.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "corpora/CorpusRecords.h"
#include "jokes/JokeEmbeddedData.h"
#include "support/JsonLines.h"
#include "support/Text.h"
#include "support/Utf.h"

namespace velmora {

namespace {
std::u16string AsciiLower(std::u16string s) {
  for (char16_t& c : s)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  return s;
}
}  // namespace

TEST(JokeCorpus, Records) {
  const std::vector<std::u16string> keys = {u"content_type", u"week_start", u"number_in_file", u"text",
                                            u"source_file",  u"root"};
  std::string problem;
  const auto lines = testing::CorpusLines(JokeCorpusText(), &problem);
  EXPECT_EQ(problem, "");
  std::map<std::u16string, std::size_t> textLine;
  std::set<std::u16string> weeks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto& line = lines[i];
    SCOPED_TRACE("joke line " + std::to_string(i + 1));
    EXPECT_EQ(testing::RecordFormatProblem(line, keys, u"number_in_file"), "");
    EXPECT_EQ(JsonField(line, u"content_type"), u"joke");
    const std::u16string iso = JsonField(line, u"week_start");
    const TDate week = ParseIsoDate(iso);
    EXPECT_EQ(FormatIsoDate(week), iso);
    EXPECT_EQ(IsoWeekday(week), 1);
    EXPECT_TRUE(week.Year == 2024 || week.Year == 2025);
    weeks.insert(iso);
    const std::u16string text = JsonField(line, u"text");
    EXPECT_EQ(testing::TextProblem(text), "");
    EXPECT_GE(text.size(), 15u);
    EXPECT_LE(text.size(), 2275u);
    EXPECT_EQ(NormalizeText(text), text);
    auto [it, fresh] = textLine.emplace(AsciiLower(text), i + 1);
    EXPECT_TRUE(fresh) << "the same joke as line " << it->second;
  }
  EXPECT_GE(lines.size(), 600u);
  EXPECT_EQ(static_cast<std::size_t>(JokeCorpusRecordCount), lines.size());
  EXPECT_GE(weeks.size(), 52u);
}

}  // namespace velmora
