// GenerateAstroWeek on the embedded corpora, its stages, and the floor it is measured
// against: inflating the same compressed streams and writing a file of the same size.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>

#include "astro/AstroCore.h"
#include "astro/AstroEmbeddedData.h"
#include "base/Utf.h"
#include "bench/BenchSupport.h"
#include "support/Corpus.h"
#include "support/Documents.h"
#include "support/JsonLines.h"

namespace velmora::bench {
namespace {

const TDate kWeek{2026, 1, 5};

struct TAstroFixture {
  std::unique_ptr<Platform> System = MakeSystemPlatform();
  std::u16string Weekly = WeeklyCorpusText();
  std::u16string Daily = DailyCorpusText();
  std::vector<TWeeklyItem> WeeklyItems = ParseWeeklyItems(Weekly);
  std::vector<TDailyItem> DailyItems = ParseDailyItems(Daily);
  std::string Compressed[2];
  std::size_t Inflated[2] = {0, 0};
  std::size_t DocumentBytes = 0;

  TAstroFixture() {
    // The raw zlib streams, so the floor measures inflation alone.
    const char* const* chunks[2] = {WeeklyCorpusChunks, DailyCorpusChunks};
    const int last[2] = {WeeklyCorpusLastIndex, DailyCorpusLastIndex};
    for (int k = 0; k < 2; ++k) {
      std::string inflated = InflateCorpusChunks(chunks[k], last[k]);
      Inflated[k] = inflated.size();
      uLongf size = compressBound(inflated.size());
      Compressed[k].resize(size);
      compress2(reinterpret_cast<Bytef*>(Compressed[k].data()), &size, reinterpret_cast<const Bytef*>(inflated.data()),
                inflated.size(), 9);
      Compressed[k].resize(size);
    }
    DocumentBytes = Utf16ToUtf8(BuildAstroDocument(WeeklyItems, DailyItems, u"bench", kWeek)).size() + 3;
  }
};

TAstroFixture& Fixture() {
  static TAstroFixture f;
  return f;
}

void RunGenerate() { GenerateAstroWeek(*Fixture().System, ScratchFolder(), kWeek); }

void RunFloor() {
  auto& f = Fixture();
  for (int k = 0; k < 2; ++k) {
    std::string out(f.Inflated[k], '\0');
    uLongf size = out.size();
    uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(f.Compressed[k].data()),
               f.Compressed[k].size());
    benchmark::DoNotOptimize(out.data());
  }
  f.System->WriteWholeFileAtomic(ScratchFolder() + u"floor.txt", std::string(f.DocumentBytes, 'x'));
}

void BM_GenerateAstroWeek(benchmark::State& state) {
  for (auto _ : state) RunGenerate();
}
void BM_AstroDecode(benchmark::State& state) {
  for (auto _ : state) {
    auto w = WeeklyCorpusText();
    auto d = DailyCorpusText();
    benchmark::DoNotOptimize(w.data());
    benchmark::DoNotOptimize(d.data());
  }
}
void BM_AstroParse(benchmark::State& state) {
  auto& f = Fixture();
  for (auto _ : state) {
    auto w = ParseWeeklyItems(f.Weekly);
    auto d = ParseDailyItems(f.Daily);
    benchmark::DoNotOptimize(w.data());
    benchmark::DoNotOptimize(d.data());
  }
}
void BM_AstroCompose(benchmark::State& state) {
  auto& f = Fixture();
  for (auto _ : state) benchmark::DoNotOptimize(BuildAstroDocument(f.WeeklyItems, f.DailyItems, u"bench", kWeek));
}
void BM_AstroFloor(benchmark::State& state) {
  for (auto _ : state) RunFloor();
}

BENCHMARK(BM_GenerateAstroWeek)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AstroDecode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AstroParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AstroCompose)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AstroFloor)->Unit(benchmark::kMillisecond);

const bool kRegistered = [] {
  AddSummary([] {
    const double whole = MedianSeconds(21, RunGenerate);
    const double floor = MedianSeconds(21, RunFloor);
    std::printf("GenerateAstroWeek median %.3f ms, floor median %.3f ms, ratio %.2f\n", whole * 1e3, floor * 1e3,
                whole / floor);
  });
  return true;
}();

}  // namespace
}  // namespace velmora::bench
