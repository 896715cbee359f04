// check-corpus: reports what the generators would make of an override file.
#pragma once

#include <ostream>
#include <string>

#include "platform/Platform.h"

namespace velmora {

// Reads the file as the generators would; prints every line that would stop the
// generation and every line that would be dropped (1-based), then the number of
// records kept. Returns 0 when nothing would stop it, 1 otherwise. The corpus kind
// comes from the file name (weekly_horoscopes, daily_horoscopes, jokes) or, failing
// that, from the "content_type" of its first record.
int CheckCorpusFile(Platform& platform, const std::u16string& path, std::ostream& out, std::ostream& err);

}  // namespace velmora
