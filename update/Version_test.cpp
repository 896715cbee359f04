#include "update/Version.h"

#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Utf.h"

namespace velmora {

TEST(Version, ParseVersionCases) {
  struct Case {
    const char16_t* Text;
    bool Ok;
    TVersion Parts;
  } cases[] = {
      {u"1.0.3", true, {1, 0, 3, 0}},
      {u"1.0.3.7", true, {1, 0, 3, 7}},
      {u"01.00.003", true, {1, 0, 3, 0}},
      {u"1.0.2147483647", true, {1, 0, 2147483647, 0}},
      {u"1.0.2147483648", false, {}},
      {u"1.0", false, {}},
      {u"1.0.3.4.5", false, {}},
      {u"1.0.3.", false, {}},
      {u"1..3", false, {}},
      {u"", false, {}},
      {u" 1.0.3", false, {}},
      {u"1.0.3 ", false, {}},
      {u"+1.0.3", false, {}},
      {u"1.0.-3", false, {}},
      {u"1.0.\u0663", false, {}},  // an Arabic-Indic digit
      {u"1.0.3a", false, {}},
  };
  for (const auto& c : cases) {
    if (c.Ok) {
      EXPECT_EQ(ParseVersion(c.Text), c.Parts) << Utf16ToUtf8(c.Text);
      continue;
    }
    try {
      ParseVersion(c.Text);
      ADD_FAILURE() << "accepted " << Utf16ToUtf8(c.Text);
    } catch (const TError& e) {
      EXPECT_STREQ(e.what(), "Invalid version");
    }
  }
}

TEST(Version, CompareVersionsAgainstTheCurrentOne) {
  struct Case {
    const char16_t* Offered;
    int Result;
  } cases[] = {{u"1.0.4", 1},   {u"1.0.3", 0},   {u"1.0.3.0", 0}, {u"1.0.2", -1},
               {u"0.9.99", -1}, {u"1.0.3.1", 1}, {u"1.0.10", 1},  {u"2.0.0", 1}};
  for (const auto& c : cases) EXPECT_EQ(CompareVersions(c.Offered, CurrentVersion), c.Result) << Utf16ToUtf8(c.Offered);
  EXPECT_EQ(CompareVersions(u"1.0.10", u"1.0.9"), 1);
  EXPECT_THROW(CompareVersions(u"1.0", u"1.0.3"), TError);
  EXPECT_THROW(CompareVersions(u"1.0.3", u"x"), TError);
}

TEST(Version, DownloadUrlRuleForAnyPage) {
  for (std::u16string page : {std::u16string(ProductPageUrl), std::u16string(u"https://mirror.example.org/a/b/")}) {
    struct Case {
      const char16_t* File;
      bool Allowed;
    } cases[] = {{u"Velmora.exe", true},        {u"Velmora-1.0.4.exe", true},  {u"Velmora_1_0_4.exe", true},
                 {u"velmora.exe", false},       {u"Velmora.EXE", false},       {u"Velmora..exe", false},
                 {u"Velmora.exe.zip", false},   {u"files/Velmora.exe", false}, {u"Velmora.exe?x=1", false},
                 {u"Velmora%20new.exe", false}, {u"Other.exe", false},         {u"", false},
                 {u"Velmora.exe#top", false},   {u"Velmora\\x.exe", false}};
    for (const auto& c : cases)
      EXPECT_EQ(IsAllowedDownloadUrlFor(page + c.File, page), c.Allowed) << Utf16ToUtf8(page + c.File);
    const std::u16string otherHost = page.substr(0, 8) + u"X" + page.substr(9);
    EXPECT_FALSE(IsAllowedDownloadUrlFor(otherHost + u"Velmora.exe", page));
    const std::u16string plain = u"http" + page.substr(5);
    EXPECT_FALSE(IsAllowedDownloadUrlFor(plain + u"Velmora.exe", page));
  }
  EXPECT_TRUE(IsAllowedDownloadUrl(std::u16string(ProductPageUrl) + u"Velmora.exe"));
}

}  // namespace velmora
