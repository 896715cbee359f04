#include "astro/Sentences.h"

#include "base/Text.h"
#include "platform/Platform.h"

namespace velmora {

const char16_t* const DependentOpenings[30] = {u"но ",
                                               u"но,",
                                               u"однако ",
                                               u"однако,",
                                               u"впрочем ",
                                               u"впрочем,",
                                               u"при этом ",
                                               u"при этом,",
                                               u"тем не менее ",
                                               u"тем не менее,",
                                               u"зато ",
                                               u"зато,",
                                               u"это ",
                                               u"это,",
                                               u"этот ",
                                               u"эта ",
                                               u"эти ",
                                               u"такой ",
                                               u"такая ",
                                               u"такие ",
                                               u"такое ",
                                               u"поэтому ",
                                               u"поэтому,",
                                               u"в результате ",
                                               u"в результате,",
                                               u"в связи с этим ",
                                               u"в связи с этим,",
                                               u"таким образом ",
                                               u"таким образом,",
                                               u"из-за этого "};

const char16_t* const RemovableConnectors[14] = {
    u"но ",       u"но,",           u"однако ",       u"однако,", u"впрочем ", u"впрочем,", u"при этом ",
    u"при этом,", u"тем не менее ", u"тем не менее,", u"зато ",   u"зато,",    u"поэтому ", u"поэтому,"};

const char16_t* const OpeningConjunctions[4] = {u"Но ", u"Но,", u"Однако ", u"Однако,"};

namespace {

constexpr std::size_t kMinSentenceLength = 26;

bool IsTerminator(char16_t c) { return c == u'.' || c == u'!' || c == u'?'; }

bool IsLeadingPunctuation(char16_t c) {
  switch (c) {
    case u' ':
    case u'"':
    case u'\'':
    case u'(':
    case u',':
    case u'-':
    case u'.':
    case u':':
    case u';':
    case u'[': return true;
    default: return false;
  }
}

// Trimmed, then leading punctuation removed, then trimmed again.
std::u16string StripLead(std::u16string_view s) {
  std::u16string t = Trim(s);
  std::size_t i = 0;
  while (i < t.size() && IsLeadingPunctuation(t[i])) ++i;
  return Trim(std::u16string_view(t).substr(i));
}

// Opening comparison: both sides lower-cased (the entries are lower case already).
bool OpensWith(std::u16string_view t, std::u16string_view entry) {
  if (t.size() < entry.size()) return false;
  for (std::size_t i = 0; i < entry.size(); ++i)
    if (LowerChar(t[i]) != entry[i]) return false;
  return true;
}

// FNV-1a over the code units with A-Z folded to a-z: sentences equal by sentence
// equality hash alike.
std::uint64_t FoldedHash(std::u16string_view s) {
  std::uint64_t h = 0xcbf29ce484222325ULL;
  for (char16_t c : s) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
    h = (h ^ c) * 0x100000001b3ULL;
  }
  return h;
}

void AppendIfLong(std::vector<std::u16string>& out, std::u16string_view piece) {
  std::u16string t = Trim(piece);
  if (t.size() >= kMinSentenceLength) out.push_back(std::move(t));
}

}  // namespace

std::vector<std::u16string> SplitSentences(std::u16string_view text) {
  std::vector<std::u16string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsTerminator(text[i])) continue;
    AppendIfLong(out, text.substr(start, i + 1 - start));
    start = i + 1;
  }
  if (start < text.size()) AppendIfLong(out, text.substr(start));
  return out;
}

TSentenceList::TSentenceList(std::initializer_list<std::u16string> sentences) {
  for (const auto& s : sentences) Add(s);
}

bool TSentenceList::Add(const std::u16string& s) {
  const std::uint64_t h = FoldedHash(s);
  const auto [first, last] = FIndex.equal_range(h);
  for (auto it = first; it != last; ++it)
    if (AsciiCaseEqual(FEntries[it->second], s)) return false;
  FIndex.emplace(h, FEntries.size());
  FEntries.push_back(s);
  return true;
}

void TSentenceList::Unindex(std::size_t position) {
  const auto [first, last] = FIndex.equal_range(FoldedHash(FEntries[position]));
  for (auto it = first; it != last; ++it) {
    if (it->second == position) {
      FIndex.erase(it);
      return;
    }
  }
}

void TSentenceList::Truncate(std::size_t n) {
  while (FEntries.size() > n) {
    Unindex(FEntries.size() - 1);
    FEntries.pop_back();
  }
}

void TSentenceList::ReplaceFirst(std::u16string s) {
  Unindex(0);
  FIndex.emplace(FoldedHash(s), 0);
  FEntries.front() = std::move(s);
}

void AddSentence(TSentenceList& list, const std::u16string& s) { list.Add(s); }

bool IsDependentSentence(std::u16string_view s) {
  const std::u16string t = StripLead(s);
  for (const char16_t* entry : DependentOpenings)
    if (OpensWith(t, entry)) return true;
  return false;
}

std::u16string RemoveLeadingConnector(const std::u16string& text) {
  const std::u16string t = StripLead(text);
  for (const char16_t* entry : RemovableConnectors) {
    std::u16string_view c(entry);
    if (OpensWith(t, c)) return CapitalizeFirst(Trim(std::u16string_view(t).substr(c.size())));
  }
  return text;
}

std::u16string StripOpeningConjunction(const std::u16string& text) {
  std::u16string t = Trim(text);
  for (const char16_t* entry : OpeningConjunctions) {
    std::u16string_view c(entry);
    if (std::u16string_view(t).substr(0, c.size()) == c) {
      t.erase(0, c.size());
      break;
    }
  }
  return CapitalizeFirst(Trim(t));
}

std::u16string PickSentence(const std::vector<std::u16string>& sentences, RandomState& state, bool preferIndependent) {
  if (sentences.empty()) return {};
  if (preferIndependent) {
    TSentenceList independent;
    for (const auto& s : sentences)
      if (!IsDependentSentence(s)) AddSentence(independent, s);
    if (!independent.empty())
      return independent[static_cast<std::size_t>(RandomBelow(state, static_cast<std::int32_t>(independent.size())))];
  }
  return sentences[static_cast<std::size_t>(RandomBelow(state, static_cast<std::int32_t>(sentences.size())))];
}

void FixFirstSentence(TSentenceList& list) {
  if (!list.empty() && IsDependentSentence(list.front())) list.ReplaceFirst(RemoveLeadingConnector(list.front()));
}

}  // namespace velmora
