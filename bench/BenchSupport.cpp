#include "bench/BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "base/Utf.h"

namespace velmora::bench {

const std::u16string& ScratchFolder() {
  static const std::u16string folder = [] {
    auto p = std::filesystem::temp_directory_path() / "velmora-bench";
    std::filesystem::create_directories(p);
    return Utf8ToUtf16(p.string() + "/");
  }();
  return folder;
}

double MedianSeconds(int runs, const std::function<void()>& fn) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    auto start = std::chrono::steady_clock::now();
    fn();
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

namespace {
std::vector<std::function<void()>>& Summaries() {
  static std::vector<std::function<void()>> s;
  return s;
}
}  // namespace

void AddSummary(std::function<void()> summary) { Summaries().push_back(std::move(summary)); }

void PrintSummaries() {
  for (auto& s : Summaries()) s();
}

}  // namespace velmora::bench
