// Sentence tools of the astro composers: cutting texts into sentences, a list of
// distinct sentences, the openings that tie a sentence to a preceding one, and the
// random pick that prefers sentences able to stand first.
#pragma once

#include <string>
#include <vector>

#include "support/Random.h"

namespace velmora {

using TSentenceList = std::vector<std::u16string>;

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
std::u16string PickSentence(const std::vector<std::u16string>& sentences, RandomState& state,
                            bool preferIndependent);
// Removes the connector of the first entry when that entry is dependent.
void FixFirstSentence(TSentenceList& list);

}  // namespace velmora
