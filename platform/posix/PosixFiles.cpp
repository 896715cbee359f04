#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <string>

#include "base/Error.h"
#include "base/Utf.h"
#include "platform/TempName.h"
#include "platform/posix/PosixPlatform.h"

namespace velmora {

namespace {

constexpr long long kMaxReadBytes = 2LL * 1024 * 1024 * 1024;

[[noreturn]] void FileError(const char* what, const std::string& path, int error) {
  throw TError(TErrorKind::FileSystem, U16(std::string(what) + " \"" + path + "\". " + std::strerror(error)));
}

[[noreturn]] void NotRegularFile(const std::string& path) {
  throw TError(TErrorKind::FileSystem,
               U16("Cannot open file \"" + path + "\". Not a regular file (a pipe, a device or a socket)"));
}

// Closes a descriptor on scope exit.
class FileHandle {
 public:
  explicit FileHandle(int fd) : FFd(fd) {}
  ~FileHandle() {
    if (FFd >= 0) ::close(FFd);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  int Get() const { return FFd; }
  int Release() {
    int fd = FFd;
    FFd = -1;
    return fd;
  }

 private:
  int FFd;
};

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Creates a new temporary file for folder + name with mode 0666 (the umask applies) and
// locks it for as long as it is open: a lock a live writer holds tells the clean-up of
// stale temporary files to keep away, and a killed writer's lock is gone with it.
// Returns the descriptor (or -1 with errno set) and the file's path in temp.
int CreateLockedTemporary(const std::string& folder, const std::string& name, std::string& temp) {
  const std::u16string wideName = Utf8ToUtf16(name);
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::array<std::uint8_t, 16> random{};
    if (::getrandom(random.data(), random.size(), 0) != static_cast<ssize_t>(random.size())) continue;
    temp = folder + Utf16ToUtf8(TemporaryNameFor(wideName, random));
    FileHandle fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (fd.Get() < 0) {
      if (errno == EEXIST) continue;
      return -1;
    }
    while (::flock(fd.Get(), LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::unlink(temp.c_str());
      errno = error;
      return -1;
    }
    // Between the creation and the lock, another write may have taken the file for a
    // stale one and removed it: then the name no longer leads to this file.
    struct stat mine, named;
    if (::fstat(fd.Get(), &mine) == 0 && ::stat(temp.c_str(), &named) == 0 && mine.st_ino == named.st_ino &&
        mine.st_dev == named.st_dev)
      return fd.Release();
  }
  errno = EEXIST;
  return -1;
}

// Removes the temporary files of folder + name that a killed run left: those no live
// writer holds locked. Failures are ignored; the write goes on either way.
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const std::u16string wideName = Utf8ToUtf16(name);
  while (const dirent* entry = ::readdir(dir)) {
    if (!IsTemporaryNameOf(Utf8ToUtf16(entry->d_name), wideName)) continue;
    const std::string temp = folder + entry->d_name;
    FileHandle fd(::open(temp.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
    struct stat locked, named;
    if (fd.Get() < 0 || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 || ::fstat(fd.Get(), &locked) != 0 ||
        !S_ISREG(locked.st_mode) || ::stat(temp.c_str(), &named) != 0 || locked.st_ino != named.st_ino ||
        locked.st_dev != named.st_dev)
      continue;
    ::unlink(temp.c_str());
  }
  ::closedir(dir);
}

}  // namespace

bool PosixPlatform::FileExists(const std::u16string& path) {
  struct stat st;
  return ::stat(Utf16ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PosixPlatform::FolderExists(const std::u16string& path) {
  struct stat st;
  return !path.empty() && ::stat(Utf16ToUtf8(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixPlatform::CreateFolders(const std::u16string& path) {
  std::string p = Utf16ToUtf8(path);
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  if (p.empty()) return false;
  for (std::size_t i = 1; i <= p.size(); ++i) {
    if (i < p.size() && p[i] != '/') continue;
    std::string part = p.substr(0, i);
    if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return FolderExists(path);
}

std::string PosixPlatform::ReadWholeFile(const std::u16string& path) {
  const std::string p = Utf16ToUtf8(path);
  // Opened without blocking, so that a pipe with no writer cannot hold the open; what
  // is not a regular file (a pipe, a device, a socket) is refused before any read, as
  // a device such as /dev/zero would never end.
  FileHandle fd(::open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.Get() < 0) FileError("Cannot open file", p, errno);
  struct stat st;
  if (::fstat(fd.Get(), &st) != 0) FileError("Cannot read file", p, errno);
  if (S_ISDIR(st.st_mode)) FileError("Cannot open file", p, EISDIR);
  if (!S_ISREG(st.st_mode)) NotRegularFile(p);
  ::fcntl(fd.Get(), F_SETFL, ::fcntl(fd.Get(), F_GETFL) & ~O_NONBLOCK);
  if (st.st_size >= kMaxReadBytes) FileError("Cannot read file", p, EFBIG);
  std::string out;
  out.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  while (true) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      FileError("Cannot read file", p, errno);
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
    if (static_cast<long long>(out.size()) >= kMaxReadBytes) FileError("Cannot read file", p, EFBIG);
  }
  return out;
}

void PosixPlatform::WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) {
  const std::string target = Utf16ToUtf8(path);
  // The temporary file lies in the target's folder so that the rename cannot cross
  // file systems.
  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  RemoveStaleTemporaries(folder, name);

  std::string temp;
  FileHandle fd(CreateLockedTemporary(folder, name, temp));
  if (fd.Get() < 0) FileError("Cannot create file", target, errno);
  // The file was created with 0666 less the umask; a file it replaces keeps its mode.
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) ::fchmod(fd.Get(), existing.st_mode & 07777);
  auto fail = [&](const char* what, int error) {
    ::close(fd.Release());
    ::unlink(temp.c_str());
    FileError(what, target, error);
  };
  if (!WriteAll(fd.Get(), bytes)) fail("Cannot write file", errno);
  if (::fsync(fd.Get()) != 0) fail("Cannot write file", errno);
  // Renamed while still locked, so that no other write takes it for a stale one.
  if (::rename(temp.c_str(), target.c_str()) != 0) fail("Cannot create file", errno);
  ::close(fd.Release());
}

}  // namespace velmora
