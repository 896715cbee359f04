// The Windows implementation of Platform: Win32 files, UuidCreate, the private-profile
// functions, ShellExecuteW and WinHTTP. Only W functions are used.
#pragma once

#include <windows.h>

#include "platform/Platform.h"
#include "platform/win32/Win32Handles.h"

namespace velmora {

// The system's text for a Win32 error code, without its trailing line break.
std::u16string SystemErrorText(DWORD code);
// The message of code from module's message table, else the system's (module null:
// the system's only), without trailing line breaks and spaces; empty where neither
// has one.
std::u16string SystemMessageText(DWORD code, HMODULE module);
// A WinHTTP (or socket) failure as the user reads it: the system's message for the
// code, or a short text of our own where the system has none, then the code in
// parentheses, e.g. "The server did not answer in time (12002)".
std::u16string WinHttpErrorText(DWORD code);
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

class Win32Platform : public Platform {
 public:
  bool FileExists(const std::u16string& path) override;
  bool FolderExists(const std::u16string& path) override;
  bool CreateFolders(const std::u16string& path) override;
  std::string ReadWholeFile(const std::u16string& path) override;
  void WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) override;
  char16_t PathSeparator() const override { return u'\\'; }
  bool IsInvalidPathChar(char16_t c) const override;

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
