#include "testing/TempFolder.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "base/Utf.h"

namespace fs = std::filesystem;

namespace velmora::testing {

namespace {
fs::path ToPath(const std::u16string& p) { return fs::path(Utf16ToUtf8(p)); }
}  // namespace

TempFolder::TempFolder() {
  static std::atomic<int> counter{0};
  std::random_device rd;
  fs::path base =
      fs::temp_directory_path() / ("velmora-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
  fs::create_directories(base);
  std::string s = base.string();
  s.push_back(static_cast<char>(fs::path::preferred_separator));
  FPath = Utf8ToUtf16(s);
}

TempFolder::~TempFolder() {
  std::error_code ec;
  // Read-only entries made by fault tests must not survive the test.
  for (auto it = fs::recursive_directory_iterator(ToPath(FPath), ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec))
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::permissions(ToPath(FPath), fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(ToPath(FPath), ec);
}

std::u16string TempFolder::operator/(std::u16string_view name) const {
  std::u16string path = FPath + std::u16string(name);
  const auto separator = static_cast<char16_t>(fs::path::preferred_separator);
  for (std::size_t i = FPath.size(); i < path.size(); ++i)
    if (path[i] == u'/') path[i] = separator;
  return path;
}

std::string ReadBytes(const std::u16string& path) {
  std::ifstream in(ToPath(path), std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteBytes(const std::u16string& path, const std::string& bytes) {
  fs::create_directories(ToPath(path).parent_path());
  std::ofstream out(ToPath(path), std::ios::binary | std::ios::trunc);
  out << bytes;
}

bool Exists(const std::u16string& path) { return fs::exists(ToPath(path)); }

std::vector<std::string> ListFolder(const std::u16string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(ToPath(path), ec)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace velmora::testing
