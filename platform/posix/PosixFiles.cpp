#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "platform/posix/PosixPlatform.h"
#include "support/Error.h"
#include "support/Utf.h"

namespace velmora {

namespace {

constexpr long long kMaxReadBytes = 2LL * 1024 * 1024 * 1024;

[[noreturn]] void FileError(const char* what, const std::string& path, int error) {
  throw TError(TErrorKind::FileSystem,
               U16(std::string(what) + " \"" + path + "\". " + std::strerror(error)));
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
  // file systems; its name starts with a dot and ends in .tmp.
  std::size_t slash = target.rfind('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  std::string temp = folder + "." + name + ".XXXXXX";
  FileHandle fd(::mkstemp(temp.data()));
  if (fd.Get() < 0) FileError("Cannot create file", target, errno);
  ::fchmod(fd.Get(), 0644);
  auto fail = [&](int error) {
    ::close(fd.Release());
    ::unlink(temp.c_str());
    FileError("Cannot write file", target, error);
  };
  if (!WriteAll(fd.Get(), bytes)) fail(errno);
  if (::fsync(fd.Get()) != 0) fail(errno);
  if (::close(fd.Release()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    FileError("Cannot write file", target, error);
  }
  if (::rename(temp.c_str(), target.c_str()) != 0) {
    int error = errno;
    ::unlink(temp.c_str());
    FileError("Cannot create file", target, error);
  }
}

}  // namespace velmora
