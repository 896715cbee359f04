// Reading corpus texts of JSON lines into records. This is a small field reader
// built on key search, not a JSON parser: tolerant of unknown keys, any key order and
// malformed lines (a field that cannot be found reads as empty). Only a missing or
// invalid "week_start" on a non-blank line stops the reading (date conversion error).
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Records.h"

namespace velmora {

// The whole file decoded as UTF-8 (a byte-order mark stays as U+FEFF).
std::u16string ReadUtf8File(Platform& platform, const std::u16string& path);

// The unescaped value of the string field named key in line, or empty.
std::u16string JsonField(std::u16string_view line, std::u16string_view key);
// Decodes the escapes of a JSON string body (\n becomes CR LF).
std::u16string JsonUnescape(std::u16string_view raw);

// A record's text as the readers keep it: line breaks become spaces, runs of two or
// more breaks one paragraph break (CR LF CR LF), runs of spaces one space; trimmed.
std::u16string NormalizeText(std::u16string_view text);

// The lines of a corpus text as the readers take them: a byte-order mark at the very
// start belongs to no line, so a first line of only the mark and blanks is blank.
std::vector<std::u16string_view> CorpusLines(std::u16string_view text);

std::vector<TWeeklyItem> ParseWeeklyItems(std::u16string_view text);
std::vector<TDailyItem> ParseDailyItems(std::u16string_view text);
std::vector<TJokeItem> ParseJokeItems(std::u16string_view text);

// What the readers make of one line, for the corpus checker: blank (skipped), kept or
// dropped. Throws the readers' date error for a line that would stop them.
enum class TLineVerdict { Blank, Kept, Dropped };
enum class TCorpusKind { Weekly, Daily, Joke };
TLineVerdict ClassifyCorpusLine(TCorpusKind kind, std::u16string_view line);

}  // namespace velmora
