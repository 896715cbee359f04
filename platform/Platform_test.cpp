#include "platform/Platform.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdlib>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "platform/TempName.h"
#include "testing/OsFiles.h"
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

// A write that fails after its temporary file was created (here: the bytes stop being
// readable after the first page) leaves the earlier file whole and nothing else. As
// found on Windows: the temporary file was deleted while still open, so it stayed.
TEST(Platform, AWriteFailingAfterItsTemporaryFileLeavesNothingBehind) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  const std::u16string path = folder / u"doc.txt";
  platform->WriteWholeFileAtomic(path, "earlier");
  testing::TUnreadableTail bytes;
  ASSERT_FALSE(bytes.Bytes().empty());
  EXPECT_THROW(platform->WriteWholeFileAtomic(path, bytes.Bytes()), TError);
  EXPECT_THROW(platform->WriteWholeFileAtomic(folder / u"new.txt", bytes.Bytes()), TError);
  EXPECT_EQ(platform->ReadWholeFile(path), "earlier");
  EXPECT_EQ(testing::ListFolder(folder.Path()), std::vector<std::string>{"doc.txt"});
}

TEST(Platform, TemporaryNames) {
  const std::array<std::uint8_t, 16> random = {0, 25, 26, 51, 52, 61, 62, 255};
  EXPECT_EQ(TemporaryNameFor(u"doc.txt", random), u".doc.txt.AZaz09");
  struct Case {
    const char16_t* Candidate;
    bool Ours;
  } cases[] = {
      {u".doc.txt.AZaz09", true},    {u".doc.txt.XXXXXX", true},  {u".doc.txt.AZaz0", false},
      {u".doc.txt.AZaz090", false},  {u".doc.txt.AZ-z09", false}, {u".doc.txt.AZaz09.bak", false},
      {u"doc.txt.AZaz09x", false},   {u".doc.txtAAZaz09", false}, {u".Doc.txt.AZaz09", false},
      {u".other.txt.AZaz09", false}, {u".doc.txt", false},        {u"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsTemporaryNameOf(c.Candidate, u"doc.txt"), c.Ours) << Utf16ToUtf8(c.Candidate);
}

#ifndef _WIN32
// As found: new documents were 0644 whatever the umask, and a rewritten 0600 document
// became 0644.
TEST(Platform, NewFilesFollowTheUmaskAndReplacedFilesKeepTheirMode) {
  testing::TempFolder folder;
  auto platform = MakeSystemPlatform();
  auto modeOf = [](const std::u16string& p) {
    struct stat st;
    return ::stat(Utf16ToUtf8(p).c_str(), &st) == 0 ? st.st_mode & 07777 : 0u;
  };
  const mode_t saved = ::umask(022);
  for (auto [mask, mode] : {std::pair<mode_t, mode_t>{022, 0644}, {027, 0640}, {077, 0600}, {002, 0664}}) {
    ::umask(mask);
    const std::u16string path = folder / (u"new" + ToDecimal(mask) + u".txt");
    platform->WriteWholeFileAtomic(path, "new");
    EXPECT_EQ(modeOf(path), mode) << "umask " << std::oct << mask;
  }
  ::umask(022);
  const std::u16string kept = folder / u"kept.txt";
  for (mode_t mode : {0600, 0640, 0755, 0400}) {
    platform->WriteWholeFileAtomic(kept, "first");
    ASSERT_EQ(::chmod(Utf16ToUtf8(kept).c_str(), mode), 0);
    platform->WriteWholeFileAtomic(kept, "second");
    EXPECT_EQ(modeOf(kept), mode) << std::oct << mode;
    EXPECT_EQ(platform->ReadWholeFile(kept), "second");
  }
  ::umask(saved);
}
#endif

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

TEST(Platform, CaseMappingCoversCyrillic) {
  EXPECT_EQ(CapitalizeFirst(u"воскресенье"), u"Воскресенье");
  EXPECT_EQ(LowerText(u"ПОНЕДЕЛЬНИК Ёж"), u"понедельник ёж");
  EXPECT_EQ(CapitalizeFirst(u""), u"");
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
