// The published manifest in site/ must pass the program's own checks.
#include <gtest/gtest.h>

#include "base/Utf.h"
#include "testing/TempFolder.h"
#include "update/Manifest.h"
#include "update/Version.h"

namespace velmora {

TEST(Site, PublishedManifestIsAcceptedAndOffersNothingNewer) {
  const std::string body = testing::ReadBytes(Utf8ToUtf16(std::string(VELMORA_SOURCE_DIR) + "/site/version.json"));
  ASSERT_FALSE(body.empty());
  TManifest manifest;
  ValidateManifest(body, ProductPageUrl, manifest);
  EXPECT_EQ(manifest.Version, CurrentVersion);
  EXPECT_TRUE(IsAllowedDownloadUrl(manifest.DownloadURL));
}

}  // namespace velmora
