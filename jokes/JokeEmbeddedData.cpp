#include "jokes/JokeEmbeddedData.h"

#include "support/Corpus.h"

namespace velmora {

std::u16string JokeCorpusText() { return DecodeCorpusChunks(JokeCorpusChunks, JokeCorpusLastIndex); }

}  // namespace velmora
