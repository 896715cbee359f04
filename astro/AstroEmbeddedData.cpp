#include "astro/AstroEmbeddedData.h"

#include "support/Corpus.h"

namespace velmora {

std::u16string WeeklyCorpusText() { return DecodeCorpusChunks(WeeklyCorpusChunks, WeeklyCorpusLastIndex); }
std::u16string DailyCorpusText() { return DecodeCorpusChunks(DailyCorpusChunks, DailyCorpusLastIndex); }

}  // namespace velmora
