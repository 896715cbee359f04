#include "support/Random.h"

#include <gtest/gtest.h>

#include "base/Utf.h"

namespace velmora {

TEST(Random, WorkedValues) {
  RandomState s = SeedRandom(u"abc");
  EXPECT_EQ(s, 1677554);
  EXPECT_EQ(NextRandom(s), 1520314195);
  EXPECT_EQ(NextRandom(s), 1127837914);
  EXPECT_EQ(NextRandom(s), 1006011597);

  RandomState b = SeedRandom(u"abc");
  EXPECT_EQ(RandomBelow(b, 10), 5);
  EXPECT_EQ(RandomBelow(b, 10), 4);
  EXPECT_EQ(RandomBelow(b, 10), 7);

  RandomState e = SeedRandom(u"");
  EXPECT_EQ(e, 1);
  EXPECT_EQ(NextRandom(e), 48271);

  RandomState a = SeedRandom(u"A");
  EXPECT_EQ(a, 65);
  EXPECT_EQ(NextRandom(a), 3137615);
}

TEST(Random, NonPositiveBoundDrawsNothingAndOneStillSteps) {
  for (int n : {0, -1, -2147483647 - 1}) {
    RandomState s = SeedRandom(u"abc");
    EXPECT_EQ(RandomBelow(s, n), 0);
    EXPECT_EQ(NextRandom(s), 1520314195) << n;
  }
  RandomState s = SeedRandom(u"abc");
  EXPECT_EQ(RandomBelow(s, 1), 0);
  EXPECT_EQ(NextRandom(s), 1127837914);
}

TEST(Random, KeysAreHashedAsUtf16CodeUnits) {
  EXPECT_NE(SeedRandom(u"ABC"), SeedRandom(u"abc"));
  // "О" is 0x041E: one unit, not its two UTF-8 bytes.
  EXPECT_EQ(SeedRandom(u"О"), 0x041E);
  std::u16string bytes;
  for (unsigned char c : std::string("О")) bytes.push_back(c);
  EXPECT_NE(SeedRandom(bytes), SeedRandom(u"О"));
  // A character outside the BMP counts as its two surrogates.
  EXPECT_EQ(SeedRandom(u"\U0001F600"), (0xD83DLL * 131 + 0xDE00) % 2147483647);
}

TEST(Random, StateStaysInRangeOverLongRuns) {
  RandomState s = SeedRandom(u"weekly|test|2026-01-05|Овен");
  EXPECT_EQ(s, 1822631727);
  for (int i = 0; i < 100000; ++i) {
    std::int32_t v = NextRandom(s);
    ASSERT_GE(v, 1);
    ASSERT_LE(v, 2147483646);
  }
}

}  // namespace velmora
