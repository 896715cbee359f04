#include "support/Text.h"

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

// One left-to-right pass replacing every non-overlapping occurrence of `from`.
std::u16string ReplaceAll(const std::u16string& text, std::u16string_view from, std::u16string_view to) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    std::size_t hit = text.find(from, pos);
    if (hit == std::u16string::npos) break;
    out.append(text, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
  }
  out.append(text, pos, std::u16string::npos);
  return out;
}

std::u16string ReplaceWhilePresent(std::u16string text, std::u16string_view from, std::u16string_view to) {
  while (text.find(from) != std::u16string::npos) text = ReplaceAll(text, from, to);
  return text;
}
}  // namespace

bool AsciiCaseEqual(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

std::u16string NormalizeText(std::u16string_view input) {
  constexpr char16_t kMarker = 0x1E;
  // Fast path: most corpus texts hold no line break, marker or double space, and
  // then every step below is the identity. One plain scan decides it, without an early
  // exit or a branch per character: corpus texts are short, and reading one to its end
  // costs less than a mispredicted branch at every blank.
  bool special = false;
  char16_t previous = 0;
  for (const char16_t c : input) {
    special |= (c == u'\r') | (c == u'\n') | (c == kMarker) | ((c == u' ') & (previous == u' '));
    previous = c;
  }
  if (!special) return Trim(input);
  std::u16string t(input);
  t = ReplaceAll(t, u"\r\n", u"\n");
  t = ReplaceAll(t, u"\r", u"\n");
  t = ReplaceWhilePresent(std::move(t), u"\n\n\n", u"\n\n");
  t = ReplaceAll(t, u"\n\n", std::u16string_view(&kMarker, 1));
  t = ReplaceAll(t, u"\n", u" ");
  t = ReplaceWhilePresent(std::move(t), u"  ", u" ");
  t = ReplaceAll(t, std::u16string_view(&kMarker, 1), u"\r\n\r\n");
  return Trim(t);
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

}  // namespace velmora
