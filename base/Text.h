// Small pure text helpers that every layer may use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// Removes every character up to U+0020 at both ends, and nothing else.
std::u16string Trim(std::u16string_view text);
// True when the text is empty after Trim.
bool IsBlank(std::u16string_view text);

// Equality in which only the Latin letters A-Z and a-z match regardless of case.
bool AsciiCaseEqual(std::u16string_view a, std::u16string_view b);

// Splits at CR LF, lone CR and lone LF; a break at the very end adds no empty line.
std::vector<std::u16string_view> SplitLines(std::u16string_view text);

// The text with every control character (U+0000 to U+001F, U+007F to U+009F) written
// as a backslash, "u" and four upper-case hexadecimal digits, as a JSON string would
// hold it: a message shown in one piece, never cut at a NUL nor broken across lines.
std::u16string EscapeControlCharacters(std::u16string_view text);

// Decimal text of a signed 64-bit number.
std::u16string ToDecimal(long long value);

// The number written in text: an optional "+" or "-", then one or more ASCII digits
// and nothing else (no blanks). nullopt for any other text and for a number outside
// the signed 64-bit range. Callers narrow the range and choose their own fallback.
std::optional<std::int64_t> ParseDecimal(std::u16string_view text);

}  // namespace velmora
