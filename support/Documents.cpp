#include "support/Documents.h"

#include "base/Utf.h"

namespace velmora {

namespace {
const std::string kBom = "\xEF\xBB\xBF";
}

void WriteDocument(Platform& platform, const std::u16string& path, std::u16string_view text) {
  platform.WriteWholeFileAtomic(path, kBom + Utf16ToUtf8(text));
}

std::u16string ReadDocument(Platform& platform, const std::u16string& path) {
  std::string bytes = platform.ReadWholeFile(path);
  if (bytes.compare(0, kBom.size(), kBom) == 0) bytes.erase(0, kBom.size());
  return Utf8ToUtf16(bytes);
}

}  // namespace velmora
