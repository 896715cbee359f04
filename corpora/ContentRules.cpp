#include "corpora/ContentRules.h"

#include <functional>
#include <sstream>

#include "base/Utf.h"
#include "platform/Platform.h"
#include "testing/TempFolder.h"

namespace velmora::testing {

namespace {

bool IsWordChar(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'а' && c <= u'я'); }

bool WordMatches(const std::u16string& pattern, const std::u16string& word) {
  if (!pattern.empty() && pattern.back() == u'*')
    return word.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
  return word == pattern;
}

bool EntryAt(const std::vector<std::u16string>& words, const TRuleEntry& entry, std::size_t at) {
  if (at + entry.size() > words.size()) return false;
  for (std::size_t k = 0; k < entry.size(); ++k)
    if (!WordMatches(entry[k], words[at + k])) return false;
  return true;
}

std::vector<std::string> RuleLines(const char* fileName) {
  const std::string path = std::string(VELMORA_SOURCE_DIR) + "/corpora/rules/" + fileName;
  std::istringstream in(ReadBytes(Utf8ToUtf16(path)));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    if (!line.empty() && line.front() != '#') lines.push_back(line);
  }
  return lines;
}

// What stands in a near-copy key for a word that may differ.
const std::u16string kBlank(1, u'_');

// Words are joined with a separator no word holds, so that the key names the sequence.
std::size_t KeyOf(char kind, const std::vector<std::u16string>& words) {
  std::u16string key(1, static_cast<char16_t>(kind));
  for (const auto& w : words) key += w + u'|';
  return std::hash<std::u16string>{}(key);
}

}  // namespace

std::vector<std::u16string> RuleWords(std::u16string_view text) {
  std::u16string lower = LowerText(text);
  for (char16_t& c : lower)
    if (c == u'ё') c = u'е';
  std::vector<std::u16string> words;
  std::u16string word;
  for (std::size_t i = 0; i <= lower.size(); ++i) {
    const char16_t c = i < lower.size() ? lower[i] : u' ';
    if (IsWordChar(c)) {
      word += c;
    } else if (c == u'-' && !word.empty() && i + 1 < lower.size() && IsWordChar(lower[i + 1])) {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

std::string EntryText(const TRuleEntry& entry) {
  std::string text;
  for (const auto& w : entry) {
    if (!text.empty()) text += ' ';
    text += Utf16ToUtf8(w);
  }
  return text;
}

bool EntryFound(const std::vector<std::u16string>& words, const TRuleEntry& entry) {
  for (std::size_t i = 0; i < words.size(); ++i)
    if (EntryAt(words, entry, i)) return true;
  return false;
}

bool EntryAtStart(const std::vector<std::u16string>& words, const TRuleEntry& entry) {
  return EntryAt(words, entry, 0);
}

const TRuleEntry* FirstFound(const std::vector<std::u16string>& words, const std::vector<TRuleEntry>& list) {
  for (const auto& entry : list)
    if (EntryFound(words, entry)) return &entry;
  return nullptr;
}

std::vector<TRuleEntry> ReadRuleList(const char* fileName) {
  std::vector<TRuleEntry> list;
  for (const auto& line : RuleLines(fileName)) {
    TRuleEntry entry;
    std::u16string lower = LowerText(Utf8ToUtf16(line));
    for (char16_t& c : lower)
      if (c == u'ё') c = u'е';
    std::size_t start = 0;
    while (start < lower.size()) {
      std::size_t end = lower.find(u' ', start);
      if (end == std::u16string::npos) end = lower.size();
      if (end > start) entry.push_back(lower.substr(start, end - start));
      start = end + 1;
    }
    list.push_back(entry);
  }
  return list;
}

std::map<std::u16string, std::vector<TRuleEntry>> ReadNamedForms(const char* fileName) {
  std::map<std::u16string, std::vector<TRuleEntry>> table;
  for (const auto& line : RuleLines(fileName)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) continue;
    auto& forms = table[Utf8ToUtf16(line.substr(0, colon))];
    std::istringstream in(line.substr(colon + 1));
    for (std::string form; in >> form;) forms.push_back({LowerText(Utf8ToUtf16(form))});
  }
  return table;
}

long long TCopyFinder::AddExact(std::u16string_view text, long long tag) {
  std::u16string key = LowerText(text);
  for (char16_t& c : key)
    if (c == u'ё') c = u'е';
  const auto [it, fresh] = FExact.emplace(key, tag);
  return fresh || it->second == tag ? -1 : it->second;
}

long long TCopyFinder::AddNear(const std::vector<std::u16string>& words, long long tag) {
  std::vector<std::size_t> keys{KeyOf('D', words)};
  if (words.size() >= 5) {
    for (std::size_t i = 0; i < words.size(); ++i) {
      std::vector<std::u16string> shorter = words;
      shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(i));
      keys.push_back(KeyOf('D', shorter));
      for (std::size_t j = i + 1; j < words.size(); ++j) {
        std::vector<std::u16string> blanked = words;
        blanked[i] = kBlank;
        blanked[j] = kBlank;
        keys.push_back(KeyOf('S', blanked));
      }
    }
  }
  long long copied = -1;
  for (std::size_t key : keys) {
    const auto [it, fresh] = FNear.emplace(key, tag);
    if (!fresh && it->second != tag && copied < 0) copied = it->second;
  }
  return copied;
}

long long TCopyFinder::AddShingles(const std::vector<std::u16string>& words, std::size_t run, long long tag) {
  long long copied = -1;
  for (std::size_t i = 0; i + run <= words.size(); ++i) {
    const std::vector<std::u16string> part(words.begin() + static_cast<std::ptrdiff_t>(i),
                                           words.begin() + static_cast<std::ptrdiff_t>(i + run));
    const auto [it, fresh] = FShingles.emplace(KeyOf('R', part), tag);
    if (!fresh && it->second != tag && copied < 0) copied = it->second;
  }
  return copied;
}

}  // namespace velmora::testing
