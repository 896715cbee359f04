#include "app/MainForm.h"

#include "astro/AstroCore.h"
#include "folk/FolkCore.h"
#include "jokes/JokeCore.h"
#include "jokes/JokeEmbeddedData.h"
#include "support/Documents.h"
#include "support/Error.h"
#include "support/Paths.h"
#include "support/Text.h"
#include "support/Utf.h"
#include "update/Version.h"

namespace velmora {

namespace {

constexpr char16_t kNotMonday[] = u"Выберите понедельник нужной недели.";
constexpr char16_t kNotMondayQuestion[] = u"Выбранная дата не является понедельником. Всё равно продолжить?";
constexpr char16_t kDone[] = u"Готово!";

std::u16string MessageOf(const std::exception& e) {
  if (auto* error = dynamic_cast<const TError*>(&e)) return error->Message();
  return EscapeControlCharacters(Utf8ToUtf16(e.what()));
}

}  // namespace

TGenerators RealGenerators(Platform& platform) {
  return TGenerators{
      [&platform](const std::u16string& folder, const TDate& week) { return GenerateFolkWeek(platform, folder, week); },
      [&platform](const std::u16string& folder, const TDate& week) { return GenerateAstroWeek(platform, folder, week); },
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

TDate TFormMain::DefaultWeekStart(const TDate& today) { return velmora::DefaultWeekStart(today); }

std::u16string TFormMain::DefaultOutputFolder() { return WithTrailingSeparator(FPlatform, FPlatform.ProgramFolder()); }

void TFormMain::LinkClick(TControl sender) {
  if (sender == TControl::LabelSites) FPlatform.OpenUrl(ProductPageUrl);
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
    FView.ShowMessage(TMessageKind::Warning, kNotMonday);
    FView.Focus(TControl::DatePicker);
    return;
  }
  FView.SetEnabled(TControl::ButtonGenerateFolk, false);
  FView.SetBusyCursor(true);
  try {
    SetStatus(u"Подготовка народных примет...");
    const std::u16string path = FGenerators.Folk(FView.Text(TControl::EditOutput), week);
    SetStatus(SuccessPrefix + path);
    FView.SetBusyCursor(false);
    FView.ShowMessage(TMessageKind::Information, kDone);
    LoadFileView(path);
  } catch (const std::exception& e) {
    FView.SetBusyCursor(false);
    const std::u16string text = ErrorPrefix + MessageOf(e);
    SetStatus(text);
    FView.ShowMessage(TMessageKind::Error, text);
  }
  FView.SetBusyCursor(false);
  FView.SetEnabled(TControl::ButtonGenerateFolk, true);
}

void TFormMain::ButtonBrowseClick() {
  if (auto folder = FView.PickFolder(FView.Text(TControl::EditOutput)))
    FView.SetText(TControl::EditOutput, WithTrailingSeparator(FPlatform, *folder));
}

bool TFormMain::ConfirmNonMonday(const TDate& week) {
  return IsoWeekday(week) == 1 || FView.ShowMessage(TMessageKind::Question, kNotMondayQuestion) == TMessageResult::Yes;
}

void TFormMain::RunGenerateCommand(TControl button, const std::u16string& runningStatus, const std::u16string& note,
                                   const std::function<std::u16string()>& generate) {
  FView.SetEnabled(button, false);
  FView.SetBusyCursor(true);
  try {
    SetStatus(runningStatus);
    const std::u16string path = generate();
    SetStatus(SuccessPrefix + path + u"\r\n\r\n" + note);
    FView.ShowMessage(TMessageKind::Information, kDone);
    LoadFileView(path);
  } catch (const std::exception& e) {
    const std::u16string text = ErrorPrefix + MessageOf(e);
    SetStatus(text);
    FView.ShowMessage(TMessageKind::Error, text);
  }
  FView.SetBusyCursor(false);
  FView.SetEnabled(button, true);
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
