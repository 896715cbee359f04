#include "platform/Folders.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "base/Utf.h"
#include "testing/FakePlatform.h"

namespace velmora {

TEST(Folders, FolderOfExecutableEndsInOneSeparator) {
  struct Case {
    const char16_t* Path;
    char16_t Separator;
    const char16_t* Folder;
  } cases[] = {
      {u"C:\\Velmora.exe", u'\\', u"C:\\"},
      {u"D:\\Tools\\Velmora.exe", u'\\', u"D:\\Tools\\"},
      {u"/opt/velmora/velmora-cli", u'/', u"/opt/velmora/"},
  };
  for (const auto& c : cases) EXPECT_EQ(FolderOfExecutable(c.Path, c.Separator), c.Folder) << Utf16ToUtf8(c.Path);
}

TEST(Folders, UserDataFolderRule) {
  using V = std::optional<std::u16string>;
  struct Case {
    V AppData, XdgDataHome, Home;
    V WithFallback, WithoutFallback;  // the Linux and the Windows rule
  } cases[] = {
      {u"/a", u"/x", u"/h", u"/a#Velmora", u"/a#Velmora"},
      {u"/a/", {}, {}, u"/a/Velmora", u"/a/Velmora"},
      {{}, u"/x/data", u"/h", u"/x/data/Velmora", {}},
      {u"", u"/x/data/", u"/h", u"/x/data/Velmora", {}},
      {{}, {}, u"/h", u"/h/.local/share/Velmora", {}},
      {{}, u"", u"/h/", u"/h/.local/share/Velmora", {}},
      {{}, u"relative/data", u"/h", u"/h/.local/share/Velmora", {}},
      {{}, {}, u"", {}, {}},
      {{}, {}, u"relative", {}, {}},
      {{}, {}, {}, {}, {}},
  };
  for (const auto& c : cases) {
    testing::FakePlatform platform;
    platform.Environment = {{u"APPDATA", c.AppData}, {u"XDG_DATA_HOME", c.XdgDataHome}, {u"HOME", c.Home}};
    for (bool fallback : {true, false}) {
      V expected = fallback ? c.WithFallback : c.WithoutFallback;
      if (expected) std::replace(expected->begin(), expected->end(), u'#', platform.PathSeparator());
      EXPECT_EQ(UserDataFolderFromEnvironment(platform, fallback), expected)
          << Utf16ToUtf8(c.AppData.value_or(u"-")) << " " << Utf16ToUtf8(c.XdgDataHome.value_or(u"-")) << " "
          << Utf16ToUtf8(c.Home.value_or(u"-")) << (fallback ? " with" : " without");
    }
  }
}

}  // namespace velmora
