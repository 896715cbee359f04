#include "astro/AstroCore.h"

#include "astro/AstroCompose.h"
#include "astro/AstroCorpus.h"
#include "astro/AstroTables.h"
#include "astro/Sentences.h"
#include "support/AgentId.h"
#include "support/Documents.h"
#include "support/Paths.h"

namespace velmora {

std::u16string BuildAstroDocument(const std::vector<TWeeklyItem>& weekly, const std::vector<TDailyItem>& daily,
                                  std::u16string_view agentId, const TDate& weekDate) {
  constexpr std::u16string_view kEol = u"\r\n";
  std::u16string text;
  text.reserve(16384);
  auto line = [&](std::u16string_view s) { text.append(s).append(kEol); };
  line(u"Астропрогноз на неделю с " + FormatDisplayDate(weekDate));
  line(u"");
  line(u"Вариант 1");
  line(u"");
  for (int i = 0; i < 12; ++i) {
    line(ComposeWeeklyHoroscope(weekly, SignNames[i], SignHeaders[i], agentId, weekDate));
    line(u"");
  }
  line(u"------------");
  line(u"");
  line(u"Вариант 2");
  line(u"");
  for (const char16_t* day : DayNames) {
    line(day);
    // The composer has removed one connector already; a second one and a leading
    // capitalised conjunction go here, so no forecast opens with a dangling link.
    line(StripOpeningConjunction(RemoveLeadingConnector(ComposeDailyForecast(daily, day, agentId, weekDate))));
    line(u"");
  }
  return text;
}

void WriteAstroDocument(Platform& platform, const std::u16string& path, const std::vector<TWeeklyItem>& weekly,
                        const std::vector<TDailyItem>& daily, std::u16string_view agentId, const TDate& weekDate) {
  WriteDocument(platform, path, BuildAstroDocument(weekly, daily, agentId, weekDate));
}

std::u16string GenerateAstroWeek(Platform& platform, const std::u16string& outputFolder, const TDate& weekDate) {
  const std::u16string programFolder = WithTrailingSeparator(platform, platform.ProgramFolder());
  const std::u16string agentId = GetAgentId(platform, programFolder);
  RequireOutputFolder(outputFolder);
  const std::u16string dataFolder = DataFolder(platform, programFolder);
  const std::u16string generated = GeneratedFolder(platform, outputFolder);
  platform.CreateFolders(generated);  // a failure shows up as the write's error
  const auto weekly = LoadWeeklyCorpus(platform, dataFolder);
  const auto daily = LoadDailyCorpus(platform, dataFolder);
  const std::u16string path = generated + u"astro_" + FormatCompactDate(weekDate) + u".txt";
  WriteAstroDocument(platform, path, weekly, daily, agentId, weekDate);
  return path;
}

}  // namespace velmora
