// Helpers of the corpus structural tests: the raw lines of an embedded corpus and the
// record-format check shared by the three corpora.
#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

// The lines of a corpus text (every line ended by LF, the last one included).
std::vector<std::u16string> CorpusLines(const std::u16string& text, std::string* problem);

// Empty when the line is one JSON object with exactly these keys in this order, ", "
// and ": " as separators, string values quoted (except numericKey), no \u escapes;
// otherwise what is wrong.
std::string RecordFormatProblem(const std::u16string& line, const std::vector<std::u16string>& keys,
                                const std::u16string& numericKey = u"");

// Empty when the text has no leading or trailing blank, no double space, no tab, line
// break or no-break space; otherwise what is wrong.
std::string TextProblem(const std::u16string& text);

}  // namespace velmora::testing
