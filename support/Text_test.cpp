#include "support/Text.h"

#include <gtest/gtest.h>

#include "support/CaseMap.h"
#include "support/Error.h"
#include "support/Utf.h"

namespace velmora {

TEST(Text, NormalizeText) {
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
      {u"a\x1e" u"b", u"a\r\n\r\nb"},  // an existing marker becomes a paragraph break
  };
  for (const auto& c : cases) EXPECT_EQ(NormalizeText(c.In), c.Out) << Utf16ToUtf8(c.In);
}

TEST(Text, TrimRemovesControlCharactersAndBlanksOnly) {
  EXPECT_EQ(Trim(u"\x01\t x y \r\n"), u"x y");
  EXPECT_EQ(Trim(u"\u00a0x\u00a0"), u"\u00a0x\u00a0");  // no-break spaces are not trimmed
}

TEST(Text, AsciiCaseEqualIgnoresLatinCaseOnly) {
  EXPECT_TRUE(AsciiCaseEqual(u"Hello Мир", u"hELLO Мир"));
  EXPECT_FALSE(AsciiCaseEqual(u"Мир", u"мир"));
  EXPECT_FALSE(AsciiCaseEqual(u"abc", u"abcd"));
}

TEST(Text, SplitLinesAtEveryKindOfBreak) {
  auto lines = SplitLines(u"a\r\nb\rc\nd\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], u"a");
  EXPECT_EQ(lines[1], u"b");
  EXPECT_EQ(lines[2], u"c");
  EXPECT_EQ(lines[3], u"d");
  EXPECT_EQ(SplitLines(u"x\n\ny").size(), 3u);
  EXPECT_TRUE(SplitLines(u"").empty());
}

// An error message keeps every character it was given: control characters come out
// escaped, both as UTF-16 and through what(). As found: a NUL cut "'0\0' is not a
// valid integer value" down to "'0".
TEST(Text, ErrorMessagesShowControlCharactersEscaped) {
  using namespace std::string_literals;
  struct Case {
    std::u16string Message;
    const char16_t* Shown;
  } cases[] = {
      {u"'0\0' is not a valid integer value"s, u"'0\\u0000' is not a valid integer value"},
      {u"a\x1b[2Jb\x7f"s, u"a\\u001B[2Jb\\u007F"},
      {u"line\r\nnext\ttab\u0085"s, u"line\\u000D\\u000Anext\\u0009tab\\u0085"},
      {u"Ошибка \u00a0пути C:\\Temp \U0001F600"s, u"Ошибка \u00a0пути C:\\Temp \U0001F600"},
  };
  for (const auto& c : cases) {
    const TError e(TErrorKind::Conversion, c.Message);
    EXPECT_EQ(e.Message(), c.Shown);
    EXPECT_EQ(std::string(e.what()), Utf16ToUtf8(c.Shown));
    EXPECT_EQ(EscapeControlCharacters(c.Message), c.Shown);
  }
}

TEST(Text, CaseMappingCoversCyrillic) {
  EXPECT_EQ(CapitalizeFirst(u"воскресенье"), u"Воскресенье");
  EXPECT_EQ(LowerText(u"ПОНЕДЕЛЬНИК Ёж"), u"понедельник ёж");
  EXPECT_EQ(CapitalizeFirst(u""), u"");
}

TEST(Utf, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xff" "b"), u"a\ufffd" u"b");
  EXPECT_EQ(Utf8ToUtf16("\xd0"), u"\ufffd");               // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xd0x"), u"\ufffd" u"x");         // the next byte is kept
  EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\ufffd\ufffd");     // overlong
  EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"\ufffd");       // encoded surrogate
  const std::u16string text = u"Привет, \U0001F600 мир";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
}

}  // namespace velmora
