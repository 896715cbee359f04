#include "platform/Folders.h"

namespace velmora {

namespace {

std::u16string Under(std::u16string folder, char16_t separator, std::u16string_view name) {
  if (folder.back() != separator && folder.back() != u'/') folder.push_back(separator);
  return folder.append(name);
}

// A variable naming an absolute POSIX path; a relative one is ignored, as the base
// directory convention asks, rather than resolved against the working folder.
std::optional<std::u16string> AbsolutePath(Platform& platform, const std::u16string& name) {
  std::optional<std::u16string> value = platform.GetEnvironment(name);
  if (!value || value->empty() || value->front() != u'/') return std::nullopt;
  return value;
}

}  // namespace

std::u16string FolderOfExecutable(std::u16string_view exePath, char16_t separator) {
  std::size_t last = exePath.rfind(separator);
  std::u16string folder(last == std::u16string_view::npos ? std::u16string_view() : exePath.substr(0, last + 1));
  if (folder.empty() || folder.back() != separator) folder.push_back(separator);
  return folder;
}

std::optional<std::u16string> UserDataFolderFromEnvironment(Platform& platform, bool xdgFallback) {
  const std::optional<std::u16string> appData = platform.GetEnvironment(u"APPDATA");
  if (appData && !appData->empty()) return Under(*appData, platform.PathSeparator(), u"Velmora");
  if (!xdgFallback) return std::nullopt;
  if (auto data = AbsolutePath(platform, u"XDG_DATA_HOME")) return Under(*data, u'/', u"Velmora");
  if (auto home = AbsolutePath(platform, u"HOME")) return Under(*home, u'/', u".local/share/Velmora");
  return std::nullopt;
}

}  // namespace velmora
