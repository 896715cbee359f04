#include "platform/Platform.h"

#include <gtest/gtest.h>

#include "support/Error.h"
#include "support/Utf.h"
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

}  // namespace velmora
