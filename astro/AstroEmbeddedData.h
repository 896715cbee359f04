// The weekly and daily corpora packed into the program at build time.
#pragma once

#include <string>

namespace velmora {

extern const char* const WeeklyCorpusChunks[];
extern const int WeeklyCorpusLastIndex;
extern const char* const DailyCorpusChunks[];
extern const int DailyCorpusLastIndex;

// The corpus texts, decoded afresh on every call (nothing is cached).
std::u16string WeeklyCorpusText();
std::u16string DailyCorpusText();

}  // namespace velmora
