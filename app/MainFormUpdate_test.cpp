#include <gtest/gtest.h>

#include <chrono>
#include <system_error>
#include <thread>

#include "app/FakeMainView.h"
#include "app/MainForm.h"
#include "base/Text.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"
#include "update/Version.h"

namespace velmora {

namespace {

using testing::FakeMainView;

// The product page the form's workers check; the scripted download lies under it.
constexpr char16_t kPage[] = u"https://velmora.example/";
const std::u16string kCurrent = CurrentVersion;

struct TUpdateSetup {
  FakeMainView View;
  testing::FakePlatform Platform;
  testing::TempFolder LocalAppData;
  int WorkersMade = 0;
  bool WorkerFails = false;  // the worker cannot be made or started
  // What the update site answers: the status, and with 200 a manifest of this version
  // and download.
  int Status = 200;
  std::u16string Version = u"1.0.4", Url = std::u16string(kPage) + u"Velmora-1.0.4.exe";
  std::unique_ptr<TFormMain> Form;

  TUpdateSetup() {
    Platform.Environment[u"LOCALAPPDATA"] = LocalAppData.Path();
    Platform.Now = 1'800'000'000;
    // Read on the worker's thread, which the tests start only after setting the fields.
    Platform.Http = [this](const THttpRequest&) {
      if (Status != 200) return THttpReply{Status, "Not Found"};
      return THttpReply{200,
                        "{\"version\":\"" + Utf16ToUtf8(Version) + "\",\"download_url\":\"" + Utf16ToUtf8(Url) + "\"}"};
    };
    Form = std::make_unique<TFormMain>(View, Platform, TGenerators{}, [this] {
      ++WorkersMade;
      if (WorkerFails) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
      return std::make_unique<TUpdateWorker>(Platform, kPage);
    });
  }
  std::u16string SettingsPath() { return LocalAppData / u"Tarnwick/Velmora/updates.ini"; }
  void Store(const char* automatic, const char* last) {
    testing::WriteBytes(SettingsPath(),
                        std::string("[Updates]\r\nAutomatic=") + automatic + "\r\nLastAttemptUTC=" + last + "\r\n");
  }
  // Ticks until the outstanding check has been collected.
  void Collect() {
    for (int i = 0; i < 200 && Form->CheckOutstanding(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
      Form->UpdateTimerTick();
    }
    ASSERT_FALSE(Form->CheckOutstanding());
  }
};

}  // namespace

TEST(MainFormUpdate, AutomaticCheckOpensTheDialogByItself) {
  TUpdateSetup s;
  s.Store("1", "garbage");
  s.Form->FormShow();
  EXPECT_EQ(s.View.Log.front(), "timer created 200");
  EXPECT_TRUE(s.View.CheckedState[TControl::CheckAutoUpdates]);
  EXPECT_EQ(s.WorkersMade, 1);
  EXPECT_EQ(s.View.Texts[TControl::ButtonCheckUpdates], u"Проверка...");
  EXPECT_FALSE(s.View.IsEnabled(TControl::ButtonCheckUpdates));
  EXPECT_TRUE(s.View.TimerEnabled);
  s.Collect();
  EXPECT_EQ(s.View.Entries("dialog"), std::vector<std::string>{"dialog Доступна версия 1.0.4 button enabled"});
  EXPECT_EQ(s.View.Texts[TControl::ButtonCheckUpdates], u"Проверить обновления");
  EXPECT_FALSE(s.View.TimerEnabled);
  EXPECT_TRUE(s.Platform.OpenedUrls.empty());  // "Позже" opens nothing
  EXPECT_EQ(s.Platform.IniRead(s.SettingsPath(), u"Updates", u"LastAttemptUTC", u""), u"1800000000");
  // An empty description: the content begins with two line breaks.
  EXPECT_EQ(s.View.UpdateDialogText,
            u"Обновление Velmora|Доступна версия 1.0.4|\r\n\r\nСкачайте новый файл, закройте приложение и замените "
            u"старый EXE новым.\r\nОстальные файлы, в том числе agent.id, оставьте на месте.\r\nЕсли имя EXE "
            u"изменилось, удалите старый EXE и обновите ярлык.");
  s.Form->FormShow();  // only once per run
  EXPECT_EQ(s.WorkersMade, 1);
}

TEST(MainFormUpdate, AutomaticChecksThatAreNotDueOrOffOrQuiet) {
  {
    TUpdateSetup s;  // no settings file: off, but the folder exists afterwards
    s.Form->FormShow();
    EXPECT_EQ(s.WorkersMade, 0);
    EXPECT_TRUE(s.Platform.FolderExists(s.LocalAppData / u"Tarnwick/Velmora"));
  }
  {
    TUpdateSetup s;
    s.Store("1", "1799950000");  // 50,000 seconds ago
    s.Form->FormShow();
    EXPECT_EQ(s.WorkersMade, 0);
  }
  for (bool failing : {true, false}) {
    TUpdateSetup s;
    s.Store("1", "0");
    if (failing) {
      s.Status = 404;
    } else {
      s.Version = kCurrent + u".0";
    }
    s.Form->FormShow();
    s.Collect();
    EXPECT_TRUE(s.View.Entries("box").empty());
    EXPECT_TRUE(s.View.Entries("dialog").empty());
  }
  {
    TUpdateSetup s;  // a failed attempt record abandons an automatic check silently
    s.Store("1", "0");
    s.Platform.FailWrite = [](const std::u16string&) { return true; };
    s.Form->FormShow();
    EXPECT_EQ(s.WorkersMade, 0);
    EXPECT_TRUE(s.View.Log.size() == 1u);
  }
}

TEST(MainFormUpdate, ManualCheckMessages) {
  const std::string upToDate = "box Information У вас актуальная версия приложения: " + Utf16ToUtf8(kCurrent) + ".";
  struct Case {
    std::u16string Version;
    int Status;
    int DialogResult;
    bool Browser;
    std::vector<std::string> Boxes;
    std::size_t Opened;
  } cases[] = {
      {kCurrent, 200, 2, true, {upToDate}, 0},
      {kCurrent + u".0", 200, 2, true, {upToDate}, 0},
      {u"",
       404,
       2,
       true,
       {"box Warning Не удалось проверить обновления. Проверьте подключение к интернету.\r\nHTTP 404"},
       0},
      {u"1.0.4", 200, 6, true, {}, 1},
      {u"1.0.4",
       200,
       6,
       false,
       {"box Warning Не удалось открыть браузер. Скачайте обновление на " + Utf16ToUtf8(ProductPageUrl)},
       1},
      {u"1.0.4", 200, 0, true, {}, 0},  // the dialog could not open
  };
  for (const auto& c : cases) {
    TUpdateSetup s;
    s.Version = c.Version;
    s.Status = c.Status;
    s.View.UpdateDialogResult = c.DialogResult;
    s.Platform.OpenUrlResult = c.Browser;
    s.Form->FormShow();
    s.Form->ButtonCheckUpdatesClick();
    s.Collect();
    EXPECT_EQ(s.View.Entries("box"), c.Boxes) << Utf16ToUtf8(c.Version) << " " << c.Status;
    ASSERT_EQ(s.Platform.OpenedUrls.size(), c.Opened);
    if (c.Opened) {
      EXPECT_EQ(s.Platform.OpenedUrls[0], s.Url);
      EXPECT_EQ(s.Platform.OpenedOwners[0], static_cast<TNativeWindow>(&s.View));
    }
    EXPECT_EQ(s.View.Texts[TControl::ButtonCheckUpdates], u"Проверить обновления");
  }
}

TEST(MainFormUpdate, SettingsUnavailableLeaveManualChecks) {
  TUpdateSetup s;
  s.Platform.Environment[u"LOCALAPPDATA"] = std::nullopt;
  s.Form->FormShow();
  EXPECT_FALSE(s.View.CheckedState[TControl::CheckAutoUpdates]);
  EXPECT_FALSE(s.View.IsEnabled(TControl::CheckAutoUpdates));
  s.Version = kCurrent;
  s.Form->ButtonCheckUpdatesClick();
  s.Collect();
  EXPECT_EQ(s.WorkersMade, 1);
  EXPECT_EQ(s.View.Entries("box").size(), 1u);
  s.Form->CheckAutoUpdatesClick();  // does nothing without a settings file
  EXPECT_EQ(s.View.Entries("box").size(), 1u);
}

TEST(MainFormUpdate, CheckBoxIsStoredAndAFailedWriteWarns) {
  TUpdateSetup s;
  s.Form->FormShow();
  for (bool on : {true, false}) {
    s.View.CheckedState[TControl::CheckAutoUpdates] = on;
    s.Form->CheckAutoUpdatesClick();
    EXPECT_EQ(s.Platform.IniRead(s.SettingsPath(), u"Updates", u"Automatic", u""), on ? u"1" : u"0");
  }
  s.Platform.FailWrite = [](const std::u16string&) { return true; };
  s.View.CheckedState[TControl::CheckAutoUpdates] = true;
  s.Form->CheckAutoUpdatesClick();
  EXPECT_EQ(s.View.Entries("box"),
            std::vector<std::string>{"box Warning Не удалось сохранить настройку: Unable to write to " +
                                     Utf16ToUtf8(s.SettingsPath())});
  EXPECT_TRUE(s.View.CheckedState[TControl::CheckAutoUpdates]);
}

TEST(MainFormUpdate, OneCheckAtATimeAndClosingWaitsSilently) {
  TUpdateSetup s;
  s.Form->FormShow();
  s.Form->StartUpdateCheck(true);
  s.Form->StartUpdateCheck(true);
  EXPECT_EQ(s.WorkersMade, 1);
  s.Form->FormDestroy();
  EXPECT_FALSE(s.Form->CheckOutstanding());
  EXPECT_TRUE(s.View.Entries("box").empty());
  EXPECT_TRUE(s.View.Entries("dialog").empty());
  EXPECT_FALSE(s.View.TimerEnabled);
}

TEST(MainFormUpdate, FocusReturnsToTheCheckButtonUnlessTheUserMovedOn) {
  struct Case {
    std::optional<TControl> MovedTo;  // where the user put the focus while the check ran
    TControl End;
  } cases[] = {{std::nullopt, TControl::ButtonCheckUpdates}, {TControl::Memo1, TControl::Memo1}};
  for (const auto& c : cases) {
    TUpdateSetup s;
    s.Version = kCurrent;
    s.Form->FormShow();
    s.View.Focused = TControl::ButtonCheckUpdates;  // clicked
    s.Form->ButtonCheckUpdatesClick();
    EXPECT_FALSE(s.View.Focused.has_value());  // the disabled button lost it
    s.View.Focused = c.MovedTo;
    s.Collect();
    EXPECT_EQ(s.View.Entries("box").size(), 1u);
    EXPECT_EQ(s.View.Focused, c.End);
  }
}

TEST(MainFormUpdate, AWorkerThatCannotStartLeavesTheButtonIdle) {
  for (bool manual : {true, false}) {
    TUpdateSetup s;
    s.Store("1", "0");
    s.WorkerFails = true;
    s.Form->FormShow();  // the automatic check fails to start, silently
    if (manual) s.Form->ButtonCheckUpdatesClick();
    EXPECT_EQ(s.WorkersMade, manual ? 2 : 1);
    EXPECT_FALSE(s.Form->CheckOutstanding());
    EXPECT_FALSE(s.View.TimerEnabled);
    EXPECT_TRUE(s.View.IsEnabled(TControl::ButtonCheckUpdates));
    EXPECT_EQ(s.View.Texts[TControl::ButtonCheckUpdates], u"Проверить обновления");
    const auto boxes = s.View.Entries("box");
    if (manual) {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_TRUE(
          boxes[0].starts_with("box Warning Не удалось проверить обновления. Проверьте подключение к интернету.\r\n"))
          << boxes[0];
      EXPECT_GT(boxes[0].size(), std::string("box Warning Не удалось проверить обновления. Проверьте подключение к "
                                             "интернету.\r\n")
                                     .size());  // the reason follows
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    // The settings were read, so the check box stays usable.
    EXPECT_TRUE(s.View.IsEnabled(TControl::CheckAutoUpdates));
  }
}

TEST(MainFormUpdate, TheSettingsFileIsKeptWhenOnlyALaterStepFails) {
  struct Case {
    bool SettingsReadable;
    const char16_t* Recorded;  // LastAttemptUTC after a manual check
  } cases[] = {{true, u"1800000000"}, {false, u"0"}};
  for (const auto& c : cases) {
    TUpdateSetup s;
    s.Store("0", "0");
    if (c.SettingsReadable) {
      s.Platform.ClockFailures = 1;  // the first showing fails after the settings were read
    } else {
      s.Platform.Environment[u"LOCALAPPDATA"] = std::nullopt;
    }
    s.Form->FormShow();
    EXPECT_FALSE(s.View.IsEnabled(TControl::CheckAutoUpdates));
    s.Platform.Environment[u"LOCALAPPDATA"] = s.LocalAppData.Path();
    s.Version = kCurrent;
    s.Form->ButtonCheckUpdatesClick();
    s.Collect();
    EXPECT_EQ(s.Platform.IniRead(s.SettingsPath(), u"Updates", u"LastAttemptUTC", u""), c.Recorded);
  }
}

}  // namespace velmora
