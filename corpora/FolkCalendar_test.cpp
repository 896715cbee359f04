// Structural checks of the folk calendar table: every rule an entry must meet,
// computed over the whole table.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/Text.h"
#include "base/Utf.h"
#include "folk/FolkEmbeddedData.h"

namespace velmora {

namespace {

bool IsCyrillicLetter(char16_t c) { return (c >= 0x0410 && c <= 0x044F) || c == 0x0401 || c == 0x0451; }

std::vector<std::u16string> SentencesOf(const std::u16string& text) {
  std::vector<std::u16string> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'.') continue;
    out.push_back(Trim(std::u16string_view(text).substr(start, i + 1 - start)));
    start = i + 1;
  }
  if (!IsBlank(std::u16string_view(text).substr(start))) out.push_back(Trim(std::u16string_view(text).substr(start)));
  return out;
}

std::string Where(const TFolkEntry& e) { return "entry " + std::to_string(e.Key); }

}  // namespace

TEST(FolkCalendar, EveryDateOfTheYearOnceInKeyOrder) {
  ASSERT_EQ(FolkEntryCount, 366);
  const int perMonth[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  std::map<int, int> counts;
  for (int i = 0; i < FolkEntryCount; ++i) {
    const int key = FolkEntries[i].Key;
    ASSERT_GE(key % 100, 1);
    ASSERT_LE(key % 100, perMonth[key / 100 - 1]) << key;
    ++counts[key / 100];
    if (i > 0) {
      ASSERT_LT(FolkEntries[i - 1].Key, key);
    }
  }
  for (int m = 1; m <= 12; ++m) EXPECT_EQ(counts[m], perMonth[m - 1]) << "month " << m;
}

TEST(FolkCalendar, TellingRows) {
  const std::map<int, std::u16string> expected = {{101, u"Вонифатьев день"},
                                                  {106, u"Рождественский сочельник"},
                                                  {107, u"Рождество Христово"},
                                                  {113, u"Васильев вечер, Щедрец"},
                                                  {229, u"Касьянов день"}};
  for (int i = 0; i < FolkEntryCount; ++i) {
    auto it = expected.find(FolkEntries[i].Key);
    if (it != expected.end()) {
      EXPECT_EQ(FolkEntries[i].Title, it->second) << it->first;
    }
  }
}

TEST(FolkCalendar, Titles) {
  for (int i = 0; i < FolkEntryCount; ++i) {
    const TFolkEntry& e = FolkEntries[i];
    const std::u16string title = e.Title;
    EXPECT_GE(title.size(), 4u) << Where(e);
    EXPECT_LE(title.size(), 24u) << Where(e);
    EXPECT_EQ(Trim(title), title) << Where(e);
    EXPECT_NE(title.back(), u'.') << Where(e);
    int words = 1;
    for (std::size_t k = 0; k < title.size(); ++k) {
      const char16_t c = title[k];
      const bool ok = IsCyrillicLetter(c) || c == u' ' || c == u'-' || c == u',';
      EXPECT_TRUE(ok) << Where(e) << " character " << k;
      if (c == u',') {
        EXPECT_TRUE(k + 1 < title.size() && title[k + 1] == u' ') << Where(e);
      }
      if (c == u' ') ++words;
      if (c == u' ') {
        EXPECT_NE(title[k - 1], u' ') << Where(e);
      }
    }
    EXPECT_LE(words, 4) << Where(e);
    if (i > 0) {
      EXPECT_NE(title, std::u16string(FolkEntries[i - 1].Title)) << Where(e) << " repeats the day before";
    }
  }
  EXPECT_NE(std::u16string(FolkEntries[0].Title), std::u16string(FolkEntries[FolkEntryCount - 1].Title));
}

TEST(FolkCalendar, Descriptions) {
  std::map<std::u16string, int> sentenceOwner;
  for (int i = 0; i < FolkEntryCount; ++i) {
    const TFolkEntry& e = FolkEntries[i];
    const std::u16string d = e.Description;
    EXPECT_GE(d.size(), 140u) << Where(e);
    EXPECT_LE(d.size(), 301u) << Where(e);
    EXPECT_LE(Utf16ToUtf8(d).size(), 548u) << Where(e);
    EXPECT_EQ(Trim(d), d) << Where(e);
    EXPECT_EQ(d.back(), u'.') << Where(e);
    EXPECT_EQ(d.find(u"  "), std::u16string::npos) << Where(e);
    for (std::size_t k = 0; k < d.size(); ++k) {
      const char16_t c = d[k];
      const bool ok = IsCyrillicLetter(c) || (c >= u'0' && c <= u'9') ||
                      std::u16string_view(u" .,:;-\u2014\u00ab\u00bb").find(c) != std::u16string_view::npos;
      EXPECT_TRUE(ok) << Where(e) << " character U+" << std::hex << static_cast<int>(c);
      if (c == u'\u2014') {
        EXPECT_TRUE(k > 0 && d[k - 1] == u' ' && k + 1 < d.size() && d[k + 1] == u' ') << Where(e);
      }
    }
    const auto sentences = SentencesOf(d);
    EXPECT_GE(sentences.size(), 2u) << Where(e);
    EXPECT_LE(sentences.size(), 4u) << Where(e);
    for (const auto& s : sentences) {
      auto [it, fresh] = sentenceOwner.emplace(s, e.Key);
      EXPECT_TRUE(fresh) << Where(e) << " shares a sentence with entry " << it->second;
    }
  }
}

}  // namespace velmora
