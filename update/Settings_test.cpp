#include "update/Settings.h"

#include <gtest/gtest.h>

#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"

namespace velmora {

TEST(Settings, OnceADayRule) {
  struct Case {
    std::int64_t Last, Now;
    bool Due;
  } cases[] = {{0, 100000, true},       {-5, 100000, true},     {100000, 186400, true},
               {100000, 186399, false}, {200000, 100000, true}, {100000, 100000, false}};
  for (const auto& c : cases) EXPECT_EQ(IsAutomaticCheckDue(c.Last, c.Now), c.Due) << c.Last << " " << c.Now;
}

TEST(Settings, StoredValuesAndTheirDefaults) {
  struct Case {
    const char* Automatic;
    const char* Last;
    bool On;
    std::int64_t LastAttempt;
  } cases[] = {{"1", "1799990000", true, 1799990000},
               {"2", "0", true, 0},
               {"yes", "abc", false, 0},
               {"true", "-7", false, -7},
               {"0", "", false, 0},
               {"-9223372036854775808", "9223372036854775807", true, INT64_MAX},
               // Beyond the 64-bit range: the default, never a wrapped-around number.
               {"9223372036854775808", "92233720368547758081", false, 0}};
  for (const auto& c : cases) {
    testing::TempFolder localAppData;
    testing::FakePlatform platform;
    platform.Environment[u"LOCALAPPDATA"] = localAppData.Path();
    testing::WriteBytes(localAppData / u"Tarnwick/Velmora/updates.ini",
                        std::string("[Updates]\r\nAutomatic=") + c.Automatic + "\r\nLastAttemptUTC=" + c.Last + "\r\n");
    const auto settings = LoadUpdateSettings(platform, GetUpdateSettingsPath(platform));
    EXPECT_EQ(settings.Automatic, c.On) << c.Automatic;
    EXPECT_EQ(settings.LastAttempt, c.LastAttempt) << c.Last;
  }
}

}  // namespace velmora
