#include <string>

#include "base/Error.h"
#include "base/Utf.h"
#include "platform/TempName.h"
#include "platform/win32/Win32Platform.h"

namespace velmora {

std::u16string SystemMessageText(DWORD code, HMODULE module) {
  TLocalString buffer;
  const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                      (module ? FORMAT_MESSAGE_FROM_HMODULE : 0);
  // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument receives the new buffer.
  const DWORD n = ::FormatMessageW(flags, module, code, 0, reinterpret_cast<wchar_t*>(buffer.Out()), 0, nullptr);
  std::u16string text;
  if (n && buffer) text.assign(reinterpret_cast<const char16_t*>(buffer.Get()), n);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ')) text.pop_back();
  return text;
}

std::u16string SystemErrorText(DWORD code) {
  std::u16string text = SystemMessageText(code, nullptr);
  if (text.empty()) text = u"System error " + U16(std::to_string(code));
  return text;
}

namespace {

constexpr unsigned long long kMaxReadBytes = 2ULL * 1024 * 1024 * 1024;

[[noreturn]] void FileError(const char16_t* what, const std::u16string& path, DWORD code) {
  throw TError(TErrorKind::FileSystem, std::u16string(what) + u" \"" + path + u"\". " + SystemErrorText(code));
}

// Deletes the temporary files of folder + name that a killed run left. A live writer's
// file is open without sharing, so its deletion fails and it stays; failures are ignored.
void RemoveStaleTemporaries(const std::u16string& folder, const std::u16string& name) {
  WIN32_FIND_DATAW found;
  const TFindHandle search(::FindFirstFileW(W(folder + u"." + name + u".*"), &found));
  if (!search) return;
  do {
    const std::u16string candidate(reinterpret_cast<const char16_t*>(found.cFileName));
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsTemporaryNameOf(candidate, name))
      ::DeleteFileW(W(folder + candidate));
  } while (::FindNextFileW(search.Get(), &found));
}

}  // namespace

bool Win32Platform::IsInvalidPathChar(char16_t c) const {
  return c < 32 || c == u'<' || c == u'>' || c == u'"' || c == u'|' || c == u'?' || c == u'*';
}

bool Win32Platform::FileExists(const std::u16string& path) {
  DWORD a = ::GetFileAttributesW(W(path));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::FolderExists(const std::u16string& path) {
  if (path.empty()) return false;
  DWORD a = ::GetFileAttributesW(W(path));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32Platform::CreateFolders(const std::u16string& path) {
  std::u16string p = path;
  while (p.size() > 3 && (p.back() == u'\\' || p.back() == u'/')) p.pop_back();
  if (p.empty()) return false;
  if (FolderExists(p)) return true;
  std::size_t slash = p.find_last_of(u"\\/");
  if (slash != std::u16string::npos && slash > 0) {
    std::u16string parent = p.substr(0, slash);
    // A drive ("C:") or a root needs no creation.
    if (!(parent.size() == 2 && parent[1] == u':') && !FolderExists(parent + u"\\") && !CreateFolders(parent))
      return false;
  }
  if (!::CreateDirectoryW(W(p), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
  return FolderExists(p);
}

std::string Win32Platform::ReadWholeFile(const std::u16string& path) {
  TKernelHandle file(
      ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) FileError(u"Cannot open file", path, ::GetLastError());
  // A device or a pipe is refused before any read: it may never end or never answer.
  if (::GetFileType(file.Get()) != FILE_TYPE_DISK)
    throw TError(TErrorKind::FileSystem,
                 u"Cannot open file \"" + path + u"\". Not a regular file (a pipe, a device or a socket)");
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.Get(), &size)) FileError(u"Cannot read file", path, ::GetLastError());
  if (static_cast<unsigned long long>(size.QuadPart) >= kMaxReadBytes)
    FileError(u"Cannot read file", path, ERROR_FILE_TOO_LARGE);
  std::string out(static_cast<std::size_t>(size.QuadPart), '\0');
  std::size_t got = 0;
  while (got < out.size()) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(out.size() - got, 1 << 20));
    if (!::ReadFile(file.Get(), &out[got], want, &n, nullptr)) FileError(u"Cannot read file", path, ::GetLastError());
    if (n == 0) break;
    got += n;
  }
  out.resize(got);
  return out;
}

void Win32Platform::WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) {
  for (char16_t c : path)
    if (IsInvalidPathChar(c)) throw TError(TErrorKind::FileSystem, u"Invalid characters in path \"" + path + u"\"");
  // The temporary file lies in the target's folder, so the final move is a rename.
  const std::size_t slash = path.find_last_of(u"\\/");
  const std::u16string folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
  const std::u16string name = slash == std::u16string::npos ? path : path.substr(slash + 1);
  RemoveStaleTemporaries(folder, name);

  std::u16string temp;
  TKernelHandle file;
  for (int attempt = 0; attempt < 100 && !file.Valid(); ++attempt) {
    temp = folder + TemporaryNameFor(name, NewGuid());
    // Not shared: a live writer's file cannot be deleted by another write's clean-up.
    HANDLE created = ::CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    file = TKernelHandle(created);
    if (!file.Valid() && error != ERROR_FILE_EXISTS) FileError(u"Cannot create file", path, error);
  }
  if (!file.Valid()) FileError(u"Cannot create file", path, ERROR_FILE_EXISTS);
  // The handle is closed before the file is deleted: a file still open without
  // sharing cannot be deleted, and it would stay behind.
  auto fail = [&](DWORD code) {
    file.Reset();
    ::DeleteFileW(W(temp));
    FileError(u"Cannot create file", path, code);
  };
  std::size_t done = 0;
  while (done < bytes.size()) {
    DWORD n = 0;
    DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1 << 20));
    if (!::WriteFile(file.Get(), bytes.data() + done, want, &n, nullptr)) fail(::GetLastError());
    done += n;
  }
  if (!::FlushFileBuffers(file.Get())) fail(::GetLastError());
  file.Reset();
  if (!::MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) fail(::GetLastError());
}

}  // namespace velmora
