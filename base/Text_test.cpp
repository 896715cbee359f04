#include "base/Text.h"

#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Utf.h"

namespace velmora {

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

// The one decimal reader behind the date fields, the settings, the joke count and the
// CLI's week count: a sign, digits and nothing else, within the signed 64-bit range.
TEST(Text, ParseDecimalTakesSignedDigitsOnly) {
  using R = std::optional<std::int64_t>;
  struct Case {
    const char16_t* Text;
    R Value;
  } cases[] = {
      {u"0", 0},
      {u"007", 7},
      {u"+12", 12},
      {u"-12", -12},
      {u"-0", 0},
      {u"9223372036854775807", INT64_MAX},
      {u"-9223372036854775808", INT64_MIN},
      {u"9223372036854775808", {}},
      {u"-9223372036854775809", {}},
      {u"92233720368547758081", {}},  // one digit more would wrap an unchecked step around
      {u"18446744073709551617", {}},
      {u"", {}},
      {u"+", {}},
      {u"-", {}},
      {u" 1", {}},
      {u"1 ", {}},
      {u"1a", {}},
      {u"+-1", {}},
      {u"1.5", {}},
      {u"\u0661", {}},  // an Arabic-Indic digit is not an ASCII digit
  };
  for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.Text), c.Value) << Utf16ToUtf8(c.Text);
}

TEST(Utf, InvalidBytesBecomeReplacementCharacters) {
  // A hexadecimal escape would run on into a following "b", so it is written "\x62".
  EXPECT_EQ(Utf8ToUtf16("a\xff\x62"), u"a\ufffdb");
  EXPECT_EQ(Utf8ToUtf16("\xd0"), u"\ufffd");            // truncated sequence
  EXPECT_EQ(Utf8ToUtf16("\xd0x"), u"\ufffdx");          // the next byte is kept
  EXPECT_EQ(Utf8ToUtf16("\xc0\xaf"), u"\ufffd\ufffd");  // overlong
  EXPECT_EQ(Utf8ToUtf16("\xed\xa0\x80"), u"\ufffd");    // encoded surrogate
  const std::u16string text = u"Привет, \U0001F600 мир";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
}

}  // namespace velmora
