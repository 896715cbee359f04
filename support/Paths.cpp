#include "support/Paths.h"

#include "support/Error.h"
#include "support/Text.h"

namespace velmora {

namespace {
bool EndsWithSeparator(const Platform& platform, const std::u16string& path) {
  // A slash ends a folder on both platforms; Windows also takes the backslash.
  return !path.empty() && (path.back() == platform.PathSeparator() || path.back() == u'/');
}
}  // namespace

std::u16string FolderOfExecutable(std::u16string_view exePath, char16_t separator) {
  std::size_t last = exePath.rfind(separator);
  std::u16string folder(last == std::u16string_view::npos ? std::u16string_view() : exePath.substr(0, last + 1));
  if (folder.empty() || folder.back() != separator) folder.push_back(separator);
  return folder;
}

std::u16string WithTrailingSeparator(const Platform& platform, std::u16string path) {
  if (!EndsWithSeparator(platform, path)) path.push_back(platform.PathSeparator());
  return path;
}

std::u16string GeneratedFolder(const Platform& platform, const std::u16string& outputFolder) {
  return WithTrailingSeparator(platform, outputFolder) + u"generated" + platform.PathSeparator();
}

std::u16string DataFolder(Platform& platform) {
  return WithTrailingSeparator(platform, platform.ProgramFolder()) + u"data" + platform.PathSeparator();
}

void RequireOutputFolder(const std::u16string& outputFolder) {
  if (IsBlank(outputFolder)) throw TError(TErrorKind::InvalidArgument, u"Выберите папку вывода.");
}

}  // namespace velmora
