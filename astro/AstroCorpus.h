// Loading the astro corpora (an override file in the data folder, else the embedded
// text) and the seasonal draw of source records for one sign or day name.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Random.h"
#include "support/Records.h"

namespace velmora {

std::vector<TWeeklyItem> LoadWeeklyCorpus(Platform& platform, const std::u16string& dataFolder);
std::vector<TDailyItem> LoadDailyCorpus(Platform& platform, const std::u16string& dataFolder);

// Up to 4 (weekly) or 3 (daily) records of the name, from pairwise different weeks,
// drawn from a pool holding each matching record SeasonalWeight times; one
// RandomBelow per record drawn.
std::vector<TWeeklyItem> DrawWeeklySources(const std::vector<TWeeklyItem>& corpus, std::u16string_view sign,
                                           RandomState& state, const TDate& targetDate);
std::vector<TDailyItem> DrawDailySources(const std::vector<TDailyItem>& corpus, std::u16string_view dayName,
                                         RandomState& state, const TDate& targetDate);

}  // namespace velmora
