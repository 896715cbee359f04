// The astro generator's entry: twelve weekly horoscopes and seven daily forecasts of
// one week, laid out in the 53-line document astro_yyyymmdd.txt.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Records.h"

namespace velmora {

// The whole document text (CR LF line ends, 53 lines).
std::u16string BuildAstroDocument(const std::vector<TWeeklyItem>& weekly, const std::vector<TDailyItem>& daily,
                                  std::u16string_view agentId, const TDate& weekDate);

// Builds the document in memory, then writes it to path (BOM + UTF-8, atomically).
void WriteAstroDocument(Platform& platform, const std::u16string& path, const std::vector<TWeeklyItem>& weekly,
                        const std::vector<TDailyItem>& daily, std::u16string_view agentId, const TDate& weekDate);

// Gets the agent identifier, refuses a blank output folder, creates
// outputFolder/generated, loads both corpora, writes the week's file and returns its
// full path. A week date that is not a Monday is used as it is.
std::u16string GenerateAstroWeek(Platform& platform, const std::u16string& outputFolder, const TDate& weekDate);

}  // namespace velmora
