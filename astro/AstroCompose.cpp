#include "astro/AstroCompose.h"

#include "astro/AstroCorpus.h"
#include "astro/AstroTables.h"
#include "astro/Sentences.h"
#include "base/Text.h"
#include "platform/Platform.h"

namespace velmora {

namespace {

constexpr std::size_t kHeaderSearchLimit = 34;  // 1-based positions of ")." that count as a header
constexpr std::size_t kWeeklySentences = 5;
constexpr std::size_t kDailySentences = 4;

std::u16string SeedKey(std::u16string_view kind, std::u16string_view agentId, const TDate& weekDate,
                       std::u16string_view name) {
  std::u16string key(kind);
  key.append(agentId).append(u"|").append(FormatIsoDate(weekDate)).append(u"|").append(name);
  return key;
}

std::u16string JoinWithBlanks(const TSentenceList& list) {
  std::u16string out;
  for (const auto& s : list) {
    if (!out.empty()) out.push_back(u' ');
    out += s;
  }
  return out;
}

}  // namespace

std::u16string StripSignHeader(std::u16string_view text) {
  std::u16string t = Trim(text);
  std::size_t p = t.find(u").");
  if (p != std::u16string::npos && p + 1 <= kHeaderSearchLimit) t = Trim(std::u16string_view(t).substr(p + 2));
  return t;
}

std::u16string CutDaySentence(std::u16string_view text) {
  std::size_t p = text.find(u"Благоприятный день");
  return p == std::u16string_view::npos ? std::u16string(text) : Trim(text.substr(0, p));
}

std::u16string PickDayName(RandomState& state, std::u16string_view excluded) {
  while (true) {
    std::u16string d = LowerText(DayNames[RandomBelow(state, 7)]);
    if (!AsciiCaseEqual(d, excluded)) return d;
  }
}

std::u16string ComposeWeeklyHoroscope(const std::vector<TWeeklyItem>& corpus, std::u16string_view sign,
                                      std::u16string_view header, std::u16string_view agentId, const TDate& weekDate) {
  RandomState state = SeedRandom(SeedKey(u"weekly|", agentId, weekDate, sign));
  const std::vector<TWeeklyItem> sources = DrawWeeklySources(corpus, sign, state, weekDate);
  TSentenceList list;
  for (const TWeeklyItem& source : sources) {
    const auto sentences = SplitSentences(CutDaySentence(StripSignHeader(source.Text)));
    if (sentences.empty()) continue;
    const int picks = RandomBelow(state, 2) + 1;
    for (int k = 0; k < picks; ++k) AddSentence(list, PickSentence(sentences, state, list.empty()));
  }
  if (list.size() > kWeeklySentences) list.Truncate(kWeeklySentences);
  FixFirstSentence(list);
  const std::u16string good = PickDayName(state, u"");
  const std::u16string bad = PickDayName(state, good);
  std::u16string body(header);
  body += u" ";
  for (const auto& s : list) body += s + u" ";
  return Trim(body) + u" Благоприятный день - " + good + u", неблагоприятный день - " + bad + u".";
}

std::u16string ComposeDailyForecast(const std::vector<TDailyItem>& corpus, std::u16string_view dayName,
                                    std::u16string_view agentId, const TDate& weekDate) {
  RandomState state = SeedRandom(SeedKey(u"daily|", agentId, weekDate, dayName));
  const std::vector<TDailyItem> sources = DrawDailySources(corpus, dayName, state, weekDate);
  TSentenceList list;
  for (const TDailyItem& source : sources) {
    const auto sentences = SplitSentences(source.Text);
    if (sentences.empty()) continue;
    if (list.empty())
      AddSentence(list, sentences.front());
    else
      AddSentence(list, PickSentence(sentences, state, false));
    if (sentences.size() > 1 && RandomBelow(state, 2) == 0) AddSentence(list, PickSentence(sentences, state, false));
  }
  if (list.size() > kDailySentences) list.Truncate(kDailySentences);
  FixFirstSentence(list);
  return RemoveLeadingConnector(JoinWithBlanks(list));
}

}  // namespace velmora
