#include "folk/FolkCore.h"

#include <algorithm>

#include "base/Error.h"
#include "base/Text.h"
#include "folk/FolkEmbeddedData.h"
#include "support/Documents.h"
#include "support/Paths.h"

namespace velmora {

bool GetFolkDay(int month, int day, std::u16string& title, std::u16string& description) {
  title.clear();
  description.clear();
  if (month < 1 || month > 12 || day < 1 || day > 31) return false;
  const int key = month * 100 + day;
  const TFolkEntry* end = FolkEntries + FolkEntryCount;
  const TFolkEntry* hit = std::lower_bound(FolkEntries, end, key, [](const TFolkEntry& e, int k) { return e.Key < k; });
  if (hit == end || hit->Key != key) return false;
  title = hit->Title;
  description = hit->Description;
  return true;
}

std::u16string BuildFolkWeekText(const TDate& weekStart) {
  if (IsoWeekday(weekStart) != 1) throw TError(TErrorKind::InvalidArgument, u"Выберите понедельник нужной недели.");
  std::u16string text = u"Народные приметы на неделю с " + FormatDisplayDate(weekStart) + u"\r\n\r\n";
  std::u16string title, description;
  for (int k = 0; k < 7; ++k) {
    const TDate d = AddDays(weekStart, k);
    if (!GetFolkDay(d.Month, d.Day, title, description))
      throw TError(TErrorKind::General, u"Нет народных примет на " + FormatDisplayDate(d));
    text += std::u16string(DayNames[IsoWeekday(d) - 1]) + u", " + FormatDisplayDate(d) + u"\r\n";
    text += title + u"\r\n\r\n";
    text += description + u"\r\n\r\n";
  }
  return text;
}

namespace {

// Joins a folder text and a name: directly after a separator (or a drive colon on
// Windows), otherwise with the platform's separator between them. Both parts are
// checked for characters that paths may not hold.
std::u16string JoinFolkPath(const Platform& platform, const std::u16string& folder, const std::u16string& name) {
  for (const std::u16string* part : {&folder, &name})
    for (char16_t c : *part)
      if (platform.IsInvalidPathChar(c))
        throw TError(TErrorKind::InvalidArgument, u"Недопустимые символы в пути: " + folder);
  const char16_t sep = platform.PathSeparator();
  const bool joined =
      !folder.empty() && (folder.back() == sep || folder.back() == u'/' || (sep == u'\\' && folder.back() == u':'));
  return joined ? folder + name : folder + sep + name;
}

}  // namespace

std::u16string GenerateFolkWeek(Platform& platform, const std::u16string& outputFolder, const TDate& weekStart) {
  const std::u16string text = BuildFolkWeekText(weekStart);
  RequireOutputFolder(outputFolder);
  const std::u16string folder = JoinFolkPath(platform, outputFolder, u"generated");
  if (!platform.FolderExists(folder) && !platform.CreateFolders(folder))
    throw TError(TErrorKind::General, u"Не удалось создать папку: " + folder);
  const std::u16string path = JoinFolkPath(platform, folder, u"primety_" + FormatCompactDate(weekStart) + u".txt");
  WriteDocument(platform, path, text);
  return path;
}

}  // namespace velmora
