// The embedded corpus container: an array of base64 chunks (100 characters each but
// the last) of a zlib stream of UTF-8 JSON lines.
#pragma once

#include <string>

namespace velmora {

// Joins chunks[0..lastIndex], decodes the base64, inflates the zlib stream to its end
// and decodes the bytes as UTF-8. Throws TError (general) on corrupt base64 or zlib
// data. A byte-order mark would not be removed.
std::u16string DecodeCorpusChunks(const char* const* chunks, int lastIndex);

// The inflated bytes only (for the benchmarks' comparison and the tests).
std::string InflateCorpusChunks(const char* const* chunks, int lastIndex);

}  // namespace velmora
