// The joke corpus packed into the program at build time, and its record count (what
// the main window's label shows).
#pragma once

#include <string>

namespace velmora {

extern const char* const JokeCorpusChunks[];
extern const int JokeCorpusLastIndex;
extern const int JokeCorpusRecordCount;

// The corpus text, decoded afresh on every call.
std::u16string JokeCorpusText();

}  // namespace velmora
