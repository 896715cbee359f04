// Version texts and the rule a download URL must meet before it reaches the shell.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "update/VelmoraVersion.h"

namespace velmora {

// The version of this build, from the project's (generated into update/VelmoraVersion.h).
inline constexpr char16_t CurrentVersion[] = u"" VELMORA_VERSION_TEXT;
// The product page (https, ending with "/"): the site link, the manifest and every
// acceptable download lie under it. Set by the build option VELMORA_PRODUCT_PAGE_URL.
extern const char16_t* const ProductPageUrl;

using TVersion = std::array<std::int32_t, 4>;

// Three or four dot-separated pieces of ASCII digits, each within a signed 32-bit
// integer; a missing fourth piece is 0. Throws TError (conversion) "Invalid version".
TVersion ParseVersion(std::u16string_view text);
// +1 when a is newer than b, -1 when older, 0 when equal; a is parsed first.
int CompareVersions(std::u16string_view a, std::u16string_view b);

// True only for a URL that starts with pageUrl exactly and names a file directly under
// it: "Velmora" ... ".exe", of ASCII letters, digits, "-", "." and "_", without "..".
bool IsAllowedDownloadUrlFor(std::u16string_view url, std::u16string_view pageUrl);
inline bool IsAllowedDownloadUrl(std::u16string_view url) { return IsAllowedDownloadUrlFor(url, ProductPageUrl); }

}  // namespace velmora
