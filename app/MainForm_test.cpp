#include "app/MainForm.h"

#include <gtest/gtest.h>

#include "app/FakeMainView.h"
#include "base/Error.h"
#include "base/Text.h"
#include "jokes/JokeEmbeddedData.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"
#include "update/Version.h"

namespace velmora {

namespace {

using testing::FakeMainView;

// A form on a fake view whose generators record their calls and write a small file
// (or throw when Fail is set).
struct TFormSetup {
  FakeMainView View;
  testing::FakePlatform Platform;
  testing::TempFolder Folder;
  std::vector<std::string> Calls;
  std::optional<std::u16string> Fail;
  bool FailWithoutMessage = false;  // the generator throws something that is no std::exception
  std::unique_ptr<TFormMain> Form;

  TFormSetup() {
    Platform.TodayValue = TLocalDate{2026, 12, 10};
    Platform.ProgramFolderValue = Folder.Path();
    auto write = [this](const char* what, const std::u16string& folder, const TDate& week) {
      Calls.push_back(std::string(what) + " " + Utf16ToUtf8(folder) + " " + Utf16ToUtf8(FormatIsoDate(week)));
      View.Log.push_back(std::string("generate ") + what);
      if (Fail) throw TError(TErrorKind::General, *Fail);
      if (FailWithoutMessage) throw 42;
      const std::u16string path = Folder / (U16(what) + u".txt");
      testing::WriteBytes(path, "\xEF\xBB\xBFline one\r\nline two\r\n");
      return path;
    };
    TGenerators generators{[=](const std::u16string& f, const TDate& w) { return write("folk", f, w); },
                           [=](const std::u16string& f, const TDate& w) { return write("astro", f, w); },
                           [=, this](const std::u16string& f, int count, const TDate& w) {
                             Calls.push_back("count " + std::to_string(count));
                             return write("jokes", f, w);
                           }};
    Form = std::make_unique<TFormMain>(View, Platform, generators,
                                       [this] { return std::make_unique<TUpdateWorker>(Platform, u"http://x/"); });
    Form->FormCreate();
    View.Log.clear();
  }
};

}  // namespace

TEST(MainForm, FormCreatePresets) {
  TFormSetup s;
  EXPECT_EQ(s.View.Caption, u"Velmora " + std::u16string(CurrentVersion));
  EXPECT_EQ(s.View.Date, (TDate{2026, 12, 21}));  // a Thursday gives the Monday 11 days on
  EXPECT_EQ(s.View.Texts[TControl::EditOutput], s.Folder.Path());
  EXPECT_EQ(s.View.Texts[TControl::MemoStatus], u"Выберите дату понедельника и нужное действие.");
  EXPECT_EQ(s.View.Texts[TControl::Label1], u"Анекдотов в базе: " + ToDecimal(JokeCorpusRecordCount));
  EXPECT_EQ(s.View.Texts[TControl::ButtonGenerate], u"Гороскоп и астропрогноз");
  EXPECT_EQ(s.View.Texts[TControl::ButtonGenerateJokes], u"Анекдоты");
  EXPECT_EQ(s.View.Texts[TControl::ButtonGenerateFolk], u"Народные приметы");
  EXPECT_EQ(s.View.Texts[TControl::ButtonBrowse], u"Выбрать...");
  EXPECT_EQ(s.View.Texts[TControl::CheckAutoUpdates], u"Проверять автоматически, не чаще раза в сутки");
}

TEST(MainForm, DefaultOutputFolderEndsInOneSeparator) {
  TFormSetup s;
  s.Platform.ProgramFolderValue = u"/opt/velmora";
  EXPECT_EQ(s.Form->DefaultOutputFolder(), u"/opt/velmora" + std::u16string(1, s.Platform.PathSeparator()));
}

TEST(MainForm, FolkCommandSuccessStepsInOrder) {
  TFormSetup s;
  s.View.Texts[TControl::EditOutput] = u" D:\\Press ";  // passed as typed
  s.View.Focused = TControl::ButtonGenerateFolk;        // clicked
  s.Form->ButtonGenerateFolkClick();
  const std::string path = Utf16ToUtf8(s.Folder / u"folk.txt");
  EXPECT_EQ(s.Calls, std::vector<std::string>{"folk  D:\\Press  2026-12-21"});
  const std::vector<std::string> expected = {
      "disable " + std::to_string(static_cast<int>(TControl::ButtonGenerateFolk)),
      "busy 1",
      "status Подготовка народных примет...",
      "generate folk",
      "status Готово.\r\nФайл создан:\r\n" + path,
      "busy 0",
      "box Information Готово!",
      "memo 0",
      "memo 20",
      "busy 0",
      "enable " + std::to_string(static_cast<int>(TControl::ButtonGenerateFolk)),
      "focus " + std::to_string(static_cast<int>(TControl::ButtonGenerateFolk))};
  EXPECT_EQ(s.View.Log, expected);
  EXPECT_EQ(s.View.Texts[TControl::Memo1], u"line one\r\nline two\r\n");
}

TEST(MainForm, FolkCommandRefusesOtherDays) {
  TFormSetup s;
  s.View.Date = {2026, 1, 4};  // a Sunday
  s.View.Focused = TControl::ButtonGenerateFolk;
  s.Form->ButtonGenerateFolkClick();
  EXPECT_EQ(s.View.Log,
            (std::vector<std::string>{"box Warning Выберите понедельник нужной недели.",
                                      "focus " + std::to_string(static_cast<int>(TControl::ButtonGenerateFolk)),
                                      "focus " + std::to_string(static_cast<int>(TControl::DatePicker))}));
  EXPECT_EQ(s.View.Focused, TControl::DatePicker);
  EXPECT_TRUE(s.Calls.empty());
}

TEST(MainForm, GeneratorErrorsShowInStatusAndBoxAndKeepTheFileView) {
  struct Case {
    void (TFormMain::*Command)();
    bool BusyDuringBox;
  } cases[] = {{&TFormMain::ButtonGenerateFolkClick, false},
               {&TFormMain::ButtonGenerateClick, true},
               {&TFormMain::ButtonGenerateJokesClick, true}};
  for (const auto& c : cases) {
    TFormSetup s;
    s.View.Texts[TControl::Memo1] = u"earlier";
    s.Fail = u"Выберите папку вывода.";
    (s.Form.get()->*c.Command)();
    EXPECT_EQ(s.View.Texts[TControl::MemoStatus], u"Ошибка: Выберите папку вывода.");
    EXPECT_EQ(s.View.Entries("box"),
              std::vector<std::string>{std::string("box Error") + (c.BusyDuringBox ? " busy " : " ") +
                                       "Ошибка: Выберите папку вывода."});
    EXPECT_EQ(s.View.Texts[TControl::Memo1], u"earlier");
    EXPECT_FALSE(s.View.Busy);
    for (auto button : {TControl::ButtonGenerate, TControl::ButtonGenerateJokes, TControl::ButtonGenerateFolk})
      EXPECT_TRUE(s.View.IsEnabled(button));
  }
}

// The status box and the error box take NUL-terminated texts: a NUL would cut the
// message there, so it arrives escaped.
TEST(MainForm, ANulInAnErrorReachesTheWindowEscaped) {
  TFormSetup s;
  using namespace std::string_literals;
  s.Fail = u"'0\0' is not a valid integer value"s;
  s.Form->ButtonGenerateJokesClick();
  EXPECT_EQ(s.View.Texts[TControl::MemoStatus], u"Ошибка: '0\\u0000' is not a valid integer value");
}

TEST(MainForm, AstroCommandKeepsTheHourglassUntilItsBoxCloses) {
  TFormSetup s;
  s.Form->ButtonGenerateClick();
  const std::string path = Utf16ToUtf8(s.Folder / u"astro.txt");
  EXPECT_EQ(s.View.Entries("status"),
            (std::vector<std::string>{"status Генерация...",
                                      "status Готово.\r\nФайл создан:\r\n" + path +
                                          "\r\n\r\nПовторная генерация на эту же дату даст тот же результат."}));
  EXPECT_EQ(s.View.Entries("box"), std::vector<std::string>{"box Information busy Готово!"});
  EXPECT_FALSE(s.View.Busy);
  // Twice: the same status again.
  const auto first = s.View.Texts[TControl::MemoStatus];
  s.Form->ButtonGenerateClick();
  EXPECT_EQ(s.View.Texts[TControl::MemoStatus], first);
}

TEST(MainForm, NonMondayQuestionForAstroAndJokes) {
  for (auto command : {&TFormMain::ButtonGenerateClick, &TFormMain::ButtonGenerateJokesClick}) {
    TFormSetup s;
    s.View.Date = {2026, 1, 7};  // a Wednesday
    s.View.Texts[TControl::EditJokeCount] = u"45";
    (s.Form.get()->*command)();  // no
    EXPECT_EQ(s.View.Log,
              (std::vector<std::string>{"box Question Выбранная дата не является понедельником. Всё равно продолжить?",
                                        "focus " + std::to_string(static_cast<int>(TControl::DatePicker))}));
    EXPECT_TRUE(s.Calls.empty());
    EXPECT_EQ(s.View.Texts[TControl::EditJokeCount], u"45");  // not normalised yet
    s.View.Answers.push_back(TMessageResult::Yes);
    (s.Form.get()->*command)();
    ASSERT_FALSE(s.Calls.empty());
    EXPECT_NE(s.Calls.back().find("2026-01-07"), std::string::npos);  // the Wednesday itself
  }
}

TEST(MainForm, JokeCountIsNormalisedBeforeTheRun) {
  struct Case {
    const char16_t* Field;
    const char16_t* Shown;
    int Asked;
  } cases[] = {{u"", u"20", 20},  {u"0", u"1", 1}, {u"45", u"30", 30}, {u"007", u"7", 7}, {u"12345678901", u"20", 20},
               {u"30", u"30", 30}};
  for (const auto& c : cases) {
    TFormSetup s;
    s.View.Texts[TControl::EditJokeCount] = c.Field;
    s.Form->ButtonGenerateJokesClick();
    EXPECT_EQ(s.View.Texts[TControl::EditJokeCount], c.Shown) << Utf16ToUtf8(c.Field);
    ASSERT_FALSE(s.Calls.empty());
    EXPECT_EQ(s.Calls.front(), "count " + std::to_string(c.Asked));
    EXPECT_TRUE(s.View.Texts[TControl::MemoStatus].ends_with(
        u"\r\n\r\nПовторная генерация на эту же дату и количество даст тот же результат."));
  }
}

TEST(MainForm, DigitFilterKeepsDigitsAndClampsTheCaret) {
  struct Case {
    const char16_t* Typed;
    int Caret;
    const char16_t* Kept;
    int NewCaret;
  } cases[] = {{u"1a2", 2, u"12", 2}, {u" 12 ", 4, u"12", 2}, {u"12", 1, u"12", 1},
               {u"-5", 2, u"5", 1},   {u"١٢3", 3, u"3", 1},   {u"abc", 3, u"", 0}};
  for (const auto& c : cases) {
    TFormSetup s;
    s.View.Texts[TControl::EditJokeCount] = c.Typed;
    s.View.Carets[TControl::EditJokeCount] = c.Caret;
    s.Form->EditJokeCountChange();
    EXPECT_EQ(s.View.Texts[TControl::EditJokeCount], c.Kept) << Utf16ToUtf8(c.Typed);
    EXPECT_EQ(s.View.Carets[TControl::EditJokeCount], c.NewCaret) << Utf16ToUtf8(c.Typed);
  }
}

TEST(MainForm, BrowseAndLink) {
  TFormSetup s;
  s.View.Texts[TControl::EditOutput] = u"C:\\Old";
  s.Form->ButtonBrowseClick();  // cancelled
  EXPECT_EQ(s.View.FolderDialogStart, u"C:\\Old");
  EXPECT_EQ(s.View.Texts[TControl::EditOutput], u"C:\\Old");
  const std::u16string sep(1, s.Platform.PathSeparator());
  for (const std::u16string& picked : {std::u16string(u"/data/press"), u"/data/press" + sep}) {
    s.View.PickedFolder = picked;
    s.Form->ButtonBrowseClick();
    EXPECT_EQ(s.View.Texts[TControl::EditOutput], u"/data/press" + sep);
  }
  s.Form->LinkClick(TControl::LabelCopyright);
  s.Form->LinkClick(TControl::LabelAuthor);
  EXPECT_TRUE(s.Platform.OpenedUrls.empty());
  s.Form->LinkClick(TControl::LabelSites);
  ASSERT_EQ(s.Platform.OpenedUrls.size(), 1u);
  EXPECT_EQ(s.Platform.OpenedOwners, std::vector<TNativeWindow>{&s.View});  // the window owns the request
  EXPECT_TRUE(s.Platform.OpenedUrls[0].starts_with(u"https://"));
  EXPECT_TRUE(s.Platform.OpenedUrls[0].ends_with(u"/"));
}

TEST(MainForm, UnreadableFileViewReportsTheReadError) {
  TFormSetup s;
  s.View.Texts[TControl::Memo1] = u"earlier";
  TGenerators gone{nullptr, [&](const std::u16string&, const TDate&) { return s.Folder / u"missing.txt"; }, nullptr};
  TFormMain form(s.View, s.Platform, gone, nullptr);
  form.ButtonGenerateClick();
  EXPECT_TRUE(s.View.Texts[TControl::MemoStatus].starts_with(u"Ошибка: "))
      << Utf16ToUtf8(s.View.Texts[TControl::MemoStatus]);
  EXPECT_EQ(s.View.Texts[TControl::Memo1], u"earlier");
}

TEST(MainForm, FocusComesBackAfterBoxesDialogsAndCommands) {
  struct Case {
    const char* Name;
    TDate Date;
    TControl Start;  // where the focus was when the command began
    void (TFormMain::*Command)();
    bool Fails;
    TControl End;
  } cases[] = {{"folk clicked",
                {2026, 1, 5},
                TControl::ButtonGenerateFolk,
                &TFormMain::ButtonGenerateFolkClick,
                false,
                TControl::ButtonGenerateFolk},
               {"astro by Enter in the folder field",
                {2026, 1, 5},
                TControl::EditOutput,
                &TFormMain::ButtonGenerateClick,
                false,
                TControl::EditOutput},
               {"jokes failing",
                {2026, 1, 5},
                TControl::ButtonGenerateJokes,
                &TFormMain::ButtonGenerateJokesClick,
                true,
                TControl::ButtonGenerateJokes},
               {"astro on a Wednesday, answered No",
                {2026, 1, 7},
                TControl::ButtonGenerate,
                &TFormMain::ButtonGenerateClick,
                false,
                TControl::ButtonGenerate},
               {"folk on a Sunday",
                {2026, 1, 4},
                TControl::ButtonGenerateFolk,
                &TFormMain::ButtonGenerateFolkClick,
                false,
                TControl::DatePicker},
               {"browse cancelled",
                {2026, 1, 5},
                TControl::ButtonBrowse,
                &TFormMain::ButtonBrowseClick,
                false,
                TControl::ButtonBrowse}};
  for (const auto& c : cases) {
    TFormSetup s;
    s.View.Date = c.Date;
    s.View.Focused = c.Start;
    if (c.Fails) s.Fail = u"disk full";
    (s.Form.get()->*c.Command)();
    EXPECT_EQ(s.View.Focused, c.End) << c.Name;
  }
}

TEST(MainForm, FocusIsRememberedWhileTheWindowIsInactive) {
  TFormSetup s;
  s.Form->FormActivate();  // the first activation
  EXPECT_EQ(s.View.Focused, TControl::DatePicker);
  s.View.Focused = TControl::Memo1;
  s.Form->FormDeactivate();
  s.View.Focused.reset();  // the system leaves it on the window itself
  s.Form->FormActivate();
  EXPECT_EQ(s.View.Focused, TControl::Memo1);
  s.View.Focused.reset();
  s.Form->FormDeactivate();  // nothing focused: the memory stays
  s.Form->FormActivate();
  EXPECT_EQ(s.View.Focused, TControl::Memo1);
  // A control disabled in the meantime is not given the focus.
  s.View.Focused = TControl::CheckAutoUpdates;
  s.Form->FormDeactivate();
  s.View.SetEnabled(TControl::CheckAutoUpdates, false);
  s.Form->FormActivate();
  EXPECT_FALSE(s.View.Focused.has_value());
}

TEST(MainForm, CommandFrameRestoresButtonCursorAndFocusWhateverEscapes) {
  struct Case {
    void (TFormMain::*Command)();
    TControl Button;
  } commands[] = {{&TFormMain::ButtonGenerateFolkClick, TControl::ButtonGenerateFolk},
                  {&TFormMain::ButtonGenerateClick, TControl::ButtonGenerate},
                  {&TFormMain::ButtonGenerateJokesClick, TControl::ButtonGenerateJokes}};
  for (const auto& c : commands) {
    for (bool boxesFail : {false, true}) {
      TFormSetup s;
      s.View.Focused = c.Button;
      if (boxesFail) {
        s.View.BoxesFail = true;  // the generator succeeds, "Готово!" and the error box fail
      } else {
        s.FailWithoutMessage = true;
      }
      EXPECT_ANY_THROW((s.Form.get()->*c.Command)());
      EXPECT_FALSE(s.View.Busy) << static_cast<int>(c.Button) << boxesFail;
      EXPECT_TRUE(s.View.IsEnabled(c.Button)) << static_cast<int>(c.Button) << boxesFail;
      EXPECT_EQ(s.View.Focused, c.Button) << static_cast<int>(c.Button) << boxesFail;
    }
  }
}

}  // namespace velmora
