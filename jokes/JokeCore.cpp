#include "jokes/JokeCore.h"

#include <cstdint>

#include "base/Text.h"
#include "jokes/JokeEmbeddedData.h"
#include "support/AgentId.h"
#include "support/Documents.h"
#include "support/JsonLines.h"
#include "support/Paths.h"
#include "support/Random.h"

namespace velmora {

int LimitJokeCount(long long count) { return count < 1 ? 1 : count > 30 ? 30 : static_cast<int>(count); }

int ParseJokeCount(std::u16string_view text) {
  const std::optional<std::int64_t> value = ParseDecimal(text);
  if (!value || *value < INT32_MIN || *value > INT32_MAX) return 20;
  return LimitJokeCount(*value);
}

std::vector<TJokeItem> SelectJokes(const std::vector<TJokeItem>& corpus, int count, std::u16string_view agentId,
                                   const TDate& weekStart) {
  std::u16string key = u"jokes|";
  key.append(agentId).append(u"|").append(FormatIsoDate(weekStart)).append(u"|").append(ToDecimal(count));
  RandomState state = SeedRandom(key);
  // The pool refers into the corpus: each joke SeasonalWeight times in a row.
  std::vector<const TJokeItem*> pool;
  pool.reserve(corpus.size() * 4);
  for (const TJokeItem& joke : corpus)
    pool.insert(pool.end(), static_cast<std::size_t>(SeasonalWeight(joke.WeekStart, weekStart)), &joke);
  std::vector<TJokeItem> result;
  while (static_cast<int>(result.size()) < count && !pool.empty()) {
    const TJokeItem* picked =
        pool[static_cast<std::size_t>(RandomBelow(state, static_cast<std::int32_t>(pool.size())))];
    result.push_back(*picked);
    const std::u16string& text = result.back().Text;
    std::erase_if(pool, [&](const TJokeItem* p) { return AsciiCaseEqual(p->Text, text); });
  }
  return result;
}

std::vector<TJokeItem> LoadJokeCorpus(Platform& platform, const std::u16string& programFolder) {
  const std::u16string path = DataFolder(platform, programFolder) + u"jokes.jsonl";
  return ParseJokeItems(platform.FileExists(path) ? ReadUtf8File(platform, path) : JokeCorpusText());
}

std::u16string BuildJokeDocument(const std::vector<TJokeItem>& jokes, const TDate& weekStart) {
  std::u16string text = u"Анекдоты на неделю с " + FormatDisplayDate(weekStart) + u"\r\n\r\n";
  for (const TJokeItem& joke : jokes) text += joke.Text + u"\r\n\r\n";
  return text;
}

std::u16string GenerateJokeWeek(Platform& platform, const std::u16string& outputFolder, int count,
                                const TDate& weekStart) {
  count = LimitJokeCount(count);
  const std::u16string programFolder = WithTrailingSeparator(platform, platform.ProgramFolder());
  const std::u16string agentId = GetAgentId(platform, programFolder);
  RequireOutputFolder(outputFolder);
  const std::u16string generated = GeneratedFolder(platform, outputFolder);
  platform.CreateFolders(generated);  // a failure shows up as the write's error
  const auto corpus = LoadJokeCorpus(platform, programFolder);
  const auto jokes = SelectJokes(corpus, count, agentId, weekStart);
  const std::u16string path = generated + u"jokes_" + FormatCompactDate(weekStart) + u".txt";
  WriteDocument(platform, path, BuildJokeDocument(jokes, weekStart));
  return path;
}

}  // namespace velmora
