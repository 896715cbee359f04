#include "cli/CliCorpusCheck.h"

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "support/JsonLines.h"

namespace velmora {

namespace {

bool NameEndsWith(const std::u16string& path, std::u16string_view name) {
  return path.size() >= name.size() && path.compare(path.size() - name.size(), name.size(), name) == 0;
}

std::optional<TCorpusKind> KindOf(const std::u16string& path, std::u16string_view text) {
  if (NameEndsWith(path, u"weekly_horoscopes.jsonl")) return TCorpusKind::Weekly;
  if (NameEndsWith(path, u"daily_horoscopes.jsonl")) return TCorpusKind::Daily;
  if (NameEndsWith(path, u"jokes.jsonl")) return TCorpusKind::Joke;
  for (auto line : CorpusLines(text)) {
    if (IsBlank(line)) continue;
    const std::u16string type = JsonField(line, u"content_type");
    if (type == u"astro_weekly") return TCorpusKind::Weekly;
    if (type == u"astro_daily") return TCorpusKind::Daily;
    if (type == u"joke") return TCorpusKind::Joke;
    break;
  }
  return std::nullopt;
}

const char* DropReason(TCorpusKind kind) {
  switch (kind) {
    case TCorpusKind::Weekly: return "пропущена: нет \"sign\" или пустой \"text\"";
    case TCorpusKind::Daily: return "пропущена: нет \"day\" или пустой \"text\"";
    case TCorpusKind::Joke: return "пропущена: пустой \"text\"";
  }
  return "";
}

}  // namespace

int CheckCorpusFile(Platform& platform, const std::u16string& path, std::ostream& out, std::ostream& err) {
  const std::u16string text = ReadUtf8File(platform, path);
  const auto kind = KindOf(path, text);
  const std::string name = Utf16ToUtf8(EscapeControlCharacters(path));
  if (!kind) {
    err << Utf16ToUtf8(ErrorPrefix) << "не удалось определить вид корпуса: " << name << "\n";
    return 1;
  }
  int kept = 0;
  bool stopping = false;
  int number = 0;
  for (auto line : CorpusLines(text)) {
    ++number;
    try {
      switch (ClassifyCorpusLine(*kind, line)) {
        case TLineVerdict::Blank: break;
        case TLineVerdict::Kept: ++kept; break;
        case TLineVerdict::Dropped: out << name << ":" << number << ": " << DropReason(*kind) << "\n"; break;
      }
    } catch (const TError& e) {
      stopping = true;
      out << name << ":" << number << ": " << Utf16ToUtf8(ErrorPrefix + MessageOf(e)) << "\n";
    }
  }
  out << "Записей: " << kept << "\n";
  return stopping ? 1 : 0;
}

}  // namespace velmora
