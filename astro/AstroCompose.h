// Composing one weekly horoscope (for a sign) and one daily forecast (for a day name)
// from sentences of earlier texts. Both are pure functions of the corpus, the name,
// the week date and the agent identifier, which together form the seed key.
#pragma once

#include <string>
#include <vector>

#include "support/Random.h"
#include "support/Records.h"

namespace velmora {

// The text after its own sign header (a ")." within the first 34 characters), trimmed.
std::u16string StripSignHeader(std::u16string_view text);
// The text before the first exact "Благоприятный день", trimmed.
std::u16string CutDaySentence(std::u16string_view text);
// A lower-case day name other than excluded, redrawn (RandomBelow(7)) until it differs.
std::u16string PickDayName(RandomState& state, std::u16string_view excluded);

// Header, blank, up to five sentences and the day sentence
// " Благоприятный день - X, неблагоприятный день - Y.".
std::u16string ComposeWeeklyHoroscope(const std::vector<TWeeklyItem>& corpus, std::u16string_view sign,
                                      std::u16string_view header, std::u16string_view agentId, const TDate& weekDate);
// Up to four sentences joined by blanks; empty when there are no sources.
std::u16string ComposeDailyForecast(const std::vector<TDailyItem>& corpus, std::u16string_view dayName,
                                    std::u16string_view agentId, const TDate& weekDate);

}  // namespace velmora
