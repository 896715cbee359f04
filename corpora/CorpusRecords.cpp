#include "corpora/CorpusRecords.h"

namespace velmora::testing {

std::vector<std::u16string> CorpusLines(const std::u16string& text, std::string* problem) {
  std::vector<std::u16string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t lf = text.find(u'\n', start);
    if (lf == std::u16string::npos) {
      *problem = "the last line has no LF";
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, lf - start));
    start = lf + 1;
  }
  if (text.find(u'\r') != std::u16string::npos) *problem = "a CR in the corpus";
  return lines;
}

std::string RecordFormatProblem(const std::u16string& line, const std::vector<std::u16string>& keys,
                                const std::u16string& numericKey) {
  if (line.size() < 2 || line.front() != u'{' || line.back() != u'}') return "not one object on the line";
  if (line.find(u"\\u") != std::u16string::npos) return "a \\u escape";
  std::size_t pos = 1;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const std::u16string head = (k ? u", \"" : u"\"") + keys[k] + u"\": ";
    if (line.compare(pos, head.size(), head) != 0) return "key " + std::to_string(k + 1) + " out of place";
    pos += head.size();
    if (keys[k] == numericKey) {
      const std::size_t digits = pos;
      while (pos < line.size() && line[pos] >= u'0' && line[pos] <= u'9') ++pos;
      if (pos == digits) return "a non-numeric number";
      continue;
    }
    if (line[pos] != u'"') return "an unquoted value";
    ++pos;
    while (pos < line.size() && line[pos] != u'"') pos += line[pos] == u'\\' ? 2 : 1;
    if (pos >= line.size()) return "an unterminated value";
    ++pos;
  }
  return pos + 1 == line.size() ? std::string() : "text after the last key";
}

std::string TextProblem(const std::u16string& text) {
  if (text.empty()) return "empty";
  if (text.front() == u' ' || text.back() == u' ') return "leading or trailing blank";
  if (text.find(u"  ") != std::u16string::npos) return "double space";
  if (text.find_first_of(u"\t\r\n\u00a0") != std::u16string::npos) return "tab, line break or no-break space";
  return {};
}

}  // namespace velmora::testing
