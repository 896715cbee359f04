// GenerateJokeWeek with 30 jokes on the embedded corpus.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "bench/BenchSupport.h"
#include "jokes/JokeCore.h"

namespace velmora::bench {
namespace {

void RunJokes() {
  static auto platform = MakeSystemPlatform();
  GenerateJokeWeek(*platform, ScratchFolder(), 30, TDate{2026, 1, 5});
}

void BM_GenerateJokeWeek30(benchmark::State& state) {
  for (auto _ : state) RunJokes();
}
BENCHMARK(BM_GenerateJokeWeek30)->Unit(benchmark::kMillisecond);

const bool kRegistered = [] {
  AddSummary([] { std::printf("GenerateJokeWeek(30) median %.3f ms\n", MedianSeconds(21, RunJokes) * 1e3); });
  return true;
}();

}  // namespace
}  // namespace velmora::bench
