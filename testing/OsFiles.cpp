#include "testing/OsFiles.h"

#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "base/Utf.h"

namespace velmora::testing {

#ifdef _WIN32

bool MakeFifo(const std::u16string&) { return false; }
void ReleaseFifoReaders(const std::u16string&) {}

THeldFile::THeldFile(const std::u16string& path) {
  HANDLE h = ::CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  FHeld = h != INVALID_HANDLE_VALUE;
  FHandle = FHeld ? h : nullptr;
}

THeldFile::~THeldFile() {
  if (FHandle) ::CloseHandle(FHandle);
}

TUnreadableTail::TUnreadableTail() {
  SYSTEM_INFO info;
  ::GetSystemInfo(&info);
  FPage = info.dwPageSize;
  FBase = static_cast<char*>(::VirtualAlloc(nullptr, 2 * FPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  if (!FBase) return;
  std::memset(FBase, 'x', FPage);
  DWORD previous = 0;
  ::VirtualProtect(FBase + FPage, FPage, PAGE_NOACCESS, &previous);
}

TUnreadableTail::~TUnreadableTail() {
  if (FBase) ::VirtualFree(FBase, 0, MEM_RELEASE);
}

#else

bool MakeFifo(const std::u16string& path) { return ::mkfifo(Utf16ToUtf8(path).c_str(), 0600) == 0; }

void ReleaseFifoReaders(const std::u16string& path) {
  const int fd = ::open(Utf16ToUtf8(path).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) ::close(fd);
}

THeldFile::THeldFile(const std::u16string& path) {
  FFd = ::open(Utf16ToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  FHeld = FFd >= 0 && ::flock(FFd, LOCK_EX | LOCK_NB) == 0;
}

THeldFile::~THeldFile() {
  if (FFd >= 0) ::close(FFd);
}

TUnreadableTail::TUnreadableTail() {
  FPage = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  void* base = ::mmap(nullptr, 2 * FPage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (base == MAP_FAILED) return;
  FBase = static_cast<char*>(base);
  std::memset(FBase, 'x', FPage);
  ::mprotect(FBase + FPage, FPage, PROT_NONE);
}

TUnreadableTail::~TUnreadableTail() {
  if (FBase) ::munmap(FBase, 2 * FPage);
}

#endif

}  // namespace velmora::testing
