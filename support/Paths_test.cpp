#include "support/Paths.h"

#include <gtest/gtest.h>

#include "base/Utf.h"

namespace velmora {

// The folders the generators build: a slash ends a folder on every platform, anything
// else gets the platform's separator, and exactly one separator stands between parts.
TEST(Paths, FoldersGetOneSeparatorBetweenParts) {
  const auto platform = MakeSystemPlatform();
  const std::u16string sep(1, platform->PathSeparator());
  struct Case {
    std::u16string Folder;
    std::u16string WithSeparator, Generated, Data;
  } cases[] = {
      {u"out", u"out" + sep, u"out" + sep + u"generated" + sep, u"out" + sep + u"data" + sep},
      {u"out" + sep, u"out" + sep, u"out" + sep + u"generated" + sep, u"out" + sep + u"data" + sep},
      {u"out/", u"out/", u"out/generated" + sep, u"out/data" + sep},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WithTrailingSeparator(*platform, c.Folder), c.WithSeparator) << Utf16ToUtf8(c.Folder);
    EXPECT_EQ(GeneratedFolder(*platform, c.Folder), c.Generated) << Utf16ToUtf8(c.Folder);
    EXPECT_EQ(DataFolder(*platform, c.Folder), c.Data) << Utf16ToUtf8(c.Folder);
  }
}

}  // namespace velmora
