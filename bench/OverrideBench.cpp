// GenerateAstroWeek with a crafted weekly override: one record of 32,000 distinct
// sentences of equal length, which differ only in their last digits. Every sentence
// list the composer builds from it must find equal sentences without comparing every
// pair, or this one week takes seconds.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "astro/AstroCore.h"
#include "astro/AstroTables.h"
#include "base/Utf.h"
#include "bench/BenchSupport.h"

namespace velmora::bench {
namespace {

constexpr int kSentences = 32000;

std::string CraftedWeeklyRecord() {
  std::string text = Utf16ToUtf8(SignHeaders[0]);
  for (int i = 0; i < kSentences; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%05d", i);
    text += " Спокойная неделя принесёт ровные дела и ясные решения, запись ";
    text += number;
    text += ".";
  }
  text += " Благоприятный день - вторник, неблагоприятный день - среда.";
  return "{\"week_start\": \"2025-01-06\", \"sign\": \"" + Utf16ToUtf8(SignNames[0]) + "\", \"text\": \"" + text +
         "\"}\n";
}

struct TOverrideFixture {
  std::unique_ptr<Platform> System = MakeSystemPlatform();
  std::u16string Program = ScratchFolder() + u"crafted/";
  TScratchPlatform Scratch{*System, Program};
  TOverrideFixture() {
    System->CreateFolders(Program + u"data");
    System->WriteWholeFileAtomic(Program + u"agent.id", "bench");
    System->WriteWholeFileAtomic(Program + u"data/weekly_horoscopes.jsonl", CraftedWeeklyRecord());
  }
};

void BM_AstroWeekOneRecordOf32000Sentences(benchmark::State& state) {
  static TOverrideFixture f;
  for (auto _ : state) GenerateAstroWeek(f.Scratch, f.Program + u"out", TDate{2026, 1, 5});
}
BENCHMARK(BM_AstroWeekOneRecordOf32000Sentences)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace velmora::bench
