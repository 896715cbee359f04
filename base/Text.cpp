#include "base/Text.h"

#include <string>

namespace velmora {

std::u16string Trim(std::u16string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && text[b] <= 0x20) ++b;
  while (e > b && text[e - 1] <= 0x20) --e;
  return std::u16string(text.substr(b, e - b));
}

bool IsBlank(std::u16string_view text) {
  for (char16_t c : text)
    if (c > 0x20) return false;
  return true;
}

namespace {
char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }
}  // namespace

bool AsciiCaseEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
  std::vector<std::u16string_view> lines;
  std::size_t start = 0, i = 0;
  while (i < text.size()) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.push_back(text.substr(start, i - start));
      i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::u16string EscapeControlCharacters(std::u16string_view text) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c >= 0x20 && (c < 0x7F || c > 0x9F)) {
      out.push_back(c);
      continue;
    }
    out.append(u"\\u00");
    out.push_back(kHex[c >> 4]);
    out.push_back(kHex[c & 0x0F]);
  }
  return out;
}

std::u16string ToDecimal(long long value) {
  std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}

std::optional<std::int64_t> ParseDecimal(std::u16string_view text) {
  std::size_t i = 0;
  const bool negative = !text.empty() && text[0] == u'-';
  if (!text.empty() && (text[0] == u'+' || text[0] == u'-')) ++i;
  if (i == text.size()) return std::nullopt;
  // The magnitude is gathered unsigned and checked before each step, so that the most
  // negative number still fits and no step can wrap around.
  constexpr std::uint64_t kMagnitudeLimit = 9223372036854775808ULL;  // 2^63
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return std::nullopt;
    const auto digit = static_cast<std::uint64_t>(text[i] - u'0');
    if (value > (kMagnitudeLimit - digit) / 10) return std::nullopt;
    value = value * 10 + digit;
  }
  if (!negative && value == kMagnitudeLimit) return std::nullopt;
  return negative ? static_cast<std::int64_t>(0 - value) : static_cast<std::int64_t>(value);
}

}  // namespace velmora
