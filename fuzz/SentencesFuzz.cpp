// The sentence tools over arbitrary text decoded as UTF-8. Checked: every sentence is a
// trimmed piece of the text of at least 26 code units; removing a connector or an
// opening conjunction never lengthens a text and leaves an independent one alone;
// PickSentence returns one of its sentences (an independent one when asked and there
// is one) after exactly one draw; a sentence list keeps exactly the entries, in order,
// that comparing every pair would keep; FixFirstSentence touches only the first entry.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "astro/Sentences.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "fuzz/FuzzCheck.h"
#include "support/Random.h"

namespace velmora {
namespace {

bool IsTrimmed(std::u16string_view s) { return s.empty() || (s.front() > 0x20 && s.back() > 0x20); }

void CheckOpenings(const std::u16string& s) {
  const bool dependent = IsDependentSentence(s);
  const std::u16string removed = RemoveLeadingConnector(s);
  VELMORA_FUZZ_CHECK(removed.size() <= s.size());
  if (!dependent) VELMORA_FUZZ_CHECK(removed == s);
  if (removed != s) VELMORA_FUZZ_CHECK(IsTrimmed(removed));

  const std::u16string stripped = StripOpeningConjunction(s);
  VELMORA_FUZZ_CHECK(stripped.size() <= s.size());
  VELMORA_FUZZ_CHECK(IsTrimmed(stripped));
}

void CheckPick(const std::vector<std::u16string>& sentences, RandomState seed) {
  RandomState once = seed;
  if (!sentences.empty()) NextRandom(once);
  bool anyIndependent = false;
  for (const auto& s : sentences) anyIndependent = anyIndependent || !IsDependentSentence(s);
  for (bool prefer : {false, true}) {
    RandomState state = seed;
    const std::u16string picked = PickSentence(sentences, state, prefer);
    VELMORA_FUZZ_CHECK(state == once);
    if (sentences.empty()) {
      VELMORA_FUZZ_CHECK(picked.empty());
      continue;
    }
    VELMORA_FUZZ_CHECK(std::find(sentences.begin(), sentences.end(), picked) != sentences.end());
    if (prefer && anyIndependent) VELMORA_FUZZ_CHECK(!IsDependentSentence(picked));
  }
}

// The list against the rule it stands for: a new sentence is compared with every entry.
void CheckList(const std::vector<std::u16string>& sentences) {
  TSentenceList list;
  std::vector<std::u16string> pairwise;
  for (const auto& s : sentences) {
    bool present = false;
    for (const auto& e : pairwise) present = present || AsciiCaseEqual(e, s);
    if (!present) pairwise.push_back(s);
    VELMORA_FUZZ_CHECK(list.Add(s) == !present);
  }
  VELMORA_FUZZ_CHECK(list.Entries() == pairwise);

  FixFirstSentence(list);
  VELMORA_FUZZ_CHECK(list.size() == pairwise.size());
  if (list.empty()) return;
  const std::u16string expected =
      IsDependentSentence(pairwise.front()) ? RemoveLeadingConnector(pairwise.front()) : pairwise.front();
  VELMORA_FUZZ_CHECK(list.front() == expected);
  VELMORA_FUZZ_CHECK(std::equal(list.begin() + 1, list.end(), pairwise.begin() + 1));
  // The replaced first entry is found by its new text.
  VELMORA_FUZZ_CHECK(!list.Add(expected));
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));

  const std::vector<std::u16string> sentences = SplitSentences(text);
  VELMORA_FUZZ_CHECK(sentences.size() <= text.size() / 26);
  for (const auto& s : sentences) {
    VELMORA_FUZZ_CHECK(s.size() >= 26);
    VELMORA_FUZZ_CHECK(IsTrimmed(s));
    VELMORA_FUZZ_CHECK(text.find(s) != std::u16string::npos);
    CheckOpenings(s);
  }
  // The opening rules also see short pieces: the whole text and each of its lines.
  CheckOpenings(text);
  std::vector<std::u16string> lines;
  for (std::u16string_view line : SplitLines(text)) {
    lines.emplace_back(line);
    CheckOpenings(lines.back());
  }

  const RandomState seed = SeedRandom(text);
  CheckPick(sentences, seed);
  CheckPick(lines, seed);
  CheckList(sentences);
  CheckList(lines);
  return 0;
}
