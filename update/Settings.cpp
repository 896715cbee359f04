#include "update/Settings.h"

#include "base/Error.h"
#include "base/Text.h"
#include "support/Paths.h"

namespace velmora {

namespace {

constexpr char16_t kSection[] = u"Updates";

// A signed 64-bit decimal between blanks, or fallback when the text is anything else.
std::int64_t ParseInt64(std::u16string_view text, std::int64_t fallback) {
  return ParseDecimal(Trim(text)).value_or(fallback);
}

}  // namespace

std::u16string GetUpdateSettingsPath(Platform& platform) {
  const auto base = platform.GetEnvironment(u"LOCALAPPDATA");
  if (!base || base->empty()) throw TError(TErrorKind::General, u"LOCALAPPDATA is unavailable");
  const char16_t sep = platform.PathSeparator();
  std::u16string folder = WithTrailingSeparator(platform, *base) + u"Tarnwick" + sep + u"Velmora";
  for (char16_t c : folder)
    if (platform.IsInvalidPathChar(c)) throw TError(TErrorKind::General, u"Cannot create settings folder");
  if (!platform.CreateFolders(folder) || !platform.FolderExists(folder))
    throw TError(TErrorKind::General, u"Cannot create settings folder");
  return folder + sep + u"updates.ini";
}

TUpdateSettings LoadUpdateSettings(Platform& platform, const std::u16string& path) {
  TUpdateSettings s;
  // "Automatic" reads as an integer: any non-zero number is on, anything else off.
  const std::int64_t automatic = ParseInt64(platform.IniRead(path, kSection, u"Automatic", u"0"), 0);
  s.Automatic = automatic != 0;
  s.LastAttempt = ParseInt64(platform.IniRead(path, kSection, u"LastAttemptUTC", u"0"), 0);
  return s;
}

bool IsAutomaticCheckDue(std::int64_t lastAttempt, std::int64_t now) {
  if (lastAttempt <= 0) return true;
  if (now < lastAttempt) return true;
  return now - lastAttempt >= 86400;
}

void WriteLastAttempt(Platform& platform, const std::u16string& path, std::int64_t now) {
  platform.IniWrite(path, kSection, u"LastAttemptUTC", ToDecimal(now));
}

void WriteAutomatic(Platform& platform, const std::u16string& path, bool automatic) {
  platform.IniWrite(path, kSection, u"Automatic", automatic ? u"1" : u"0");
}

}  // namespace velmora
