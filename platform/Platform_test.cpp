#include "platform/Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "platform/UserFolder.h"
#include "support/Error.h"
#include "support/Utf.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"

namespace velmora {

TEST(Platform, AtomicWriteReplacesWholeAndLeavesNoTemporaryFile) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  const std::u16string path = folder / u"doc.txt";
  platform->WriteWholeFileAtomic(path, "first");
  platform->WriteWholeFileAtomic(path, "second, longer");
  EXPECT_EQ(platform->ReadWholeFile(path), "second, longer");
  EXPECT_EQ(testing::ListFolder(folder.Path()), std::vector<std::string>{"doc.txt"});
}

TEST(Platform, FailedWriteKeepsTheEarlierFile) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  const std::u16string path = folder / u"doc.txt";
  platform->WriteWholeFileAtomic(path, "earlier");
  // A folder standing where the temporary file's rename must land makes the last step fail.
  const std::u16string blocked = folder / u"blocked";
  ASSERT_TRUE(platform->CreateFolders(blocked + u"/inner"));
  EXPECT_THROW(platform->WriteWholeFileAtomic(blocked, "new"), TError);
  EXPECT_THROW(platform->WriteWholeFileAtomic(folder / u"missing/doc.txt", "x"), TError);
  EXPECT_EQ(platform->ReadWholeFile(path), "earlier");
  EXPECT_EQ(testing::ListFolder(folder.Path()), (std::vector<std::string>{"blocked", "doc.txt"}));
}

TEST(Platform, FoldersAndFiles) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  const std::u16string deep = folder / u"a/b/c/";
  EXPECT_TRUE(platform->CreateFolders(deep));
  EXPECT_TRUE(platform->CreateFolders(deep));
  EXPECT_TRUE(platform->FolderExists(deep));
  EXPECT_FALSE(platform->FileExists(deep));
  testing::WriteBytes(folder / u"file", "x");
  EXPECT_FALSE(platform->CreateFolders(folder / u"file/sub"));
  EXPECT_THROW(platform->ReadWholeFile(folder / u"nothing"), TError);
  EXPECT_THROW(platform->ReadWholeFile(deep), TError);
  const std::u16string program = platform->ProgramFolder();
  EXPECT_EQ(program.back(), platform->PathSeparator());
}

TEST(Platform, IniKeepsOtherLinesAndReadsDefaults) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  const std::u16string path = folder / u"updates.ini";
  EXPECT_EQ(platform->IniRead(path, u"Updates", u"Automatic", u"0"), u"0");
  testing::WriteBytes(path, "; note\r\n[Other]\r\nAutomatic=7\r\n[updates]\r\nKeep=me\r\n");
  platform->IniWrite(path, u"Updates", u"Automatic", u"1");
  platform->IniWrite(path, u"Updates", u"Automatic", u"0");
  platform->IniWrite(path, u"New", u"Key", u"v");
  EXPECT_EQ(platform->IniRead(path, u"Updates", u"Automatic", u"x"), u"0");
  EXPECT_EQ(platform->IniRead(path, u"Other", u"automatic", u"x"), u"7");
  EXPECT_EQ(platform->IniRead(path, u"New", u"Key", u"x"), u"v");
  const std::string text = testing::ReadBytes(path);
  EXPECT_NE(text.find("; note"), std::string::npos);
  EXPECT_NE(text.find("Keep=me"), std::string::npos);
}

TEST(Platform, UserDataFolderRule) {
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

// The real platform reads the real environment with its own rule.
TEST(Platform, UserDataFolderOfTheSystem) {
  auto platform = MakeSystemPlatform();
#ifdef _WIN32
  const std::optional<std::u16string> appData = platform->GetEnvironment(u"APPDATA");
  ASSERT_TRUE(appData && !appData->empty()) << "Wine sets APPDATA";
  EXPECT_EQ(platform->UserDataFolder(), *appData + u"\\Velmora");
#else
  const char* const names[] = {"APPDATA", "XDG_DATA_HOME"};
  std::optional<std::string> saved[2];
  for (int i = 0; i < 2; ++i)
    if (const char* v = std::getenv(names[i])) saved[i] = v;
  ::unsetenv("APPDATA");
  ::setenv("XDG_DATA_HOME", "/srv/data", 1);
  const auto folder = platform->UserDataFolder();
  for (int i = 0; i < 2; ++i) {
    if (saved[i])
      ::setenv(names[i], saved[i]->c_str(), 1);
    else
      ::unsetenv(names[i]);
  }
  EXPECT_EQ(folder, std::optional<std::u16string>(u"/srv/data/Velmora"));
#endif
}

}  // namespace velmora
