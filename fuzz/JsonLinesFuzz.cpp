// The JSON-lines readers over arbitrary bytes decoded as UTF-8. Besides memory and
// undefined-behaviour faults it checks that each reader agrees with the line classifier
// of the corpus checker, that a byte-order mark in front changes nothing, that every
// record it keeps is complete, and that the field reader never invents text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "fuzz/FuzzCheck.h"
#include "support/JsonLines.h"

namespace velmora {
namespace {

bool IsTrimmed(const std::u16string& s) { return s.empty() || (s.front() > 0x20 && s.back() > 0x20); }

// What the reader of `kind` must return for text: the number of kept lines, or -1 when
// a line stops the reading.
long ExpectedCount(TCorpusKind kind, std::u16string_view text) {
  long kept = 0;
  for (std::u16string_view line : CorpusLines(text)) {
    try {
      if (ClassifyCorpusLine(kind, line) == TLineVerdict::Kept) ++kept;
    } catch (const TError&) {
      return -1;
    }
  }
  return kept;
}

template <typename Item, typename Read, typename Complete>
void CheckReader(TCorpusKind kind, std::u16string_view text, Read read, Complete complete) {
  const long expected = ExpectedCount(kind, text);
  // A byte-order mark in front of a text without one changes nothing.
  const bool unmarked = text.empty() || text.front() != u'\ufeff';
  const std::u16string marked = u"\ufeff" + std::u16string(text);
  if (unmarked) VELMORA_FUZZ_CHECK(ExpectedCount(kind, marked) == expected);
  std::vector<Item> items;
  try {
    items = read(text);
  } catch (const TError&) {
    VELMORA_FUZZ_CHECK(expected == -1);
    return;
  }
  VELMORA_FUZZ_CHECK(expected == static_cast<long>(items.size()));
  if (unmarked) VELMORA_FUZZ_CHECK(read(marked).size() == items.size());
  for (const Item& item : items) {
    VELMORA_FUZZ_CHECK(IsValidDate(item.WeekStart.Year, item.WeekStart.Month, item.WeekStart.Day));
    VELMORA_FUZZ_CHECK(!item.Text.empty() && IsTrimmed(item.Text));
    VELMORA_FUZZ_CHECK(complete(item));
  }
}

void CheckField(std::u16string_view line, std::u16string_view key) {
  const std::u16string value = JsonField(line, key);
  // Unescaping never lengthens the raw body, which is a part of the line after the key.
  VELMORA_FUZZ_CHECK(value.size() <= line.size());
  if (!value.empty()) {
    std::u16string quoted = u"\"" + std::u16string(key) + u"\"";
    VELMORA_FUZZ_CHECK(line.find(quoted) != std::u16string_view::npos);
  }
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = Utf8ToUtf16(bytes);

  CheckReader<TWeeklyItem>(TCorpusKind::Weekly, text, ParseWeeklyItems,
                           [](const TWeeklyItem& w) { return !w.Sign.empty(); });
  CheckReader<TDailyItem>(TCorpusKind::Daily, text, ParseDailyItems,
                          [](const TDailyItem& d) { return !d.DayName.empty(); });
  CheckReader<TJokeItem>(TCorpusKind::Joke, text, ParseJokeItems, [](const TJokeItem&) { return true; });

  // Bytes before a first NUL name the key to look up in the rest; the reader's own keys
  // are looked up in every line.
  const std::size_t nul = bytes.find('\0');
  if (nul != std::string_view::npos) {
    const std::u16string key = Utf8ToUtf16(bytes.substr(0, nul));
    CheckField(Utf8ToUtf16(bytes.substr(nul + 1)), key);
  }
  for (std::u16string_view line : SplitLines(text))
    for (std::u16string_view key : {u"week_start", u"sign", u"day", u"text"}) CheckField(line, key);

  const std::u16string unescaped = JsonUnescape(text);
  VELMORA_FUZZ_CHECK(unescaped.size() <= text.size());
  if (text.find(u'\\') == std::u16string::npos) VELMORA_FUZZ_CHECK(unescaped == text);
  return 0;
}
