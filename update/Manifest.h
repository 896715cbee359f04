// Validation of the update manifest "version.json".
#pragma once

#include <string>

namespace velmora {

struct TManifest {
  std::u16string Version;
  std::u16string DownloadURL;
  std::u16string Description;
};

// Reads the body (UTF-8) into result, member by member. Fields read before a failing
// check keep their values; the failure is a TError carrying one of "Update manifest is
// too large", "Invalid update manifest", "Missing version", "Invalid version",
// "Missing download URL", "Invalid download URL". pageUrl is the product page the
// download must lie under.
void ValidateManifest(std::string_view body, std::u16string_view pageUrl, TManifest& result);

}  // namespace velmora
