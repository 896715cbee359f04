#include "jokes/JokeCore.h"

#include <gtest/gtest.h>

#include <set>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "jokes/JokeEmbeddedData.h"
#include "platform/Platform.h"
#include "support/JsonLines.h"
#include "support/Random.h"
#include "testing/Installation.h"
#include "testing/TempFolder.h"

namespace velmora {

namespace {

std::u16string Texts(const std::vector<TJokeItem>& jokes) {
  std::u16string out;
  for (const auto& j : jokes) out += j.Text;
  return out;
}

const std::vector<TJokeItem> kExample = {{{2025, 3, 10}, u"A"}, {{2024, 9, 16}, u"B"}, {{2025, 5, 5}, u"C"}};

// A program folder of its own with a fixed agent identifier and, optionally, an
// override joke file.
struct TJokeSetup : testing::TInstallation {
  explicit TJokeSetup(const std::string* overrideFile = nullptr) {
    if (overrideFile) testing::WriteBytes(Program / u"data/jokes.jsonl", *overrideFile);
  }
};

}  // namespace

TEST(JokeCore, WorkedExample) {
  EXPECT_EQ(SeedRandom(u"jokes|test|2025-03-17|2"), 1852695425);
  EXPECT_EQ(SeedRandom(u"jokes|test|2025-03-17|3"), 1852695426);
  RandomState s2 = SeedRandom(u"jokes|test|2025-03-17|2");
  EXPECT_EQ(RandomBelow(s2, 7), 6);
  EXPECT_EQ(RandomBelow(s2, 5), 2);
  RandomState s3 = SeedRandom(u"jokes|test|2025-03-17|3");
  EXPECT_EQ(RandomBelow(s3, 7), 5);
  EXPECT_EQ(RandomBelow(s3, 5), 1);
  EXPECT_EQ(Texts(SelectJokes(kExample, 2, u"test", {2025, 3, 17})), u"CA");
  EXPECT_EQ(Texts(SelectJokes(kExample, 3, u"test", {2025, 3, 17})), u"CAB");
}

TEST(JokeCore, DuplicatesByLatinCaseAndShortCorpora) {
  const std::vector<TJokeItem> corpus = {
      {{2025, 3, 10}, u"Joke one"}, {{2025, 3, 10}, u"JOKE ONE"}, {{2025, 3, 10}, u"Шутка"}, {{2025, 3, 10}, u"шутка"}};
  const auto all = SelectJokes(corpus, 30, u"test", {2025, 3, 17});
  EXPECT_EQ(all.size(), 3u);  // the Latin pair counts once, the Cyrillic pair twice
  EXPECT_TRUE(SelectJokes({}, 5, u"test", {2025, 3, 17}).empty());
}

TEST(JokeCore, CountIsPartOfTheSeed) {
  std::vector<TJokeItem> corpus;
  for (int i = 0; i < 200; ++i) corpus.push_back({AddDays({2024, 1, 1}, 7 * (i % 52)), u"Шутка " + ToDecimal(i)});
  const auto twenty = SelectJokes(corpus, 20, u"test", {2026, 1, 5});
  const auto twentyOne = SelectJokes(corpus, 21, u"test", {2026, 1, 5});
  ASSERT_EQ(twenty.size(), 20u);
  ASSERT_EQ(twentyOne.size(), 21u);
  EXPECT_NE(Texts(twenty), Texts(std::vector<TJokeItem>(twentyOne.begin(), twentyOne.begin() + 20)));
  EXPECT_EQ(Texts(SelectJokes(corpus, 20, u"test", {2026, 1, 5})), Texts(twenty));
}

TEST(JokeCore, CountParsingAndLimits) {
  struct Case {
    const char16_t* Text;
    int Count;
  } cases[] = {{u"", 20},           {u"0", 1},    {u"-5", 1},           {u"31", 30},         {u"1000", 30},
               {u"45", 30},         {u"007", 7},  {u"12345678901", 20}, {u"2147483647", 30}, {u"2147483648", 20},
               {u"-2147483648", 1}, {u"12a", 20}, {u"20", 20},          {u"+3", 3}};
  for (const auto& c : cases) EXPECT_EQ(ParseJokeCount(c.Text), c.Count) << Utf16ToUtf8(c.Text);
}

TEST(JokeCore, EmptyOverrideFileGivesHeaderOnlyAndLimitsApply) {
  const std::string empty;
  TJokeSetup setup(&empty);
  const std::u16string path = GenerateJokeWeek(setup.Platform, setup.Out.Path(), 0, {2025, 3, 17});
  EXPECT_EQ(path, setup.Out / u"generated/jokes_20250317.txt");
  EXPECT_EQ(testing::ReadBytes(path), "\xEF\xBB\xBF" + Utf16ToUtf8(u"Анекдоты на неделю с 17.03.2025\r\n\r\n"));
}

TEST(JokeCore, DocumentLayoutWithAnOverrideCorpus) {
  std::string file;
  for (int i = 0; i < 40; ++i)
    file += "{\"week_start\": \"2025-03-10\", \"number_in_file\": " + std::to_string(i) + ", \"text\": \"Шутка " +
            std::to_string(i) + "\"}\n";
  file += "{\"week_start\": \"2025-03-10\", \"text\": \"Абзац один\\n\\nабзац два\"}\n";
  TJokeSetup setup(&file);
  for (auto [asked, expected] : {std::pair{0, 1}, {-5, 1}, {31, 30}, {1000, 30}, {7, 7}}) {
    const std::u16string text = Utf8ToUtf16(
        testing::ReadBytes(GenerateJokeWeek(setup.Platform, setup.Out.Path(), asked, {2025, 3, 20})).substr(3));
    EXPECT_TRUE(text.starts_with(u"Анекдоты на неделю с 20.03.2025\r\n\r\n"));
    EXPECT_TRUE(text.ends_with(u"\r\n\r\n"));
    const auto jokes =
        SelectJokes(LoadJokeCorpus(setup.Platform, setup.Program.Path()), expected, u"test", {2025, 3, 20});
    EXPECT_EQ(jokes.size(), static_cast<std::size_t>(expected));
    EXPECT_EQ(text, BuildJokeDocument(jokes, {2025, 3, 20}));
  }
}

TEST(JokeCore, BadOverrideStopsAndKeepsTheEarlierFile) {
  const std::string good = "{\"week_start\": \"2025-03-10\", \"text\": \"Шутка\"}\n";
  TJokeSetup setup(&good);
  const std::u16string path = GenerateJokeWeek(setup.Platform, setup.Out.Path(), 5, {2025, 3, 17});
  const std::string before = testing::ReadBytes(path);
  testing::WriteBytes(setup.Program / u"data/jokes.jsonl",
                      good + "{\"week_start\": \"2025-02-30\", \"text\": \"x\"}\n");
  try {
    GenerateJokeWeek(setup.Platform, setup.Out.Path(), 5, {2025, 3, 17});
    ADD_FAILURE();
  } catch (const TError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
  EXPECT_EQ(testing::ReadBytes(path), before);
  EXPECT_THROW(GenerateJokeWeek(setup.Platform, u"  ", 5, {2025, 3, 17}), TError);
}

TEST(JokeCore, EmbeddedCorpusGivesEveryCountAndTheSameBytesTwice) {
  TJokeSetup setup;
  const auto corpus = ParseJokeItems(JokeCorpusText());
  std::set<std::u16string> distinct;
  for (const auto& j : corpus) distinct.insert(LowerText(j.Text));
  for (int count = 1; count <= 30; ++count) {
    const auto jokes = SelectJokes(corpus, count, u"test", {2026, 1, 5});
    EXPECT_EQ(jokes.size(), std::min<std::size_t>(count, distinct.size())) << count;
  }
  const std::u16string path = GenerateJokeWeek(setup.Platform, setup.Out.Path(), 20, {2026, 1, 5});
  const std::string first = testing::ReadBytes(path);
  GenerateJokeWeek(setup.Platform, setup.Out.Path(), 20, {2026, 1, 5});
  EXPECT_EQ(testing::ReadBytes(path), first);
}

}  // namespace velmora
