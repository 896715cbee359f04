#include "support/Paths.h"

#include "base/Error.h"
#include "base/Text.h"

namespace velmora {

namespace {
bool EndsWithSeparator(const Platform& platform, const std::u16string& path) {
  // A slash ends a folder on both platforms; Windows also takes the backslash.
  return !path.empty() && (path.back() == platform.PathSeparator() || path.back() == u'/');
}
}  // namespace

std::u16string WithTrailingSeparator(const Platform& platform, std::u16string path) {
  if (!EndsWithSeparator(platform, path)) path.push_back(platform.PathSeparator());
  return path;
}

std::u16string GeneratedFolder(const Platform& platform, const std::u16string& outputFolder) {
  return WithTrailingSeparator(platform, outputFolder) + u"generated" + platform.PathSeparator();
}

std::u16string DataFolder(const Platform& platform, const std::u16string& programFolder) {
  return WithTrailingSeparator(platform, programFolder) + u"data" + platform.PathSeparator();
}

void RequireOutputFolder(const std::u16string& outputFolder) {
  if (IsBlank(outputFolder)) throw TError(TErrorKind::InvalidArgument, u"Выберите папку вывода.");
}

}  // namespace velmora
