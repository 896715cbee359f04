#include "cli/Cli.h"

#include <optional>

#include "astro/AstroCore.h"
#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "cli/CliCorpusCheck.h"
#include "cli/CliUpdate.h"
#include "folk/FolkCore.h"
#include "jokes/JokeCore.h"
#include "support/Dates.h"
#include "update/PageUrl.h"

namespace velmora {

namespace {

const char* const kUsage =
    "Использование:\n"
    "  velmora-cli folk  [--week YYYY-MM-DD] [--weeks N] [--out FOLDER]\n"
    "  velmora-cli astro [--week YYYY-MM-DD] [--weeks N] [--out FOLDER]\n"
    "  velmora-cli jokes [--week YYYY-MM-DD] [--weeks N] [--out FOLDER] [--count N]\n"
    "  velmora-cli all   [--week YYYY-MM-DD] [--weeks N] [--out FOLDER] [--count N]\n"
    "  velmora-cli check-corpus FILE\n"
    "  velmora-cli check-update [--page URL]\n"
    "  velmora-cli --help | --version\n"
    "  --weeks N: от 1 до 1000 недель подряд, через 7 дней от --week; все они между 0001-01-01 и 9999-12-31\n";

constexpr int kMaxWeeks = 1000;
constexpr TDate kFirstWeekDate{1, 1, 1};
constexpr TDate kLastWeekDate{9999, 12, 31};

struct TUsageError {
  std::string Problem;
};

struct TGenerateOptions {
  TDate Week;
  int Weeks = 1;
  std::u16string Out;
  int Count = 20;
};

// A strict yyyy-mm-dd date for the command line (the corpus reader is more lenient).
TDate ParseWeekOption(const std::u16string& text) {
  bool shaped = text.size() == 10 && text[4] == u'-' && text[7] == u'-';
  for (std::size_t i = 0; shaped && i < text.size(); ++i)
    if (i != 4 && i != 7 && (text[i] < u'0' || text[i] > u'9')) shaped = false;
  if (!shaped) throw TUsageError{"--week ждёт дату в виде ГГГГ-ММ-ДД: " + Utf16ToUtf8(text)};
  try {
    return ParseIsoDate(text);
  } catch (const TError&) {
    throw TUsageError{"--week: такой даты нет: " + Utf16ToUtf8(text)};
  }
}

// Digits only: the number of weeks takes no sign.
int ParseWeeksOption(const std::u16string& text) {
  const bool digitFirst = !text.empty() && text[0] >= u'0' && text[0] <= u'9';
  const std::optional<std::int64_t> value = digitFirst ? ParseDecimal(text) : std::nullopt;
  if (!value || *value < 1 || *value > kMaxWeeks)
    throw TUsageError{"--weeks ждёт целое число от 1 до 1000: " + Utf16ToUtf8(text)};
  return static_cast<int>(*value);
}

// The date of every week written lies between 0001-01-01 and 9999-12-31, so no file
// name gets a five-digit year; checked before the first file is written.
void RequireWeeksInRange(const TGenerateOptions& options) {
  const TDate last = AddDays(options.Week, 7LL * (options.Weeks - 1));
  if (DaysFromCivil(options.Week) < DaysFromCivil(kFirstWeekDate) || DaysFromCivil(last) > DaysFromCivil(kLastWeekDate))
    throw TUsageError{
        "--week и --weeks: все недели должны лежать между 0001-01-01 и 9999-12-31, а неделя " +
        Utf16ToUtf8(FormatIsoDate(DaysFromCivil(last) > DaysFromCivil(kLastWeekDate) ? last : options.Week)) +
        " за ними"};
}

// A page address for check-update, refused before any connection is made.
std::u16string ParsePageOption(const std::u16string& url) {
  const char* problem = nullptr;
  switch (ParsePageUrl(url)) {
    case TPageUrlVerdict::Accepted: return url;
    case TPageUrlVerdict::Malformed:
      problem = "--page ждёт адрес вида https://узел[:порт]/путь/ (латиница, без ?, # и \\)";
      break;
    case TPageUrlVerdict::UserInformation:
      problem = "--page: в адресе не может быть имени пользователя или пароля (знака @)";
      break;
    case TPageUrlVerdict::PlainHttpElsewhere:
      problem = "--page: http:// допустим только для 127.0.0.1, localhost и [::1], иначе https://";
      break;
  }
  throw TUsageError{std::string(problem) + ": " + Utf16ToUtf8(url)};
}

TGenerateOptions ParseGenerateOptions(Platform& platform, const std::vector<std::u16string>& args, bool allowCount) {
  TGenerateOptions options;
  const TLocalDate today = platform.Today();
  options.Week = DefaultWeekStart(TDate{today.Year, today.Month, today.Day});
  options.Out = platform.ProgramFolder();
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::u16string& name = args[i];
    if (i + 1 >= args.size()) throw TUsageError{"нет значения у " + Utf16ToUtf8(name)};
    const std::u16string& value = args[++i];
    if (name == u"--week")
      options.Week = ParseWeekOption(value);
    else if (name == u"--weeks")
      options.Weeks = ParseWeeksOption(value);
    else if (name == u"--out")
      options.Out = value;
    else if (name == u"--count" && allowCount)
      options.Count = ParseJokeCount(value);
    else
      throw TUsageError{"неизвестный параметр " + Utf16ToUtf8(name)};
  }
  RequireWeeksInRange(options);
  return options;
}

// The paths on standard output are the caller's record of what was written: when they
// cannot be written (a full disk, a closed pipe), the run fails rather than exit 0.
void RequireWritten(std::ostream& out) {
  out.flush();
  if (!out) throw TError(TErrorKind::FileSystem, u"Не удалось записать в стандартный вывод");
}

int Generate(Platform& platform, const std::vector<std::u16string>& args, std::ostream& out) {
  const std::u16string& command = args[0];
  const bool folk = command == u"folk" || command == u"all";
  const bool astro = command == u"astro" || command == u"all";
  const bool jokes = command == u"jokes" || command == u"all";
  const TGenerateOptions options = ParseGenerateOptions(platform, args, jokes);
  for (int w = 0; w < options.Weeks; ++w) {
    const TDate week = AddDays(options.Week, 7LL * w);
    if (folk) out << Utf16ToUtf8(GenerateFolkWeek(platform, options.Out, week)) << "\n";
    if (astro) out << Utf16ToUtf8(GenerateAstroWeek(platform, options.Out, week)) << "\n";
    if (jokes) out << Utf16ToUtf8(GenerateJokeWeek(platform, options.Out, options.Count, week)) << "\n";
    RequireWritten(out);
  }
  return 0;
}

int Dispatch(Platform& platform, const std::vector<std::u16string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) throw TUsageError{"не указана команда"};
  const std::u16string& command = args[0];
  if (command == u"--help" || command == u"-h") {
    out << kUsage;
    return 0;
  }
  if (command == u"--version") {
    out << "velmora-cli " << VELMORA_VERSION << "\n";
    return 0;
  }
  if (command == u"folk" || command == u"astro" || command == u"jokes" || command == u"all")
    return Generate(platform, args, out);
  if (command == u"check-corpus") {
    if (args.size() != 2) throw TUsageError{"check-corpus ждёт один файл"};
    return CheckCorpusFile(platform, args[1], out, err);
  }
  if (command == u"check-update") {
    std::optional<std::u16string> page;
    if (args.size() == 3 && args[1] == u"--page")
      page = ParsePageOption(args[2]);
    else if (args.size() != 1)
      throw TUsageError{"check-update принимает только --page URL"};
    return CheckUpdateCommand(platform, page, out, err);
  }
  throw TUsageError{"неизвестная команда " + Utf16ToUtf8(command)};
}

// A usage problem as printed: control characters escaped, as in an error message.
std::string Shown(std::string_view message) { return Utf16ToUtf8(EscapeControlCharacters(Utf8ToUtf16(message))); }

}  // namespace

int RunCli(Platform& platform, const std::vector<std::u16string>& args, std::ostream& out, std::ostream& err) {
  try {
    const int status = Dispatch(platform, args, out, err);
    RequireWritten(out);
    return status;
  } catch (const TUsageError& e) {
    err << Shown(e.Problem) << "\n" << kUsage;
    return 2;
  } catch (const std::exception& e) {
    err << Utf16ToUtf8(ErrorPrefix + MessageOf(e)) << "\n";
    return 1;
  }
}

}  // namespace velmora
