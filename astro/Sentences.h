// Sentence tools of the astro composers: cutting texts into sentences, a list of
// distinct sentences, the openings that tie a sentence to a preceding one, and the
// random pick that prefers sentences able to stand first.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/Random.h"

namespace velmora {

// An ordered list of sentences in which no two are equal by sentence equality (Latin
// letters A-Z and a-z compared without case, everything else exactly). An equal
// sentence is looked up through a hash of the ASCII-case-folded text, so a list built
// from n sentences costs time linear in their total length, not n² comparisons.
class TSentenceList {
 public:
  TSentenceList() = default;
  // Adds each sentence in turn, as AddSentence does.
  TSentenceList(std::initializer_list<std::u16string> sentences);

  // Appends s unless an equal sentence is present; true when it was appended.
  bool Add(const std::u16string& s);
  // Keeps the first n entries.
  void Truncate(std::size_t n);
  // Replaces the first entry (the list must not be empty) without looking for an equal
  // one: the result may then hold two equal entries, as the composers expect.
  void ReplaceFirst(std::u16string s);

  std::size_t size() const { return FEntries.size(); }
  bool empty() const { return FEntries.empty(); }
  const std::u16string& operator[](std::size_t i) const { return FEntries[i]; }
  const std::u16string& front() const { return FEntries.front(); }
  std::vector<std::u16string>::const_iterator begin() const { return FEntries.begin(); }
  std::vector<std::u16string>::const_iterator end() const { return FEntries.end(); }
  const std::vector<std::u16string>& Entries() const { return FEntries; }

 private:
  void Unindex(std::size_t position);

  std::vector<std::u16string> FEntries;
  std::unordered_multimap<std::uint64_t, std::size_t> FIndex;  // folded-text hash -> position
};

// Openings that make a sentence depend on a preceding one (30 entries, in test order).
extern const char16_t* const DependentOpenings[30];
// The openings that may be removed from a first sentence (14 entries, in order).
extern const char16_t* const RemovableConnectors[14];
// Capitalised conjunctions removed from a finished daily forecast ("Но ", "Но,",
// "Однако ", "Однако,"), compared exactly.
extern const char16_t* const OpeningConjunctions[4];

// Pieces ended by ".", "!" or "?" (and a final unterminated piece), trimmed; pieces
// of 25 characters or fewer are dropped. Duplicates remain.
std::vector<std::u16string> SplitSentences(std::u16string_view text);
// Appends s unless an equal sentence (Latin letters compared without case) is present.
void AddSentence(TSentenceList& list, const std::u16string& s);
// True when s, without leading blanks and leading punctuation, opens with a dependent
// opening (letter case ignored in every alphabet).
bool IsDependentSentence(std::u16string_view s);
// The text without its removable connector, trimmed and capitalised; the text
// unchanged (untrimmed) when it opens with none.
std::u16string RemoveLeadingConnector(const std::u16string& text);
// The trimmed text without one leading opening conjunction, first letter capitalised.
std::u16string StripOpeningConjunction(const std::u16string& text);
// One sentence drawn with exactly one RandomBelow (none for an empty array); with the
// preference, drawn among the distinct independent sentences when there are any.
std::u16string PickSentence(const std::vector<std::u16string>& sentences, RandomState& state, bool preferIndependent);
// Removes the connector of the first entry when that entry is dependent.
void FixFirstSentence(TSentenceList& list);

}  // namespace velmora
