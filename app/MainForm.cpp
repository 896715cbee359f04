#include "app/MainForm.h"

#include "astro/AstroCore.h"
#include "base/Error.h"
#include "base/Text.h"
#include "folk/FolkCore.h"
#include "jokes/JokeCore.h"
#include "jokes/JokeEmbeddedData.h"
#include "support/Documents.h"
#include "support/Paths.h"
#include "update/Version.h"

namespace velmora {

namespace {

constexpr char16_t kNotMonday[] = u"Выберите понедельник нужной недели.";
constexpr char16_t kNotMondayQuestion[] = u"Выбранная дата не является понедельником. Всё равно продолжить?";
constexpr char16_t kDone[] = u"Готово!";

}  // namespace

TGenerators RealGenerators(Platform& platform) {
  return TGenerators{
      [&platform](const std::u16string& folder, const TDate& week) { return GenerateFolkWeek(platform, folder, week); },
      [&platform](const std::u16string& folder, const TDate& week) {
        return GenerateAstroWeek(platform, folder, week);
      },
      [&platform](const std::u16string& folder, int count, const TDate& week) {
        return GenerateJokeWeek(platform, folder, count, week);
      }};
}

TFormMain::TFormMain(IMainView& view, Platform& platform, TGenerators generators, TWorkerFactory makeWorker)
    : FView(view), FPlatform(platform), FGenerators(std::move(generators)), FMakeWorker(std::move(makeWorker)) {}

TFormMain::~TFormMain() = default;

void TFormMain::FormCreate() {
  FView.SetCaption(u"Velmora " + std::u16string(CurrentVersion));
  FView.SetText(TControl::ButtonCheckUpdates, u"Проверить обновления");
  FView.SetText(TControl::CheckAutoUpdates, u"Проверять автоматически, не чаще раза в сутки");
  FView.SetText(TControl::LabelDate, u"Понедельник недели");
  FView.SetText(TControl::LabelOutput, u"Папка вывода");
  FView.SetText(TControl::ButtonBrowse, u"Выбрать...");
  FView.SetText(TControl::ButtonGenerate, u"Гороскоп и астропрогноз");
  FView.SetText(TControl::LabelJokeCount, u"Количество анекдотов");
  FView.SetText(TControl::ButtonGenerateJokes, u"Анекдоты");
  FView.SetText(TControl::ButtonGenerateFolk, u"Народные приметы");
  FView.SetText(TControl::LabelCopyright, u"© Velmora, 2026. Все права защищены.");
  FView.SetText(TControl::LabelAuthor, u"Программа для редакции развлекательной полосы еженедельника.");
  FView.SetText(TControl::LabelSites, u"Страница программы: " + std::u16string(ProductPageUrl));
  // The joke count is the embedded corpus's real size, fixed when the program was built.
  FView.SetText(TControl::Label1, u"Анекдотов в базе: " + ToDecimal(JokeCorpusRecordCount));
  const TLocalDate today = FPlatform.Today();
  FView.SetPickerDate(DefaultWeekStart(TDate{today.Year, today.Month, today.Day}));
  FView.SetText(TControl::EditOutput, DefaultOutputFolder());
  SetStatus(StartPrompt);
}

void TFormMain::SetStatus(const std::u16string& text) { FView.SetText(TControl::MemoStatus, text); }

void TFormMain::FormActivate() { RestoreFocus(); }

void TFormMain::FormDeactivate() { RememberFocus(); }

void TFormMain::RememberFocus() {
  // No focused control (a disabled command button had it) keeps the earlier memory.
  if (const auto focused = FView.FocusedControl()) FFocusedControl = *focused;
}

void TFormMain::RestoreFocus() {
  if (FView.Enabled(FFocusedControl)) FView.Focus(FFocusedControl);
}

void TFormMain::MoveFocus(TControl control) {
  FFocusedControl = control;
  RestoreFocus();
}

TMessageResult TFormMain::ShowBox(TMessageKind kind, const std::u16string& text) {
  RememberFocus();
  const TMessageResult result = FView.ShowMessage(kind, text);
  RestoreFocus();
  return result;
}

TFormMain::TBusyFrame::TBusyFrame(TFormMain& form, TControl button) : FForm(form), FButton(button) {
  FForm.RememberFocus();
  FForm.FView.SetEnabled(FButton, false);
  FForm.FView.SetBusyCursor(true);
}

TFormMain::TBusyFrame::~TBusyFrame() {
  // Runs while an exception may be unwinding: nothing may escape from here.
  try {
    FForm.FView.SetBusyCursor(false);
    FForm.FView.SetEnabled(FButton, true);
    FForm.RestoreFocus();
  } catch (...) {
  }
}

std::u16string TFormMain::DefaultOutputFolder() { return WithTrailingSeparator(FPlatform, FPlatform.ProgramFolder()); }

void TFormMain::LinkClick(TControl sender) {
  if (sender == TControl::LabelSites) FPlatform.OpenUrl(ProductPageUrl, FView.NativeWindow());
}

void TFormMain::LoadFileView(const std::u16string& path) {
  // The file is read before the view is emptied, so a failed read leaves it as it was.
  const std::u16string text = ReadDocument(FPlatform, path);
  FView.SetText(TControl::Memo1, u"");
  FView.SetText(TControl::Memo1, text);
}

void TFormMain::ButtonGenerateFolkClick() {
  const TDate week = FView.PickerDate();
  if (IsoWeekday(week) != 1) {
    ShowBox(TMessageKind::Warning, kNotMonday);
    MoveFocus(TControl::DatePicker);
    return;
  }
  TBusyFrame frame(*this, TControl::ButtonGenerateFolk);
  try {
    SetStatus(u"Подготовка народных примет...");
    const std::u16string path = FGenerators.Folk(FView.Text(TControl::EditOutput), week);
    SetStatus(SuccessPrefix + path);
    FView.SetBusyCursor(false);
    ShowBox(TMessageKind::Information, kDone);
    LoadFileView(path);
  } catch (const std::exception& e) {
    FView.SetBusyCursor(false);
    const std::u16string text = ErrorPrefix + MessageOf(e);
    SetStatus(text);
    ShowBox(TMessageKind::Error, text);
  }
}

void TFormMain::ButtonBrowseClick() {
  RememberFocus();
  const auto folder = FView.PickFolder(FView.Text(TControl::EditOutput));
  RestoreFocus();
  if (folder) FView.SetText(TControl::EditOutput, WithTrailingSeparator(FPlatform, *folder));
}

bool TFormMain::ConfirmNonMonday(const TDate& week) {
  return IsoWeekday(week) == 1 || ShowBox(TMessageKind::Question, kNotMondayQuestion) == TMessageResult::Yes;
}

void TFormMain::RunGenerateCommand(TControl button, const std::u16string& runningStatus, const std::u16string& note,
                                   const std::function<std::u16string()>& generate) {
  TBusyFrame frame(*this, button);
  try {
    SetStatus(runningStatus);
    const std::u16string path = generate();
    SetStatus(SuccessPrefix + path + u"\r\n\r\n" + note);
    ShowBox(TMessageKind::Information, kDone);
    LoadFileView(path);
  } catch (const std::exception& e) {
    const std::u16string text = ErrorPrefix + MessageOf(e);
    SetStatus(text);
    ShowBox(TMessageKind::Error, text);
  }
}

void TFormMain::ButtonGenerateClick() {
  const TDate week = FView.PickerDate();
  if (!ConfirmNonMonday(week)) return;
  RunGenerateCommand(TControl::ButtonGenerate, u"Генерация...",
                     u"Повторная генерация на эту же дату даст тот же результат.",
                     [&] { return FGenerators.Astro(FView.Text(TControl::EditOutput), week); });
}

void TFormMain::ButtonGenerateJokesClick() {
  const TDate week = FView.PickerDate();
  if (!ConfirmNonMonday(week)) return;
  const int count = ParseJokeCount(FView.Text(TControl::EditJokeCount));
  FView.SetText(TControl::EditJokeCount, ToDecimal(count));
  RunGenerateCommand(TControl::ButtonGenerateJokes, u"Генерация анекдотов...",
                     u"Повторная генерация на эту же дату и количество даст тот же результат.",
                     [&] { return FGenerators.Jokes(FView.Text(TControl::EditOutput), count, week); });
}

void TFormMain::EditJokeCountChange() {
  const std::u16string text = FView.Text(TControl::EditJokeCount);
  std::u16string digits;
  for (char16_t c : text)
    if (c >= u'0' && c <= u'9') digits.push_back(c);
  if (digits == text) return;
  const int caret = FView.Caret(TControl::EditJokeCount);
  FView.SetText(TControl::EditJokeCount, digits);
  FView.SetCaret(TControl::EditJokeCount, std::min(caret, static_cast<int>(digits.size())));
}

}  // namespace velmora
