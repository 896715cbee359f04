// Shared pieces of the benchmarks: a scratch folder and a median timer.
#pragma once

#include <functional>
#include <string>

#include "platform/ForwardingPlatform.h"

namespace velmora::bench {

// The system platform with another program folder, so that the generators read
// agent.id and data/ from a scratch folder.
class TScratchPlatform : public ForwardingPlatform {
 public:
  TScratchPlatform(Platform& p, std::u16string folder) : ForwardingPlatform(p), FFolder(std::move(folder)) {}
  std::u16string ProgramFolder() override { return FFolder; }

 private:
  std::u16string FFolder;
};

// A folder under the system's temporary folder, made once per run (trailing separator).
const std::u16string& ScratchFolder();

// The median wall time in seconds of `runs` calls of fn.
double MedianSeconds(int runs, const std::function<void()>& fn);

// Registered by each benchmark file: prints its summary figures after the benchmarks.
void AddSummary(std::function<void()> summary);
void PrintSummaries();

}  // namespace velmora::bench
