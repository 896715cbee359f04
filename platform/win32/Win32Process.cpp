// windows.h (through Win32Platform.h) must come before rpc.h and shellapi.h.
#include "platform/win32/Win32Platform.h"

#include <rpc.h>
#include <shellapi.h>

#include <vector>

#include "base/Error.h"
#include "platform/Folders.h"

namespace velmora {

std::u16string Win32Platform::ProgramFolder() {
  std::vector<wchar_t> buffer(MAX_PATH);
  while (true) {
    DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return u".\\";
    if (n < buffer.size()) {
      return FolderOfExecutable(std::u16string_view(reinterpret_cast<const char16_t*>(buffer.data()), n), u'\\');
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::optional<std::u16string> Win32Platform::GetEnvironment(const std::u16string& name) {
  ::SetLastError(0);
  DWORD n = ::GetEnvironmentVariableW(W(name), nullptr, 0);
  if (n == 0) {
    if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::u16string();
  }
  std::vector<wchar_t> buffer(n);
  DWORD got = ::GetEnvironmentVariableW(W(name), buffer.data(), n);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), got);
}

std::array<std::uint8_t, 16> Win32Platform::NewGuid() {
  UUID id;
  if (::UuidCreate(&id) != RPC_S_OK) throw TError(TErrorKind::General, u"Cannot create a new identifier");
  std::array<std::uint8_t, 16> b{};
  b[0] = static_cast<std::uint8_t>(id.Data1 >> 24);
  b[1] = static_cast<std::uint8_t>(id.Data1 >> 16);
  b[2] = static_cast<std::uint8_t>(id.Data1 >> 8);
  b[3] = static_cast<std::uint8_t>(id.Data1);
  b[4] = static_cast<std::uint8_t>(id.Data2 >> 8);
  b[5] = static_cast<std::uint8_t>(id.Data2);
  b[6] = static_cast<std::uint8_t>(id.Data3 >> 8);
  b[7] = static_cast<std::uint8_t>(id.Data3);
  for (int i = 0; i < 8; ++i) b[8 + i] = id.Data4[i];
  return b;
}

std::int64_t Win32Platform::NowUnixUtc() {
  FILETIME ft;
  ::GetSystemTimeAsFileTime(&ft);
  ULARGE_INTEGER t;
  t.LowPart = ft.dwLowDateTime;
  t.HighPart = ft.dwHighDateTime;
  return static_cast<std::int64_t>((t.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

TLocalDate Win32Platform::Today() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  return TLocalDate{st.wYear, st.wMonth, st.wDay};
}

std::optional<std::u16string> Win32Platform::UserDataFolder() { return UserDataFolderFromEnvironment(*this, false); }

std::u16string Win32Platform::IniRead(const std::u16string& path, const std::u16string& section,
                                      const std::u16string& key, const std::u16string& defaultValue) {
  wchar_t buffer[1024];
  DWORD n = ::GetPrivateProfileStringW(W(section), W(key), W(defaultValue), buffer, 1024, W(path));
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), n);
}

void Win32Platform::IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                             const std::u16string& value) {
  if (!::WritePrivateProfileStringW(W(section), W(key), W(value), W(path)))
    throw TError(TErrorKind::FileSystem, u"Unable to write to " + path);
}

bool Win32Platform::OpenUrl(const std::u16string& url, TNativeWindow owner) {
  HINSTANCE r = ::ShellExecuteW(static_cast<HWND>(owner), L"open", W(url), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

std::unique_ptr<Platform> MakeSystemPlatform() { return std::make_unique<Win32Platform>(); }

}  // namespace velmora
