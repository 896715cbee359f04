// The content rules of the corpora as a program can check them: the word lists of
// corpora/rules/ (shared with tools/corpus_lint.py), the cutting of a text into
// comparable words, and the search for exact and near copies.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::testing {

// A text's words for rule matching: lower case, "ё" read as "е", cut at every character
// that is not a letter or a digit (a hyphen between two letters stays inside a word).
std::vector<std::u16string> RuleWords(std::u16string_view text);

// One entry of a rule list: one or more words, the last of which may end in "*" (any word
// that begins with it).
using TRuleEntry = std::vector<std::u16string>;

// The entry written as in its list, for messages.
std::string EntryText(const TRuleEntry& entry);

// Whether the entry matches consecutive words of the text anywhere, or (AtStart) at its
// first word only.
bool EntryFound(const std::vector<std::u16string>& words, const TRuleEntry& entry);
bool EntryAtStart(const std::vector<std::u16string>& words, const TRuleEntry& entry);

// The first entry of the list found in the words, or nullptr.
const TRuleEntry* FirstFound(const std::vector<std::u16string>& words, const std::vector<TRuleEntry>& list);

// A rule list file of corpora/rules/ (comments and blank lines skipped).
std::vector<TRuleEntry> ReadRuleList(const char* fileName);
// A named list "Name: form form*…" a line, as in signs.txt, by name.
std::map<std::u16string, std::vector<TRuleEntry>> ReadNamedForms(const char* fileName);

// Exact and near copies among short texts (sentences) or long ones (jokes). Add texts one
// by one; each call returns the earlier text's tag that this one copies, or -1.
class TCopyFinder {
 public:
  // A sentence that equals an earlier one ignoring letter case.
  long long AddExact(std::u16string_view text, long long tag);
  // A sentence of five or more words that differs from an earlier one in at most two
  // words in place, or by one word inserted or left out.
  long long AddNear(const std::vector<std::u16string>& words, long long tag);
  // A text that shares a run of this many consecutive words with an earlier one.
  long long AddShingles(const std::vector<std::u16string>& words, std::size_t run, long long tag);

 private:
  std::unordered_map<std::u16string, long long> FExact;
  std::unordered_map<std::size_t, long long> FNear;
  std::unordered_map<std::size_t, long long> FShingles;
};

}  // namespace velmora::testing
