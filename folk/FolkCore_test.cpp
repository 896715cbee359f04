#include "folk/FolkCore.h"

#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"
#include "testing/TestText.h"

namespace velmora {

TEST(FolkCore, LookupEdges) {
  std::u16string title = u"old", description = u"old";
  struct Case {
    int Month, Day;
    bool Found;
  } cases[] = {{2, 29, true},  {2, 30, false},  {2, 31, false}, {4, 31, false}, {6, 31, false},
               {9, 31, false}, {11, 31, false}, {12, 31, true}, {1, 1, true},   {0, 5, false},
               {13, 1, false}, {3, 0, false},   {3, 32, false}};
  for (const auto& c : cases) {
    title = description = u"old";
    EXPECT_EQ(GetFolkDay(c.Month, c.Day, title, description), c.Found) << c.Month << "-" << c.Day;
    EXPECT_EQ(title.empty(), !c.Found);
    EXPECT_EQ(description.empty(), !c.Found);
  }
  ASSERT_TRUE(GetFolkDay(1, 13, title, description));
  EXPECT_EQ(title, u"Васильев вечер, Щедрец");
}

TEST(FolkCore, EveryDateOfALeapYearHasAnEntry) {
  std::u16string title, description;
  for (TDate d{2024, 1, 1}; d.Year == 2024; d = AddDays(d, 1)) {
    ASSERT_TRUE(GetFolkDay(d.Month, d.Day, title, description)) << Utf16ToUtf8(FormatIsoDate(d));
    EXPECT_FALSE(title.empty());
    EXPECT_FALSE(description.empty());
  }
}

TEST(FolkCore, WeekDocumentLayout) {
  struct Case {
    TDate Monday;
    const char16_t* FirstDate;
    const char16_t* LastDate;
  } cases[] = {
      {{2025, 12, 29}, u"Понедельник, 29.12.2025", u"Воскресенье, 04.01.2026"},
      {{2024, 2, 26}, u"Понедельник, 26.02.2024", u"Воскресенье, 03.03.2024"},
      {{2023, 2, 27}, u"Понедельник, 27.02.2023", u"Воскресенье, 05.03.2023"},
  };
  for (const auto& c : cases) {
    const auto lines = testing::CrLfLines(BuildFolkWeekText(c.Monday));
    ASSERT_EQ(lines.size(), 37u);
    EXPECT_EQ(lines[0], u"Народные приметы на неделю с " + FormatDisplayDate(c.Monday));
    EXPECT_EQ(lines[1], u"");
    EXPECT_EQ(lines[2], c.FirstDate);
    EXPECT_EQ(lines[32], c.LastDate);
    for (int k = 0; k < 7; ++k) {
      const TDate d = AddDays(c.Monday, k);
      std::u16string title, description;
      ASSERT_TRUE(GetFolkDay(d.Month, d.Day, title, description));
      EXPECT_EQ(lines[3 + 5 * k], title);
      EXPECT_EQ(lines[4 + 5 * k], u"");
      EXPECT_EQ(lines[5 + 5 * k], description);
      EXPECT_EQ(lines[6 + 5 * k], u"");
    }
  }
  // Leap year: 29 February between the 28th and 1 March; a common year goes straight on.
  const auto leap = testing::CrLfLines(BuildFolkWeekText({2024, 2, 26}));
  EXPECT_EQ(leap[17], u"Четверг, 29.02.2024");
  EXPECT_EQ(leap[22], u"Пятница, 01.03.2024");
  const auto common = testing::CrLfLines(BuildFolkWeekText({2023, 2, 27}));
  EXPECT_EQ(common[7], u"Вторник, 28.02.2023");
  EXPECT_EQ(common[12], u"Среда, 01.03.2023");
}

TEST(FolkCore, FileBytesAndPath) {
  testing::TempFolder folder;
  testing::FakePlatform platform;
  const std::u16string bare = folder.Path().substr(0, folder.Path().size() - 1);
  const std::u16string path = GenerateFolkWeek(platform, bare, {2025, 12, 29});
  EXPECT_EQ(path, folder / u"generated/primety_20251229.txt");
  EXPECT_EQ(GenerateFolkWeek(platform, folder.Path(), {2025, 12, 29}), path);  // one separator, not two
  const std::string bytes = testing::ReadBytes(path);
  EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
  EXPECT_EQ(Utf8ToUtf16(bytes.substr(3)), BuildFolkWeekText({2025, 12, 29}));
  EXPECT_EQ(bytes.substr(bytes.size() - 4), "\r\n\r\n");
  EXPECT_EQ(std::count(bytes.begin(), bytes.end(), '\n'), std::count(bytes.begin(), bytes.end(), '\r'));
}

TEST(FolkCore, ErrorsComeInTheirOrderAndCreateNothing) {
  testing::TempFolder folder;
  testing::FakePlatform platform;
  EXPECT_EQ(testing::ErrorOf([&] {
              GenerateFolkWeek(platform, u"", {2025, 12, 28});
            }),
            "Выберите понедельник нужной недели.");
  EXPECT_EQ(testing::ErrorOf([&] {
              GenerateFolkWeek(platform, folder.Path(), {2025, 12, 28});
            }),
            "Выберите понедельник нужной недели.");
  for (const char16_t* blank : {u"", u"   ", u"\t"})
    EXPECT_EQ(testing::ErrorOf([&] { GenerateFolkWeek(platform, blank, {2025, 12, 29}); }), "Выберите папку вывода.");
  EXPECT_TRUE(testing::ListFolder(folder.Path()).empty());

  testing::WriteBytes(folder / u"file", "not a folder");
  const std::u16string under = folder / u"file";
  EXPECT_EQ(testing::ErrorOf([&] {
              GenerateFolkWeek(platform, under, {2025, 12, 29});
            }),
            "Не удалось создать папку: " + Utf16ToUtf8(under + platform.PathSeparator() + u"generated"));
}

TEST(FolkCore, AFailedWriteLeavesTheEarlierFileWhole) {
  testing::TempFolder folder;
  testing::FakePlatform platform;
  const std::u16string path = GenerateFolkWeek(platform, folder.Path(), {2026, 1, 5});
  const std::string before = testing::ReadBytes(path);
  platform.FailWrite = [](const std::u16string&) { return true; };
  EXPECT_THROW(GenerateFolkWeek(platform, folder.Path(), {2026, 1, 5}), TError);
  EXPECT_EQ(testing::ReadBytes(path), before);
  EXPECT_EQ(testing::ListFolder(folder / u"generated"), std::vector<std::string>{"primety_20260105.txt"});
}

}  // namespace velmora
