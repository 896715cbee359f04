// The folk omens of a week: the table lookup, the week's document and its file.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "support/Dates.h"

namespace velmora {

// The day's folk name and description. Both outputs are emptied first; false when
// the month or day is out of range or the table has no entry for the date.
bool GetFolkDay(int month, int day, std::u16string& title, std::u16string& description);

// The 37-line document of the week (CR LF line ends). Throws "Выберите понедельник
// нужной недели." (invalid argument) for a date that is not a Monday and "Нет народных
// примет на " + date (general) for a day without an entry.
std::u16string BuildFolkWeekText(const TDate& weekStart);

// Builds the document, then checks the folder, creates outputFolder/generated and
// writes primety_yyyymmdd.txt there atomically (an earlier file of that week is only
// replaced by a complete new one). Returns the file's full path.
std::u16string GenerateFolkWeek(Platform& platform, const std::u16string& outputFolder, const TDate& weekStart);

}  // namespace velmora
