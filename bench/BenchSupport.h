// Shared pieces of the benchmarks: a scratch folder and a median timer.
#pragma once

#include <functional>
#include <string>

namespace velmora::bench {

// A folder under the system's temporary folder, made once per run (trailing separator).
const std::u16string& ScratchFolder();

// The median wall time in seconds of `runs` calls of fn.
double MedianSeconds(int runs, const std::function<void()>& fn);

// Registered by each benchmark file: prints its summary figures after the benchmarks.
void AddSummary(std::function<void()> summary);
void PrintSummaries();

}  // namespace velmora::bench
