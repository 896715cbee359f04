#include <spawn.h>
#include <sys/random.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "base/Error.h"
#include "base/Utf.h"
#include "platform/Folders.h"
#include "platform/posix/PosixPlatform.h"

extern char** environ;

namespace velmora {

std::u16string PosixPlatform::ProgramFolder() {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return u"./";
  return FolderOfExecutable(Utf8ToUtf16(std::string_view(buffer, static_cast<std::size_t>(n))), u'/');
}

std::optional<std::u16string> PosixPlatform::GetEnvironment(const std::u16string& name) {
  const char* value = std::getenv(Utf16ToUtf8(name).c_str());
  if (!value) return std::nullopt;
  return Utf8ToUtf16(value);
}

std::array<std::uint8_t, 16> PosixPlatform::NewGuid() {
  std::array<std::uint8_t, 16> bytes{};
  std::size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::getrandom(bytes.data() + got, bytes.size() - got, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw TError(TErrorKind::General, u"Cannot obtain random bytes for a new identifier");
    }
    got += static_cast<std::size_t>(n);
  }
  // A random (version 4, RFC 4122 variant) GUID, as the Windows generator makes.
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  return bytes;
}

std::int64_t PosixPlatform::NowUnixUtc() { return static_cast<std::int64_t>(std::time(nullptr)); }

TLocalDate PosixPlatform::Today() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  return TLocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::vector<std::u16string> CommandLineArguments(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utf8ToUtf16(argv[i]));
  return args;
}

std::optional<std::u16string> PosixPlatform::UserDataFolder() { return UserDataFolderFromEnvironment(*this, true); }

// xdg-open has no owner window to take.
bool PosixPlatform::OpenUrl(const std::u16string& url, TNativeWindow) {
  std::string u = Utf16ToUtf8(url);
  char program[] = "xdg-open";
  char* argv[] = {program, u.data(), nullptr};
  pid_t pid;
  if (::posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  int status = 0;
  if (::waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace velmora
