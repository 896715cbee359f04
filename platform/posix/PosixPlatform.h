// The Linux implementation of Platform: POSIX files and processes, a small INI
// reader-writer, xdg-open for URLs and libcurl for HTTP.
#pragma once

#include "platform/Platform.h"

namespace velmora {

class PosixPlatform : public Platform {
 public:
  bool FileExists(const std::u16string& path) override;
  bool FolderExists(const std::u16string& path) override;
  bool CreateFolders(const std::u16string& path) override;
  std::string ReadWholeFile(const std::u16string& path) override;
  void WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) override;
  char16_t PathSeparator() const override { return u'/'; }
  bool IsInvalidPathChar(char16_t c) const override { return c == 0; }

  std::u16string ProgramFolder() override;
  std::optional<std::u16string> GetEnvironment(const std::u16string& name) override;
  std::array<std::uint8_t, 16> NewGuid() override;
  std::int64_t NowUnixUtc() override;
  TLocalDate Today() override;
  std::optional<std::u16string> UserDataFolder() override;

  std::u16string IniRead(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                         const std::u16string& defaultValue) override;
  void IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                const std::u16string& value) override;

  bool OpenUrl(const std::u16string& url, TNativeWindow owner) override;
  THttpReply HttpGet(const THttpRequest& request) override;
};

}  // namespace velmora
