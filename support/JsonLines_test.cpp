#include "support/JsonLines.h"

#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "platform/Platform.h"
#include "testing/TempFolder.h"

namespace velmora {

TEST(JsonLines, NormalizeTextOfRecords) {
  struct Case {
    const char16_t* In;
    const char16_t* Out;
  } cases[] = {
      {u"один\r\nдва", u"один два"},
      {u"один\n\n\n\nдва", u"один\r\n\r\nдва"},
      {u"  а   б  ", u"а б"},
      {u"", u""},
      {u" \t \r\n ", u""},
      {u"a\rb", u"a b"},
      {u"a\n\nb\n\n\nc", u"a\r\n\r\nb\r\n\r\nc"},
      {u"a \n\n b", u"a \r\n\r\n b"},  // spaces next to a paragraph break stay
      {u"a\tb", u"a\tb"},              // tabs inside stay
      {u"a\x1e"
       u"b",
       u"a\r\n\r\nb"},  // an existing marker becomes a paragraph break
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeText(c.In), c.Out) << Utf16ToUtf8(c.In);
}

TEST(JsonLines, JsonFieldCases) {
  struct Case {
    const char16_t* Line;
    const char16_t* Key;
    const char16_t* Value;
  } cases[] = {
      {u"{\"text\": \"a \\\"q\\\" b\"}", u"text", u"a \"q\" b"},  // escaped quotes do not end the value
      {u"{\"text\":\t  \"x\"}", u"text", u"x"},                   // blanks and tabs after the colon
      {u"{\"number_in_file\": 12}", u"number_in_file", u""},      // a number reads as empty
      {u"{\"a\": \"1\", \"a\": \"2\"}", u"a", u"1"},              // the first occurrence wins
      {u"{\"text\": \"runs to the end", u"text", u"runs to the end"},
      {u"{\"text\": \"trailing\\", u"text", u"trailing"},  // a lone final backslash is dropped
      {u"{\"x\": \"say \\\"sign\\\": no\", \"sign\": \"Овен\"}", u"sign", u"Овен"},
      {u"{\"text\" \"no colon\"}", u"text", u""},
      {u"{\"text\": null}", u"text", u""},
      {u"{\"Text\": \"case\"}", u"text", u""},  // key search is case-sensitive
      {u"{\"text\": \"\"}", u"text", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonField(c.Line, c.Key), c.Value) << Utf16ToUtf8(c.Line);
}

TEST(JsonLines, JsonUnescapeCases) {
  struct Case {
    const char16_t* Raw;
    const char16_t* Out;
  } cases[] = {
      {u"\\u0041", u"A"},
      {u"\\u00e9", u"\u00e9"},
      {u"\\uZZ12", u"ZZ12"},
      {u"\\u41", u"A"},  // fewer than four characters at the end
      {u"\\ud83d\\ude00", u"\U0001F600"},
      {u"a\\nb", u"a\r\nb"},
      {u"\\r\\t\\b\\f\\/\\\\\\\"", u"\r\t\b\f/\\\""},
      {u"\\q", u"q"},
      {u"end\\", u"end\\"},
      {u"\\u", u""},
  };
  for (const auto& c : cases) EXPECT_EQ(JsonUnescape(c.Raw), c.Out) << Utf16ToUtf8(c.Raw);
}

TEST(JsonLines, ReadersKeepDropAndNormalize) {
  const std::u16string text =
      u"\ufeff{\"week_start\": \"2024-01-01\", \"sign\": \"Овен\", \"text\": \"один\\nдва\\n\\nтри\"}\r\n"
      u"   \t  \n"
      u"{\"week_start\": \"2024-01-08\", \"sign\": \"Овен\", \"text\": \"\"}\n"
      u"{\"week_start\": \"2024-01-15\", \"day\": \"Среда\", \"text\": \"ежедневный\"}\r"
      u"{\"week_start\": \"2024-01-03\", \"sign\": \"Телец\", \"text\": \"x\"}";
  auto weekly = ParseWeeklyItems(text);
  ASSERT_EQ(weekly.size(), 2u);
  EXPECT_EQ(weekly[0].Text, u"один два\r\n\r\nтри");
  EXPECT_EQ(weekly[0].WeekStart, (TDate{2024, 1, 1}));
  EXPECT_EQ(weekly[1].Sign, u"Телец");
  EXPECT_EQ(weekly[1].WeekStart, (TDate{2024, 1, 3}));  // not a Monday: kept as it is
  auto daily = ParseDailyItems(text);
  ASSERT_EQ(daily.size(), 1u);
  EXPECT_EQ(daily[0].DayName, u"Среда");
  EXPECT_EQ(ParseJokeItems(text).size(), 3u);
}

TEST(JsonLines, AMissingOrBadDateStopsTheWholeReading) {
  struct Case {
    const char16_t* Line;
    const char* Message;
  } cases[] = {
      {u"{}", "'' is not a valid integer value"},
      {u"{\"week_start\": 20240101, \"text\": \"x\"}", "'' is not a valid integer value"},
      {u"{\"week_start\": \"2023-02-29\", \"text\": \"x\"}", "Invalid argument to date encode"},
  };
  for (const auto& c : cases) {
    std::u16string text = u"{\"week_start\": \"2024-01-01\", \"text\": \"ok\"}\n" + std::u16string(c.Line);
    try {
      ParseJokeItems(text);
      ADD_FAILURE() << "no error for " << Utf16ToUtf8(c.Line);
    } catch (const TError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
  EXPECT_TRUE(ParseJokeItems(u"").empty());
  EXPECT_TRUE(ParseJokeItems(u"\n  \n\t\n").empty());
}

// A byte-order mark at the start of a file never makes its first line non-blank; before,
// a mark on a line of its own stopped the reading with "'' is not a valid integer value".
TEST(JsonLines, AByteOrderMarkOnABlankFirstLineIsSkipped) {
  const std::u16string records =
      u"{\"week_start\": \"2024-01-01\", \"sign\": \"Овен\", \"day\": \"Среда\", \"text\": \"текст\"}\n"
      u"{\"week_start\": \"2024-01-08\", \"text\": \"без знака и дня\"}\n";
  for (const char16_t* first : {u"\ufeff\n", u"\ufeff\r\n", u"\ufeff \t\r", u"\ufeff", u"\ufeff\n\n"}) {
    const std::u16string marked = first + records;
    SCOPED_TRACE(Utf16ToUtf8(marked.substr(0, 4)));
    ASSERT_NO_THROW(ParseWeeklyItems(marked));
    EXPECT_EQ(ParseWeeklyItems(marked).size(), 1u);
    EXPECT_EQ(ParseDailyItems(marked).size(), 1u);
    ASSERT_EQ(ParseJokeItems(marked).size(), 2u);
    EXPECT_EQ(ParseJokeItems(marked)[1].Text, u"без знака и дня");
    EXPECT_EQ(CorpusLines(marked).size(), SplitLines(marked).size()) << "line numbers stay as they were";
  }
  // Only the very first character is a mark: one further in is text as before.
  EXPECT_THROW(ParseJokeItems(u"\ufeff\ufeff\n" + records), TError);
  EXPECT_THROW(ParseJokeItems(records + u"\ufeff\n"), TError);
  EXPECT_TRUE(ParseJokeItems(u"\ufeff").empty());
}

TEST(JsonLines, ReadUtf8FileKeepsTheByteOrderMarkAndReplacesBadBytes) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  testing::WriteBytes(folder / u"f.jsonl", "\xEF\xBB\xBF{\"week_start\": \"2024-01-01\", \"text\": \"a\xff\"}\n");
  std::u16string text = ReadUtf8File(*platform, folder / u"f.jsonl");
  EXPECT_EQ(text[0], u'\ufeff');
  auto jokes = ParseJokeItems(text);
  ASSERT_EQ(jokes.size(), 1u);
  EXPECT_EQ(jokes[0].Text, u"a\ufffd");
}

}  // namespace velmora
