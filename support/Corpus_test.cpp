#include "support/Corpus.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "astro/AstroEmbeddedData.h"
#include "base/Error.h"
#include "base/Utf.h"
#include "jokes/JokeEmbeddedData.h"
#include "testing/TempFolder.h"

namespace velmora {

namespace {
std::string SourceFile(const char* name) {
  return testing::ReadBytes(Utf8ToUtf16(std::string(VELMORA_SOURCE_DIR) + "/corpora/" + name));
}
long CountLines(const std::string& s) { return static_cast<long>(std::count(s.begin(), s.end(), '\n')); }
}  // namespace

TEST(Corpus, EmbeddedArraysGiveBackTheirSourcesByteForByte) {
  struct Case {
    const char* File;
    const char* const* Chunks;
    int Last;
  } cases[] = {
      {"weekly_horoscopes.jsonl", WeeklyCorpusChunks, WeeklyCorpusLastIndex},
      {"daily_horoscopes.jsonl", DailyCorpusChunks, DailyCorpusLastIndex},
      {"jokes.jsonl", JokeCorpusChunks, JokeCorpusLastIndex},
  };
  for (const auto& c : cases) {
    const std::string source = SourceFile(c.File);
    ASSERT_FALSE(source.empty()) << c.File;
    const std::string inflated = InflateCorpusChunks(c.Chunks, c.Last);
    // Compared without printing: a mismatch would dump megabytes.
    EXPECT_TRUE(inflated == source) << c.File << ": " << inflated.size() << " bytes decoded, " << source.size()
                                    << " in the source";
    EXPECT_EQ(CountLines(inflated), CountLines(source));
    // Every chunk but the last holds exactly 100 characters.
    for (int k = 0; k < c.Last; ++k) ASSERT_EQ(std::strlen(c.Chunks[k]), 100u) << c.File << " chunk " << k;
    EXPECT_GE(std::strlen(c.Chunks[c.Last]), 1u);
    EXPECT_LE(std::strlen(c.Chunks[c.Last]), 100u);
  }
  EXPECT_EQ(JokeCorpusRecordCount, CountLines(SourceFile("jokes.jsonl")));
  EXPECT_TRUE(Utf16ToUtf8(JokeCorpusText()) == SourceFile("jokes.jsonl"));
}

TEST(Corpus, BrokenArraysFailWithAMessage) {
  // "eNoDAAAAAAE=" is the zlib stream of the empty text.
  const char* const good[] = {"eNoDAAAAAAE="};
  EXPECT_EQ(DecodeCorpusChunks(good, 0), u"");
  const char* const badBase64[] = {"eNoD*AAAAAE="};
  const char* const badZlib[] = {"AAAAAAAA"};
  const char* const truncated[] = {"eNrLSM3JyQcABg"};  // "hello" cut before its checksum
  for (const char* const* chunks : {badBase64, badZlib, truncated}) {
    try {
      DecodeCorpusChunks(chunks, 0);
      ADD_FAILURE() << chunks[0];
    } catch (const TError& e) {
      EXPECT_NE(std::string(e.what()).find("Corrupt embedded corpus"), std::string::npos);
    }
  }
}

}  // namespace velmora
