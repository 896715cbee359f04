#include "astro/AstroCorpus.h"

#include "astro/AstroEmbeddedData.h"
#include "base/Text.h"
#include "support/JsonLines.h"

namespace velmora {

namespace {

std::u16string CorpusText(Platform& platform, const std::u16string& path, std::u16string (*embedded)()) {
  return platform.FileExists(path) ? ReadUtf8File(platform, path) : embedded();
}

// The pool holds pointers into the corpus: each matching record w times in a row.
template <typename Item, typename NameOf>
std::vector<Item> DrawSources(const std::vector<Item>& corpus, std::u16string_view name, RandomState& state,
                              const TDate& targetDate, std::size_t limit, NameOf nameOf) {
  std::vector<const Item*> pool;
  for (const Item& item : corpus) {
    if (!AsciiCaseEqual(nameOf(item), name)) continue;
    pool.insert(pool.end(), static_cast<std::size_t>(SeasonalWeight(item.WeekStart, targetDate)), &item);
  }
  std::vector<Item> result;
  while (result.size() < limit && !pool.empty()) {
    const Item* drawn = pool[static_cast<std::size_t>(RandomBelow(state, static_cast<std::int32_t>(pool.size())))];
    result.push_back(*drawn);
    const TDate week = drawn->WeekStart;
    std::erase_if(pool, [&](const Item* p) { return p->WeekStart == week; });
  }
  return result;
}

}  // namespace

std::vector<TWeeklyItem> LoadWeeklyCorpus(Platform& platform, const std::u16string& dataFolder) {
  return ParseWeeklyItems(CorpusText(platform, dataFolder + u"weekly_horoscopes.jsonl", WeeklyCorpusText));
}

std::vector<TDailyItem> LoadDailyCorpus(Platform& platform, const std::u16string& dataFolder) {
  return ParseDailyItems(CorpusText(platform, dataFolder + u"daily_horoscopes.jsonl", DailyCorpusText));
}

std::vector<TWeeklyItem> DrawWeeklySources(const std::vector<TWeeklyItem>& corpus, std::u16string_view sign,
                                           RandomState& state, const TDate& targetDate) {
  return DrawSources(corpus, sign, state, targetDate, 4,
                     [](const TWeeklyItem& i) -> const std::u16string& { return i.Sign; });
}

std::vector<TDailyItem> DrawDailySources(const std::vector<TDailyItem>& corpus, std::u16string_view dayName,
                                         RandomState& state, const TDate& targetDate) {
  return DrawSources(corpus, dayName, state, targetDate, 3,
                     [](const TDailyItem& i) -> const std::u16string& { return i.DayName; });
}

}  // namespace velmora
