// Test helpers that need the operating system itself: a pipe in the file system, a
// temporary file held the way a live atomic write holds it, and bytes whose tail
// cannot be read, which make a real write fail part way.
#pragma once

#include <string>
#include <string_view>

namespace velmora::testing {

// Creates a FIFO at path (POSIX); false on failure or where there are none (Windows).
bool MakeFifo(const std::u16string& path);
// Opens the FIFO for writing without blocking and closes it again, which releases a
// reader waiting on it (POSIX; nothing on Windows).
void ReleaseFifoReaders(const std::u16string& path);

// Creates the file and keeps it as a live writer of the atomic write does: locked with
// flock (POSIX), or open without sharing (Windows), until destroyed.
class THeldFile {
 public:
  explicit THeldFile(const std::u16string& path);
  ~THeldFile();
  THeldFile(const THeldFile&) = delete;
  THeldFile& operator=(const THeldFile&) = delete;
  bool Held() const { return FHeld; }

 private:
  bool FHeld = false;
  void* FHandle = nullptr;  // HANDLE on Windows
  int FFd = -1;
};

// Two pages of memory: the first readable and filled with 'x', the second without any
// access. Bytes() spans the whole first page and the start of the second, so a write
// of them fails after its first page.
class TUnreadableTail {
 public:
  TUnreadableTail();
  ~TUnreadableTail();
  TUnreadableTail(const TUnreadableTail&) = delete;
  TUnreadableTail& operator=(const TUnreadableTail&) = delete;
  // Empty when the memory could not be had.
  std::string_view Bytes() const { return FBase ? std::string_view(FBase, FPage + 100) : std::string_view(); }

 private:
  char* FBase = nullptr;
  std::size_t FPage = 0;
};

}  // namespace velmora::testing
