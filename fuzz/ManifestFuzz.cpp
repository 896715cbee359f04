// The update manifest check over arbitrary bodies. Only TError with one of the known
// messages may come out of it; an accepted manifest must hold a version that parses,
// a download URL the URL rule accepts and a description within its limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Error.h"
#include "base/Utf.h"
#include "fuzz/FuzzCheck.h"
#include "update/Manifest.h"
#include "update/Version.h"

namespace velmora {
namespace {

bool IsKnownMessage(const std::u16string& m) {
  for (std::u16string_view known : {u"Update manifest is too large", u"Invalid update manifest", u"Missing version",
                                    u"Invalid version", u"Missing download URL", u"Invalid download URL"})
    if (m == known) return true;
  return false;
}

void CheckOne(std::string_view body, std::u16string_view page) {
  TManifest manifest;
  try {
    ValidateManifest(body, page, manifest);
  } catch (const TError& e) {
    VELMORA_FUZZ_CHECK(IsKnownMessage(e.Message()));
    return;
  }
  VELMORA_FUZZ_CHECK(Utf8ToUtf16(body).size() <= 65536);
  try {
    ParseVersion(manifest.Version);
  } catch (const TError&) {
    VELMORA_FUZZ_CHECK(!"an accepted manifest holds a version that does not parse");
  }
  VELMORA_FUZZ_CHECK(IsAllowedDownloadUrlFor(manifest.DownloadURL, page));
  VELMORA_FUZZ_CHECK(manifest.Description.size() <= 2000);
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::string_view body(reinterpret_cast<const char*>(data), size);
  CheckOne(body, ProductPageUrl);
  CheckOne(body, u"http://127.0.0.1:8080/v/");
  return 0;
}
