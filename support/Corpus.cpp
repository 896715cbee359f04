#include "support/Corpus.h"

#include <zlib.h>

#include <cstring>

#include "support/Error.h"
#include "support/Utf.h"

namespace velmora {

namespace {

// Base64 digit values by byte; -1 for bytes outside the alphabet.
struct TBase64Table {
  signed char Value[256];
  constexpr TBase64Table() : Value() {
    for (int i = 0; i < 256; ++i) Value[i] = -1;
    for (int i = 0; i < 26; ++i) {
      Value['A' + i] = static_cast<signed char>(i);
      Value['a' + i] = static_cast<signed char>(26 + i);
    }
    for (int i = 0; i < 10; ++i) Value['0' + i] = static_cast<signed char>(52 + i);
    Value[static_cast<unsigned char>('+')] = 62;
    Value[static_cast<unsigned char>('/')] = 63;
  }
};
constexpr TBase64Table kBase64;

[[noreturn]] void Corrupt(const char16_t* what) {
  throw TError(TErrorKind::General, std::u16string(u"Corrupt embedded corpus: ") + what);
}

std::string DecodeBase64(const char* const* chunks, int lastIndex) {
  std::size_t length = 0;
  for (int k = 0; k <= lastIndex; ++k) length += std::strlen(chunks[k]);
  std::string out;
  out.reserve(length / 4 * 3 + 3);
  unsigned buffer = 0;
  int bits = 0;
  int padding = 0;
  for (int k = 0; k <= lastIndex; ++k) {
    for (const char* p = chunks[k]; *p; ++p) {
      unsigned char c = static_cast<unsigned char>(*p);
      if (c == '=') {
        ++padding;
        continue;
      }
      const int v = kBase64.Value[c];
      if (v < 0 || padding > 0) Corrupt(u"invalid base64 text");
      buffer = (buffer << 6) | static_cast<unsigned>(v);
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        out.push_back(static_cast<char>((buffer >> bits) & 0xFF));
      }
    }
  }
  if (padding > 2 || bits >= 6) Corrupt(u"invalid base64 length");
  return out;
}

std::string Inflate(const std::string& compressed) {
  constexpr std::size_t kBlock = 1 << 20;
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit(&zs) != Z_OK) Corrupt(u"zlib initialisation failed");
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  zs.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    std::size_t used = out.size();
    out.resize(used + kBlock);
    zs.next_out = reinterpret_cast<Bytef*>(&out[used]);
    zs.avail_out = static_cast<uInt>(kBlock);
    rc = inflate(&zs, Z_NO_FLUSH);
    out.resize(used + (kBlock - zs.avail_out));
    if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;  // input ended before the stream did
  }
  inflateEnd(&zs);
  if (rc != Z_STREAM_END) Corrupt(u"invalid zlib stream");
  return out;
}

}  // namespace

std::string InflateCorpusChunks(const char* const* chunks, int lastIndex) {
  return Inflate(DecodeBase64(chunks, lastIndex));
}

std::u16string DecodeCorpusChunks(const char* const* chunks, int lastIndex) {
  return Utf8ToUtf16(InflateCorpusChunks(chunks, lastIndex));
}

}  // namespace velmora
