// Faults from outside: unwritable places, missing environment, writes that fail half
// way. Each must end in a clear error or a sound fallback, with earlier files whole
// and no temporary file left behind.
#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "app/FakeMainView.h"
#include "app/MainForm.h"
#include "astro/AstroCore.h"
#include "base/Error.h"
#include "base/Utf.h"
#include "folk/FolkCore.h"
#include "jokes/JokeCore.h"
#include "support/AgentId.h"
#include "testing/Installation.h"
#include "testing/OsFiles.h"
#include "testing/TempFolder.h"

namespace velmora {

namespace {

struct TFaultSetup : testing::TInstallation {
  testing::TempFolder AppData;
  TFaultSetup() { Platform.Environment[u"APPDATA"] = AppData.Path(); }
};

using TGenerate = std::function<std::u16string(Platform&, const std::u16string&)>;
const std::pair<const char*, TGenerate> kGenerators[] = {
    {"folk",
     [](Platform& p, const std::u16string& o) {
       return GenerateFolkWeek(p, o, {2026, 1, 5});
     }},
    {"astro",
     [](Platform& p, const std::u16string& o) {
       return GenerateAstroWeek(p, o, {2026, 1, 5});
     }},
    {"jokes",
     [](Platform& p, const std::u16string& o) {
       return GenerateJokeWeek(p, o, 20, {2026, 1, 5});
     }},
};

}  // namespace

TEST(Faults, UnwritableDocumentKeepsTheEarlierFile) {
  for (const auto& [name, generate] : kGenerators) {
    TFaultSetup s;
    const std::u16string path = generate(s.Platform, s.Out.Path());
    const std::string before = testing::ReadBytes(path);
    s.Platform.FailWrite = [&](const std::u16string& p) { return p == path; };
    EXPECT_THROW(generate(s.Platform, s.Out.Path()), TError) << name;
    EXPECT_EQ(testing::ReadBytes(path), before) << name;
    EXPECT_EQ(testing::ListFolder(s.Out / u"generated").size(), 1u) << name;
  }
}

TEST(Faults, OutputFolderThatCannotBeCreated) {
  for (const auto& [name, generate] : kGenerators) {
    TFaultSetup s;
    testing::WriteBytes(s.Out / u"blocked", "a file where the folder should be");
    try {
      generate(s.Platform, s.Out / u"blocked");
      ADD_FAILURE() << name;
    } catch (const TError& e) {
      EXPECT_FALSE(e.Message().empty()) << name;
    }
    EXPECT_EQ(testing::ListFolder(s.Out.Path()), std::vector<std::string>{"blocked"}) << name;
  }
}

TEST(Faults, ReadOnlyProgramFolderAndMissingAppData) {
  TFaultSetup s;
  std::filesystem::remove(Utf16ToUtf8(s.Program / u"agent.id"));
  s.Platform.FailWrite = [&](const std::u16string& p) { return p.starts_with(s.Program.Path()); };
  // The identifier moves to the per-user folder; the documents still land.
  const std::u16string first = GenerateJokeWeek(s.Platform, s.Out.Path(), 5, {2026, 1, 5});
  EXPECT_TRUE(testing::Exists(s.AppData / u"Velmora/agent.id"));
  const std::string bytes = testing::ReadBytes(first);
  GenerateJokeWeek(s.Platform, s.Out.Path(), 5, {2026, 1, 5});
  EXPECT_EQ(testing::ReadBytes(first), bytes);  // the stored identifier keeps the week's texts
  // Without any per-user folder every run gets a fresh identifier and still writes its file.
  s.Platform.Environment[u"APPDATA"] = std::nullopt;
  s.Platform.Environment[u"XDG_DATA_HOME"] = std::nullopt;
  s.Platform.Environment[u"HOME"] = std::nullopt;
  std::filesystem::remove_all(Utf16ToUtf8(s.AppData / u"Velmora"));
  EXPECT_NO_THROW(GenerateAstroWeek(s.Platform, s.Out.Path(), {2026, 1, 5}));
  EXPECT_NE(GetAgentId(s.Platform, s.Program.Path()), GetAgentId(s.Platform, s.Program.Path()));
}

TEST(Faults, UnreadableAgentIdStopsTheGeneration) {
  TFaultSetup s;
  s.Platform.FailRead = [](const std::u16string& p) { return p.ends_with(u"agent.id"); };
  EXPECT_NO_THROW(GenerateFolkWeek(s.Platform, s.Out.Path(), {2026, 1, 5}));  // the folk file needs no identifier
  EXPECT_THROW(GenerateJokeWeek(s.Platform, s.Out.Path(), 5, {2026, 1, 5}), TError);
}

TEST(Faults, SettingsThatCannotBeWritten) {
  testing::FakeMainView view;
  TFaultSetup s;
  testing::TempFolder local;
  s.Platform.Environment[u"LOCALAPPDATA"] = local.Path();
  s.Platform.FailWrite = [](const std::u16string& p) { return p.ends_with(u"updates.ini"); };
  TFormMain form(view, s.Platform, RealGenerators(s.Platform), nullptr);
  form.FormShow();
  view.CheckedState[TControl::CheckAutoUpdates] = true;
  form.CheckAutoUpdatesClick();
  ASSERT_EQ(view.Entries("box").size(), 1u);
  EXPECT_NE(view.Entries("box")[0].find("Не удалось сохранить настройку: Unable to write to "), std::string::npos);
  // And with LOCALAPPDATA unset the box is disabled without a word.
  testing::FakeMainView quiet;
  s.Platform.Environment[u"LOCALAPPDATA"] = std::nullopt;
  TFormMain other(quiet, s.Platform, RealGenerators(s.Platform), nullptr);
  other.FormShow();
  EXPECT_FALSE(quiet.IsEnabled(TControl::CheckAutoUpdates));
  EXPECT_TRUE(quiet.Entries("box").empty());
}

// As found: a run killed during a write left its hidden temporary file in generated/
// for ever. The next write of the same document removes such files; those of other
// documents, and one a live write still holds, stay.
TEST(Faults, TheNextWriteRemovesStaleTemporaryFilesOfItsDocument) {
  TFaultSetup s;
  const std::u16string generated = s.Out / u"generated/";
  for (const char16_t* name : {u".primety_20260105.txt.Ab12Cd", u".primety_20260105.txt.zzzzzz",
                               u".astro_20260105.txt.Ab12Cd", u".primety_20260105.txt.Ab12Cd.keep"})
    testing::WriteBytes(generated + name, "left by a killed run");
  testing::THeldFile live(generated + u".primety_20260105.txt.LIVE01");
  ASSERT_TRUE(live.Held());
  GenerateFolkWeek(s.Platform, s.Out.Path(), {2026, 1, 5});
  EXPECT_EQ(testing::ListFolder(generated),
            (std::vector<std::string>{".astro_20260105.txt.Ab12Cd", ".primety_20260105.txt.Ab12Cd.keep",
                                      ".primety_20260105.txt.LIVE01", "primety_20260105.txt"}));
}

#ifndef _WIN32
// A real write that fails half way: the file-size limit stops write() after the first
// bytes, as a full disk would.
TEST(Faults, WriteFailingHalfWayLeavesTheEarlierFileAndNoTemporary) {
  TFaultSetup s;
  const std::u16string path = GenerateAstroWeek(s.Platform, s.Out.Path(), {2026, 1, 5});
  const std::string before = testing::ReadBytes(path);
  ASSERT_GT(before.size(), 2000u);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto* previous = signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 1000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    GenerateAstroWeek(s.Platform, s.Out.Path(), {2026, 1, 5});
  } catch (const TError&) {
    failed = true;
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, previous);
  EXPECT_TRUE(failed);
  EXPECT_EQ(testing::ReadBytes(path), before);
  EXPECT_EQ(testing::ListFolder(s.Out / u"generated"), std::vector<std::string>{"astro_20260105.txt"});
}
#endif

}  // namespace velmora
