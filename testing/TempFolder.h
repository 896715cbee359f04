// Test helpers: a fresh temporary folder removed at the end of the test, and small
// file helpers on real files.
#pragma once

#include <string>
#include <vector>

namespace velmora::testing {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  // The folder's path with a trailing separator, as UTF-16.
  const std::u16string& Path() const { return FPath; }
  // Path() + name, with every "/" in name turned into this platform's separator so
  // that expected paths compare equal to the ones the program builds.
  std::u16string operator/(std::u16string_view name) const;

 private:
  std::u16string FPath;
};

// Whole-file helpers that bypass the platform layer (UTF-8 paths in, bytes out).
std::string ReadBytes(const std::u16string& path);
void WriteBytes(const std::u16string& path, const std::string& bytes);
bool Exists(const std::u16string& path);
// Every file name in the folder (not recursive), sorted.
std::vector<std::string> ListFolder(const std::u16string& path);

}  // namespace velmora::testing
