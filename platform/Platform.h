// The operating-system layer: everything the core needs from the machine, behind one
// small abstract class. The core receives a reference; only the program entries choose
// the real implementation (MakeSystemPlatform). Paths and texts are UTF-16. The few
// services that need no Platform object (case mapping, the command line) are free
// functions below, implemented once per platform as well.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// A calendar date as the clock reports it (local time zone).
struct TLocalDate {
  int Year;
  int Month;
  int Day;
};

// A window as the operating system knows it (an HWND on Windows); null for none.
using TNativeWindow = void*;

// The reply of one HTTP GET.
struct THttpReply {
  int Status = 0;
  std::string Body;  // raw bytes
};

// One GET. The time-outs are set here once, to what the update check (the program's
// only request) needs: 5 s for every wait, 15 s for the whole exchange.
struct THttpRequest {
  std::u16string Url;
  std::u16string HeaderName;  // one extra request header (may be empty)
  std::u16string HeaderValue;
  int ConnectTimeoutMs = 5000;  // name resolution and connection
  int ReceiveTimeoutMs = 5000;  // send and each wait for data
  int OverallDeadlineMs = 15000;
  std::size_t MaxBodyBytes = 0;  // 0: no cap; otherwise the read stops with an error beyond it
  std::string TooLargeMessage;   // the error text when the cap is exceeded
  std::u16string CaFile;         // extra trusted CA file (tests); empty for the system store
};

class Platform {
 public:
  virtual ~Platform() = default;

  // ---- files ----
  // True when a regular file exists at path.
  virtual bool FileExists(const std::u16string& path) = 0;
  // True when a folder exists at path (a trailing separator is allowed).
  virtual bool FolderExists(const std::u16string& path) = 0;
  // Creates the folder and every missing parent. Returns false when it could not;
  // never throws. An existing folder is success.
  virtual bool CreateFolders(const std::u16string& path) = 0;
  // Reads the whole file as bytes, sharing read access only. Throws TError
  // (file system kind) with the system's message; refuses files of 2 GiB or more, and
  // at once whatever is not a regular file (a folder, a pipe, a device).
  virtual std::string ReadWholeFile(const std::u16string& path) = 0;
  // Writes bytes as the whole new content of path: they go to a temporary file in the
  // same folder (see platform/TempName.h) which then replaces the target in one rename.
  // On failure the earlier file is left whole, the temporary file is closed and removed,
  // and TError is thrown. Temporary files of the same path that a killed run left are
  // removed first. On POSIX a new file follows the umask and a replaced one keeps its mode.
  virtual void WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) = 0;
  // The path separator of this platform.
  virtual char16_t PathSeparator() const = 0;
  // True when c may not appear in a path component on this platform.
  virtual bool IsInvalidPathChar(char16_t c) const = 0;

  // ---- process ----
  // The folder of the running executable, ending with the path separator.
  virtual std::u16string ProgramFolder() = 0;
  // The value of an environment variable; nullopt when it is not set.
  virtual std::optional<std::u16string> GetEnvironment(const std::u16string& name) = 0;
  // A new random GUID as 16 bytes in the order its text form writes them: the 32-bit
  // field, the two 16-bit fields (each most significant byte first), then the last 8.
  virtual std::array<std::uint8_t, 16> NewGuid() = 0;
  // Current time as whole seconds since 1970-01-01 00:00:00 UTC.
  virtual std::int64_t NowUnixUtc() = 0;
  // Today's date in the local time zone.
  virtual TLocalDate Today() = 0;
  // The per-user folder of this program, without a trailing separator: "Velmora" under
  // %APPDATA% on Windows; where APPDATA is unset (Linux), under $XDG_DATA_HOME, else
  // under $HOME/.local/share. nullopt when the environment names none of these.
  virtual std::optional<std::u16string> UserDataFolder() = 0;

  // ---- INI (one key per call; the file is opened and closed each time) ----
  // The value, or defaultValue when the file, section or key is absent or unreadable.
  virtual std::u16string IniRead(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                                 const std::u16string& defaultValue) = 0;
  // Writes one key, creating the file and section as needed and keeping the other
  // lines. Throws TError "Unable to write to <path>" on failure.
  virtual void IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                        const std::u16string& value) = 0;

  // ---- shell ----
  // Opens url in the default browser, with owner as the window that owns the request
  // (and anything the shell shows for it); false when the shell reports failure.
  virtual bool OpenUrl(const std::u16string& url, TNativeWindow owner) = 0;

  // ---- HTTP ----
  // One GET without redirects. Throws TError with a message on transport failure,
  // time-out, or when the body exceeds MaxBodyBytes.
  virtual THttpReply HttpGet(const THttpRequest& request) = 0;
};

// The implementation for the platform this program was built for.
std::unique_ptr<Platform> MakeSystemPlatform();

// ---- case mapping ----
// Letter case of one UTF-16 code unit, the same on every platform: CharUpperBuffW and
// CharLowerBuffW on Windows, ICU on Linux. A unit without a case maps to itself.
char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);
// The text with every code unit in lower case.
std::u16string LowerText(std::u16string_view text);
// The text with its first character in upper case (unchanged when empty).
std::u16string CapitalizeFirst(std::u16string text);

// ---- command line ----
// The program's arguments after its own name, as UTF-16. Takes main's argc and argv:
// on Windows they are not used and the wide command line is read instead (argv holds
// only the ANSI code page's approximation); elsewhere argv is decoded as UTF-8.
std::vector<std::u16string> CommandLineArguments(int argc, char** argv);

}  // namespace velmora
