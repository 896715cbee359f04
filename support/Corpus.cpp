#include "support/Corpus.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "base/Error.h"
#include "base/Utf.h"

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
  // Written through a pointer into a buffer of the largest possible size: appending
  // byte by byte costs more than the decoding itself.
  std::string out(length / 4 * 3 + 3, '\0');
  char* o = out.data();
  unsigned buffer = 0;
  int bits = 0;
  int padding = 0;
  for (int k = 0; k <= lastIndex; ++k) {
    for (const char* p = chunks[k]; *p; ++p) {
      const int v = kBase64.Value[static_cast<unsigned char>(*p)];
      if (v < 0) {
        if (*p != '=') Corrupt(u"invalid base64 text");
        ++padding;
        continue;
      }
      if (padding > 0) Corrupt(u"invalid base64 text");
      buffer = (buffer << 6) | static_cast<unsigned>(v);
      bits += 6;
      if (bits >= 8) {
        bits -= 8;
        *o++ = static_cast<char>((buffer >> bits) & 0xFF);
      }
    }
  }
  if (padding > 2 || bits >= 6) Corrupt(u"invalid base64 length");
  out.resize(static_cast<std::size_t>(o - out.data()));
  return out;
}

std::string Inflate(const std::string& compressed) {
  // Corpus text inflates to about four times its size: start there and double as
  // needed, so that one or two rounds usually suffice.
  std::size_t block = compressed.size() * 4 + 4096;
  z_stream zs;
  std::memset(&zs, 0, sizeof zs);
  if (inflateInit(&zs) != Z_OK) Corrupt(u"zlib initialisation failed");
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.data()));
  zs.avail_in = static_cast<uInt>(compressed.size());
  std::string out;
  int rc = Z_OK;
  while (rc == Z_OK) {
    std::size_t used = out.size();
    out.resize(used + block);
    zs.next_out = reinterpret_cast<Bytef*>(&out[used]);
    zs.avail_out = static_cast<uInt>(block);
    rc = inflate(&zs, Z_NO_FLUSH);
    out.resize(used + (block - zs.avail_out));
    block = std::max<std::size_t>(out.size(), 4096);
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
