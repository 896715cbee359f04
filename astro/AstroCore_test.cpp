#include "astro/AstroCore.h"

#include <gtest/gtest.h>

#include "astro/AstroTables.h"
#include "support/JsonLines.h"

#include <filesystem>
#include "base/Error.h"
#include "base/Utf.h"
#include "testing/Installation.h"
#include "testing/TempFolder.h"
#include "testing/TestText.h"

namespace velmora {

namespace {

std::string WeeklyLine(const char* week, const char* sign, const char* text) {
  return std::string("{\"week_start\": \"") + week + "\", \"sign\": \"" + sign + "\", \"text\": \"" + text + "\"}\n";
}
std::string DailyLine(const char* week, const char* day, const char* text) {
  return std::string("{\"week_start\": \"") + week + "\", \"day\": \"" + day + "\", \"text\": \"" + text + "\"}\n";
}

// A small corpus: Aries and Taurus weekly texts, daily texts for every day but Wednesday.
std::string FixtureWeekly() {
  return WeeklyLine("2025-01-06", "Овен",
                    "ОВЕН (21.03-20.04). Новый год начинается для Овнов с бодрого настроения. Но спешить с "
                    "покупками не стоит. Вечера лучше провести дома с семьёй. Благоприятный день - среда, "
                    "неблагоприятный день - пятница.") +
         WeeklyLine("2024-12-30", "Овен",
                    "ОВЕН (21.03-20.04). Праздничная неделя принесёт Овнам много встреч. Зато работа подождёт до "
                    "следующего понедельника. Благоприятный день - вторник, неблагоприятный день - суббота.") +
         WeeklyLine("2025-01-13", "Телец",
                    "ТЕЛЕЦ (21.04-21.05). Тельцам звёзды советуют заняться домашним бюджетом. Крупные траты "
                    "лучше отложить до февраля.");
}

std::string FixtureDaily() {
  std::string s;
  for (const char* day : {"Понедельник", "Вторник", "Четверг", "Пятница", "Суббота", "Воскресенье"})
    s += DailyLine("2025-01-06", day,
                   "Но, день подходит для спокойной работы и планов. Луна советует не спорить с близкими людьми.");
  s += DailyLine("2024-12-30", "Пятница", "Однако вечер пятницы лучше провести в тишине и покое.");
  return s;
}

struct TAstroSetup : testing::TInstallation {
  TAstroSetup(const std::string& weekly, const std::string& daily) {
    testing::WriteBytes(Program / u"data/weekly_horoscopes.jsonl", weekly);
    testing::WriteBytes(Program / u"data/daily_horoscopes.jsonl", daily);
  }
  std::u16string Generate(const TDate& week) { return GenerateAstroWeek(Platform, Out.Path(), week); }
};

}  // namespace

TEST(AstroCore, DocumentLayout) {
  TAstroSetup s(FixtureWeekly(), FixtureDaily());
  const std::u16string path = s.Generate({2026, 1, 5});
  EXPECT_EQ(path, s.Out / u"generated/astro_20260105.txt");
  const std::string bytes = testing::ReadBytes(path);
  ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  const auto lines = testing::CrLfLines(Utf8ToUtf16(bytes.substr(3)));
  ASSERT_EQ(lines.size(), 53u);
  EXPECT_EQ(lines[0], u"Астропрогноз на неделю с 05.01.2026");
  EXPECT_EQ(lines[2], u"Вариант 1");
  for (int i = 0; i < 12; ++i) {
    EXPECT_TRUE(lines[4 + 2 * i].starts_with(SignHeaders[i])) << i;
    EXPECT_NE(lines[4 + 2 * i].find(u" Благоприятный день - "), std::u16string::npos);
    EXPECT_EQ(lines[5 + 2 * i], u"");
  }
  EXPECT_EQ(lines[28], u"------------");
  EXPECT_EQ(lines[30], u"Вариант 2");
  for (int d = 0; d < 7; ++d) EXPECT_EQ(lines[32 + 3 * d], DayNames[d]);
  for (std::size_t i : {1u, 3u, 29u, 31u, 34u, 37u, 40u, 43u, 46u, 49u, 52u}) EXPECT_EQ(lines[i], u"") << i;
  // Wednesday has no records: its name, then two empty lines.
  EXPECT_EQ(lines[38], u"Среда");
  EXPECT_EQ(lines[39], u"");
  // A leading "Но," is gone and the next word is capitalised.
  EXPECT_TRUE(lines[33].starts_with(u"День подходит для спокойной работы")) << Utf16ToUtf8(lines[33]);
  // Signs without records: the header, then the day sentence.
  EXPECT_TRUE(lines[8].starts_with(u"БЛИЗНЕЦЫ (22.05-21.06). Благоприятный день - ")) << Utf16ToUtf8(lines[8]);
  // The same bytes on a second run.
  s.Generate({2026, 1, 5});
  EXPECT_EQ(testing::ReadBytes(path), bytes);
}

TEST(AstroCore, NonMondayDatesAreUsedAsTheyAre) {
  TAstroSetup s(FixtureWeekly(), FixtureDaily());
  const std::u16string path = s.Generate({2026, 1, 7});
  EXPECT_EQ(path, s.Out / u"generated/astro_20260107.txt");
  const auto text = Utf8ToUtf16(testing::ReadBytes(path).substr(3));
  EXPECT_TRUE(text.starts_with(u"Астропрогноз на неделю с 07.01.2026\r\n"));
  EXPECT_EQ(text, BuildAstroDocument(ParseWeeklyItems(Utf8ToUtf16(FixtureWeekly())),
                                     ParseDailyItems(Utf8ToUtf16(FixtureDaily())), u"test", {2026, 1, 7}));
  EXPECT_NE(text.substr(36), BuildAstroDocument(ParseWeeklyItems(Utf8ToUtf16(FixtureWeekly())),
                                                ParseDailyItems(Utf8ToUtf16(FixtureDaily())), u"test", {2026, 1, 5})
                                 .substr(36));
}

TEST(AstroCore, OverrideWithoutUsableLines) {
  TAstroSetup s("   \n{\"week_start\": \"2025-01-06\", \"day\": \"Среда\", \"text\": \"daily line\"}\n",
                FixtureDaily());
  const auto lines = testing::CrLfLines(Utf8ToUtf16(testing::ReadBytes(s.Generate({2026, 1, 5})).substr(3)));
  ASSERT_EQ(lines.size(), 53u);
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(lines[4 + 2 * i].starts_with(std::u16string(SignHeaders[i]) + u" Благоприятный день - ")) << i;
}

TEST(AstroCore, ABadDateStopsTheRunAndKeepsTheEarlierFile) {
  TAstroSetup s(FixtureWeekly(), FixtureDaily());
  const std::u16string path = s.Generate({2026, 1, 5});
  const std::string before = testing::ReadBytes(path);
  testing::WriteBytes(s.Program / u"data/weekly_horoscopes.jsonl",
                      FixtureWeekly() + "{\"week_start\": \"2025-13-01\", \"sign\": \"Овен\", \"text\": \"x\"}\n");
  try {
    s.Generate({2026, 1, 5});
    ADD_FAILURE() << "no error";
  } catch (const TError& e) {
    EXPECT_STREQ(e.what(), "Invalid argument to date encode");
  }
  EXPECT_EQ(testing::ReadBytes(path), before);
  EXPECT_EQ(testing::ListFolder(s.Out / u"generated"), std::vector<std::string>{"astro_20260105.txt"});
}

TEST(AstroCore, BlankFolderIsRefusedAfterTheIdentifier) {
  TAstroSetup s(FixtureWeekly(), FixtureDaily());
  std::filesystem::remove(Utf16ToUtf8(s.Program / u"agent.id"));
  EXPECT_THROW(GenerateAstroWeek(s.Platform, u" ", {2026, 1, 5}), TError);
  EXPECT_TRUE(testing::Exists(s.Program / u"agent.id"));  // the identifier came first
  EXPECT_FALSE(testing::Exists(u" /generated"));
}

TEST(AstroCore, EmbeddedCorporaGiveFullWeeks) {
  testing::TInstallation s;
  for (TDate week : {TDate{2026, 1, 5}, TDate{2026, 7, 6}}) {
    const std::string bytes = testing::ReadBytes(GenerateAstroWeek(s.Platform, s.Out.Path(), week));
    const auto lines = testing::CrLfLines(Utf8ToUtf16(bytes.substr(3)));
    ASSERT_EQ(lines.size(), 53u);
    for (int i = 0; i < 12; ++i) {
      const auto& h = lines[4 + 2 * i];
      const auto dots = std::count(h.begin(), h.end(), u'.');
      // Header (3 stops), the sentences, the day sentence (1 stop).
      EXPECT_GE(dots - 4, 4) << Utf16ToUtf8(h);
      EXPECT_LE(dots - 4, 5) << Utf16ToUtf8(h);
    }
    for (int d = 0; d < 7; ++d) EXPECT_FALSE(lines[33 + 3 * d].empty()) << d;
  }
}

}  // namespace velmora
