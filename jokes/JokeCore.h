// The joke selector: the season-weighted draw of the week's jokes and the jokes
// document jokes_yyyymmdd.txt.
#pragma once

#include <string>
#include <vector>

#include "platform/Platform.h"
#include "support/Records.h"

namespace velmora {

// count limited to 1..30.
int LimitJokeCount(long long count);

// The joke count as the window reads its field: a signed 32-bit decimal number (20
// when the text does not parse or lies outside that range), then limited to 1..30.
int ParseJokeCount(std::u16string_view text);

// Up to count jokes in draw order, no two with texts equal when ASCII letters are
// compared without case; one RandomBelow per joke chosen.
std::vector<TJokeItem> SelectJokes(const std::vector<TJokeItem>& corpus, int count, std::u16string_view agentId,
                                   const TDate& weekStart);

// The override file programFolder/data/jokes.jsonl when it exists, else the embedded corpus.
std::vector<TJokeItem> LoadJokeCorpus(Platform& platform, const std::u16string& programFolder);

// Header, empty line, each joke followed by an empty line (CR LF line ends).
std::u16string BuildJokeDocument(const std::vector<TJokeItem>& jokes, const TDate& weekStart);

// Limits the count, gets the agent identifier, refuses a blank output folder, creates
// outputFolder/generated, selects and writes the week's file; returns its full path.
std::u16string GenerateJokeWeek(Platform& platform, const std::u16string& outputFolder, int count,
                                const TDate& weekStart);

}  // namespace velmora
