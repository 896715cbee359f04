// One record of the weekly, daily and joke corpus, as read from JSON lines.
#pragma once

#include <string>

#include "support/Dates.h"

namespace velmora {

struct TWeeklyItem {
  TDate WeekStart;
  std::u16string Sign;
  std::u16string Text;
};

struct TDailyItem {
  TDate WeekStart;
  std::u16string DayName;
  std::u16string Text;
};

struct TJokeItem {
  TDate WeekStart;
  std::u16string Text;
};

}  // namespace velmora
