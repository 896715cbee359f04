#include "support/AgentId.h"

#include <gtest/gtest.h>

#include "base/Utf.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"

namespace velmora {

namespace {
constexpr std::array<std::uint8_t, 16> kGuid = {0x12, 0x34, 0x56, 0x78, 0x9a, 0xbc, 0xde, 0xf0,
                                                0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef};
constexpr char16_t kGuidText[] = u"{12345678-9ABC-DEF0-0123-456789ABCDEF}";
}  // namespace

TEST(AgentId, GuidTextForm) { EXPECT_EQ(FormatGuid(kGuid), kGuidText); }

TEST(AgentId, ExistingFileIsReadTrimmedWithOrWithoutMark) {
  testing::TempFolder folder;
  testing::FakePlatform platform;
  for (std::string content : {"\xEF\xBB\xBF  {ABC}\r\n", "  {ABC}\r\n", "test"}) {
    testing::WriteBytes(folder / u"agent.id", content);
    std::u16string expected = content == "test" ? u"test" : u"{ABC}";
    EXPECT_EQ(GetAgentId(platform, folder.Path()), expected);
  }
}

TEST(AgentId, NewIdentifierIsWrittenAsMarkAndGuid) {
  testing::TempFolder folder;
  testing::FakePlatform platform;
  platform.Guid = kGuid;
  // Without a trailing separator the folder is completed.
  std::u16string bare = folder.Path().substr(0, folder.Path().size() - 1);
  EXPECT_EQ(GetAgentId(platform, bare), kGuidText);
  EXPECT_EQ(testing::ReadBytes(folder / u"agent.id"), "\xEF\xBB\xBF" + Utf16ToUtf8(kGuidText));
  // A blank file counts as absent and is replaced.
  testing::WriteBytes(folder / u"agent.id", " \r\n");
  platform.Guid = std::array<std::uint8_t, 16>{};
  EXPECT_EQ(GetAgentId(platform, folder.Path()), u"{00000000-0000-0000-0000-000000000000}");
}

TEST(AgentId, UnwritableProgramFolderFallsBackToTheUserFolder) {
  testing::TempFolder program, appData;
  testing::FakePlatform platform;
  platform.FailWrite = [&](const std::u16string& p) { return p.starts_with(program.Path()); };
  platform.Environment[u"APPDATA"] = appData.Path();
  platform.Guid = kGuid;
  EXPECT_EQ(GetAgentId(platform, program.Path()), kGuidText);
  EXPECT_FALSE(testing::Exists(program / u"agent.id"));
  EXPECT_EQ(testing::ReadBytes(appData / u"Velmora/agent.id"), "\xEF\xBB\xBF" + Utf16ToUtf8(kGuidText));
  // Later runs read it from there.
  platform.Guid = std::array<std::uint8_t, 16>{};
  EXPECT_EQ(GetAgentId(platform, program.Path()), kGuidText);
}

TEST(AgentId, WithoutAPerUserFolderEveryCallMakesAFreshIdentifier) {
  testing::TempFolder program;
  testing::FakePlatform platform;
  platform.FailWrite = [](const std::u16string&) { return true; };
  platform.Environment[u"XDG_DATA_HOME"] = std::nullopt;
  platform.Environment[u"HOME"] = std::nullopt;
  for (std::optional<std::u16string> unset : {std::optional<std::u16string>(), std::optional<std::u16string>(u"")}) {
    platform.Environment[u"APPDATA"] = unset;
    std::u16string a = GetAgentId(platform, program.Path());
    std::u16string b = GetAgentId(platform, program.Path());
    EXPECT_EQ(a.size(), 38u);
    EXPECT_NE(a, b);
  }
  EXPECT_TRUE(testing::ListFolder(program.Path()).empty());
}

#ifndef _WIN32
// As found: on Linux APPDATA is unset, so a CLI in a folder it cannot write got a new
// identity, and other texts for the same week, on every run. The identifier now lives
// under $XDG_DATA_HOME, else under ~/.local/share.
TEST(AgentId, WithoutAppDataTheIdentifierLivesInTheXdgDataFolder) {
  testing::TempFolder program, data, home;
  for (bool xdg : {true, false}) {
    testing::FakePlatform platform;
    platform.FailWrite = [&](const std::u16string& p) { return p.starts_with(program.Path()); };
    platform.Environment[u"APPDATA"] = std::nullopt;
    platform.Environment[u"XDG_DATA_HOME"] = xdg ? std::optional<std::u16string>(data.Path()) : std::nullopt;
    platform.Environment[u"HOME"] = home.Path();
    platform.Guid = kGuid;
    EXPECT_EQ(GetAgentId(platform, program.Path()), kGuidText);
    platform.Guid = std::array<std::uint8_t, 16>{};
    EXPECT_EQ(GetAgentId(platform, program.Path()), kGuidText) << "the second run keeps the identity";
    const std::u16string stored = xdg ? data / u"Velmora/agent.id" : home / u".local/share/Velmora/agent.id";
    EXPECT_EQ(testing::ReadBytes(stored), "\xEF\xBB\xBF" + Utf16ToUtf8(kGuidText));
    EXPECT_FALSE(testing::Exists(program / u"agent.id"));
  }
}
#endif

}  // namespace velmora
