#include "support/JsonLines.h"

#include "base/Text.h"
#include "base/Utf.h"

namespace velmora {

std::u16string ReadUtf8File(Platform& platform, const std::u16string& path) {
  return Utf8ToUtf16(platform.ReadWholeFile(path));
}

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

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

std::u16string JsonUnescape(std::u16string_view raw) {
  if (raw.find(u'\\') == std::u16string_view::npos) return std::u16string(raw);  // most values hold no escape
  std::u16string out;
  out.reserve(raw.size());
  std::size_t i = 0;
  while (i < raw.size()) {
    char16_t c = raw[i];
    if (c != u'\\') {
      out.push_back(c);
      ++i;
      continue;
    }
    if (i + 1 >= raw.size()) {
      out.push_back(u'\\');
      break;
    }
    char16_t e = raw[i + 1];
    i += 2;
    switch (e) {
      case u'"': out.push_back(u'"'); break;
      case u'\\': out.push_back(u'\\'); break;
      case u'/': out.push_back(u'/'); break;
      case u'b': out.push_back(0x08); break;
      case u'f': out.push_back(0x0C); break;
      case u'n': out.append(u"\r\n"); break;
      case u'r': out.push_back(u'\r'); break;
      case u't': out.push_back(u'\t'); break;
      case u'u': {
        // Up to four characters (fewer near the end) read as one hexadecimal code unit;
        // when they do not read as hexadecimal, the escape vanishes and they stay text.
        std::size_t n = std::min<std::size_t>(4, raw.size() - i);
        unsigned value = 0;
        bool ok = n > 0;
        for (std::size_t k = 0; k < n && ok; ++k) {
          int h = HexValue(raw[i + k]);
          ok = h >= 0;
          value = value * 16 + static_cast<unsigned>(h < 0 ? 0 : h);
        }
        if (ok) {
          out.push_back(static_cast<char16_t>(value));
          i += n;
        }
        break;
      }
      default: out.push_back(e); break;
    }
  }
  return out;
}

std::u16string JsonField(std::u16string_view line, std::u16string_view key) {
  std::u16string pattern;
  pattern.reserve(key.size() + 2);
  pattern.push_back(u'"');
  pattern.append(key);
  pattern.push_back(u'"');
  std::size_t at = line.find(pattern);
  if (at == std::u16string_view::npos) return {};
  std::size_t colon = line.find(u':', at + pattern.size());
  if (colon == std::u16string_view::npos) return {};
  std::size_t i = colon + 1;
  while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
  if (i >= line.size() || line[i] != u'"') return {};
  ++i;
  // The raw body runs to the first unescaped quote or the end of the line. Escape pairs
  // are copied whole so an escaped quote does not end it; a trailing lone backslash is
  // dropped.
  std::size_t start = i;
  while (i < line.size()) {
    char16_t c = line[i];
    if (c == u'"') break;
    if (c == u'\\') {
      if (i + 1 >= line.size()) break;
      i += 2;
      continue;
    }
    ++i;
  }
  return JsonUnescape(line.substr(start, i - start));
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

std::vector<std::u16string_view> CorpusLines(std::u16string_view text) {
  if (!text.empty() && text.front() == u'\ufeff') text.remove_prefix(1);
  return SplitLines(text);
}

namespace {

TDate LineWeekStart(std::u16string_view line) { return ParseIsoDate(JsonField(line, u"week_start")); }

template <typename Item, typename Make>
std::vector<Item> ParseItems(std::u16string_view text, Make make) {
  std::vector<Item> items;
  for (std::u16string_view line : CorpusLines(text)) {
    if (IsBlank(line)) continue;
    TDate week = LineWeekStart(line);
    Item item;
    if (make(line, week, item)) items.push_back(std::move(item));
  }
  return items;
}

bool MakeWeekly(std::u16string_view line, const TDate& week, TWeeklyItem& item) {
  item.WeekStart = week;
  item.Sign = JsonField(line, u"sign");
  item.Text = NormalizeText(JsonField(line, u"text"));
  return !item.Sign.empty() && !item.Text.empty();
}

bool MakeDaily(std::u16string_view line, const TDate& week, TDailyItem& item) {
  item.WeekStart = week;
  item.DayName = JsonField(line, u"day");
  item.Text = NormalizeText(JsonField(line, u"text"));
  return !item.DayName.empty() && !item.Text.empty();
}

bool MakeJoke(std::u16string_view line, const TDate& week, TJokeItem& item) {
  item.WeekStart = week;
  item.Text = NormalizeText(JsonField(line, u"text"));
  return !item.Text.empty();
}

}  // namespace

std::vector<TWeeklyItem> ParseWeeklyItems(std::u16string_view text) {
  return ParseItems<TWeeklyItem>(text, MakeWeekly);
}
std::vector<TDailyItem> ParseDailyItems(std::u16string_view text) { return ParseItems<TDailyItem>(text, MakeDaily); }
std::vector<TJokeItem> ParseJokeItems(std::u16string_view text) { return ParseItems<TJokeItem>(text, MakeJoke); }

TLineVerdict ClassifyCorpusLine(TCorpusKind kind, std::u16string_view line) {
  if (IsBlank(line)) return TLineVerdict::Blank;
  TDate week = LineWeekStart(line);
  bool kept = false;
  switch (kind) {
    case TCorpusKind::Weekly: {
      TWeeklyItem w;
      kept = MakeWeekly(line, week, w);
      break;
    }
    case TCorpusKind::Daily: {
      TDailyItem d;
      kept = MakeDaily(line, week, d);
      break;
    }
    case TCorpusKind::Joke: {
      TJokeItem j;
      kept = MakeJoke(line, week, j);
      break;
    }
  }
  return kept ? TLineVerdict::Kept : TLineVerdict::Dropped;
}

}  // namespace velmora
