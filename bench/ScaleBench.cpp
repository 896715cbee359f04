// Scale: override corpora of 10,000 to 100,000 weekly records and jokes, written to a
// scratch program folder. Prints, per size, the time of GenerateAstroWeek and
// GenerateJokeWeek, the rate of reading and parsing the override text, and the peak
// resident memory so far (sizes run in increasing order, so it is that size's peak).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

#include "astro/AstroCore.h"
#include "astro/AstroTables.h"
#include "base/Utf.h"
#include "bench/BenchSupport.h"
#include "jokes/JokeCore.h"
#include "support/JsonLines.h"

namespace {

using namespace velmora;

using bench::TScratchPlatform;

std::string SyntheticWeekly(int records) {
  std::string out;
  out.reserve(static_cast<std::size_t>(records) * 520);
  for (int i = 0; i < records; ++i) {
    const TDate week = AddDays({2000, 1, 3}, 7LL * (i / 12));
    const std::string sign = Utf16ToUtf8(SignNames[i % 12]);
    const std::string n = std::to_string(i);
    out += "{\"content_type\": \"astro_weekly\", \"week_start\": \"" + Utf16ToUtf8(FormatIsoDate(week)) +
           "\", \"sign\": \"" + sign + "\", \"good_day\": \"вторник\", \"bad_day\": \"среда\", \"text\": \"" +
           Utf16ToUtf8(SignHeaders[i % 12]) + " Запись номер " + n +
           " рассказывает о делах недели подробно и спокойно. Вторая фраза записи " + n +
           " говорит о деньгах и работе. Третья фраза записи " + n +
           " советует отдохнуть в выходные с семьёй. Но четвёртая фраза записи " + n +
           " напоминает о здоровье. Благоприятный день - вторник, неблагоприятный день - среда.\", "
           "\"source_file\": \"synthetic\", \"root\": \"scale\"}\n";
  }
  return out;
}

std::string SyntheticJokes(int records) {
  std::string out;
  out.reserve(static_cast<std::size_t>(records) * 260);
  for (int i = 0; i < records; ++i) {
    const TDate week = AddDays({2000, 1, 3}, 7LL * (i / 20));
    out += "{\"content_type\": \"joke\", \"week_start\": \"" + Utf16ToUtf8(FormatIsoDate(week)) +
           "\", \"number_in_file\": " + std::to_string(i % 20 + 1) + ", \"text\": \"Анекдот номер " +
           std::to_string(i) +
           ": — Доктор, меня все игнорируют. — Следующий!\", \"source_file\": \"synthetic\", "
           "\"root\": \"scale\"}\n";
  }
  return out;
}

double Seconds(const std::function<void()>& fn) {
  auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

long PeakKb() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  auto system = MakeSystemPlatform();
  const auto root = std::filesystem::temp_directory_path() / "velmora-scale";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root / "data");
  const std::u16string program = Utf8ToUtf16((root / "").string());
  TScratchPlatform platform(*system, program);
  system->WriteWholeFileAtomic(program + u"agent.id", "scale");
  std::printf("%8s %10s %10s %12s %10s %10s %10s\n", "records", "astro s", "jokes s", "parse MB/s", "weekly MB",
              "jokes MB", "peak MB");
  for (int records : {10000, 25000, 50000, 100000}) {
    const std::string weekly = SyntheticWeekly(records);
    const std::string jokes = SyntheticJokes(records);
    system->WriteWholeFileAtomic(program + u"data/weekly_horoscopes.jsonl", weekly);
    system->WriteWholeFileAtomic(program + u"data/jokes.jsonl", jokes);
    const double astro = Seconds([&] { GenerateAstroWeek(platform, program + u"out", {2026, 1, 5}); });
    const double joke = Seconds([&] { GenerateJokeWeek(platform, program + u"out", 30, {2026, 1, 5}); });
    const double parse = Seconds([&] {
      auto items = ParseWeeklyItems(ReadUtf8File(platform, program + u"data/weekly_horoscopes.jsonl"));
      auto more = ParseJokeItems(ReadUtf8File(platform, program + u"data/jokes.jsonl"));
      if (items.empty() || more.empty()) std::abort();
    });
    const double megabytes = (weekly.size() + jokes.size()) / 1e6;
    std::printf("%8d %10.3f %10.3f %12.1f %10.1f %10.1f %10.1f\n", records, astro, joke, megabytes / parse,
                weekly.size() / 1e6, jokes.size() / 1e6, PeakKb() / 1024.0);
  }
  std::filesystem::remove_all(root);
  return 0;
}
