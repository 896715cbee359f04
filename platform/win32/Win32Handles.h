// Ownership of every Win32 resource the programs hold: kernel, search and WinHTTP
// handles, GDI objects and icons, buffers the system allocated (FormatMessageW's,
// CoTaskMem strings), COM interfaces, and the scoped states COM start-up, a window's
// DC and an object selected into it. Owners free once, on scope exit or Reset; they
// move and never copy. The scoped states neither move nor copy.
#pragma once

#include <windows.h>
// After windows.h:
#include <objbase.h>
#include <winhttp.h>

#include <utility>

namespace velmora {

// One resource described by TTraits: THandle, Empty() (the value that means none),
// IsSet(handle) and Free(handle).
template <typename TTraits>
class TOwned {
 public:
  using THandle = typename TTraits::THandle;

  TOwned() noexcept = default;
  explicit TOwned(THandle handle) noexcept : FHandle(handle) {}
  ~TOwned() { Reset(); }
  TOwned(TOwned&& other) noexcept : FHandle(other.Release()) {}
  TOwned& operator=(TOwned&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;

  THandle Get() const noexcept { return FHandle; }
  bool Valid() const noexcept { return TTraits::IsSet(FHandle); }
  explicit operator bool() const noexcept { return Valid(); }
  // Frees the resource held, if any, and holds handle instead.
  void Reset(THandle handle = TTraits::Empty()) noexcept {
    const THandle old = std::exchange(FHandle, handle);
    if (TTraits::IsSet(old)) TTraits::Free(old);
  }
  // Gives the resource up unfreed; the owner is empty afterwards.
  [[nodiscard]] THandle Release() noexcept { return std::exchange(FHandle, TTraits::Empty()); }
  // Where a function that returns a new resource through a pointer puts it; frees the
  // resource held first, so that nothing is overwritten unfreed.
  THandle* Out() noexcept {
    Reset();
    return &FHandle;
  }

 private:
  THandle FHandle = TTraits::Empty();
};

namespace win32_traits {

// A resource whose absence is a null value.
template <typename T, auto FreeFunction>
struct TNullIsEmpty {
  using THandle = T;
  static THandle Empty() noexcept { return nullptr; }
  static bool IsSet(THandle handle) noexcept { return handle != nullptr; }
  static void Free(THandle handle) noexcept { FreeFunction(handle); }
};

// A kernel handle: CreateFileW and FindFirstFileW fail with INVALID_HANDLE_VALUE,
// most other functions with null; neither is closed.
template <auto FreeFunction>
struct TKernelEmpty {
  using THandle = HANDLE;
  static THandle Empty() noexcept { return INVALID_HANDLE_VALUE; }
  static bool IsSet(THandle handle) noexcept { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Free(THandle handle) noexcept { FreeFunction(handle); }
};

template <typename T>
struct TComRelease {
  using THandle = T*;
  static THandle Empty() noexcept { return nullptr; }
  static bool IsSet(THandle handle) noexcept { return handle != nullptr; }
  static void Free(THandle handle) noexcept { handle->Release(); }
};

}  // namespace win32_traits

using TKernelHandle = TOwned<win32_traits::TKernelEmpty<&::CloseHandle>>;
using TFindHandle = TOwned<win32_traits::TKernelEmpty<&::FindClose>>;
using TInternetHandle = TOwned<win32_traits::TNullIsEmpty<HINTERNET, &::WinHttpCloseHandle>>;
template <typename T>
using TGdiObject = TOwned<win32_traits::TNullIsEmpty<T, &::DeleteObject>>;
using TFont = TGdiObject<HFONT>;
using TIcon = TOwned<win32_traits::TNullIsEmpty<HICON, &::DestroyIcon>>;
// The buffer FormatMessageW allocates with FORMAT_MESSAGE_ALLOCATE_BUFFER.
using TLocalString = TOwned<win32_traits::TNullIsEmpty<wchar_t*, &::LocalFree>>;
// The argument array CommandLineToArgvW allocates, one LocalAlloc block.
using TLocalArgv = TOwned<win32_traits::TNullIsEmpty<wchar_t**, &::LocalFree>>;
// A string a COM method allocates for its caller (CoTaskMemAlloc).
using TCoTaskString = TOwned<win32_traits::TNullIsEmpty<wchar_t*, &::CoTaskMemFree>>;

// One reference to a COM interface, released once.
template <typename T>
class TComPtr : public TOwned<win32_traits::TComRelease<T>> {
 public:
  using TOwned<win32_traits::TComRelease<T>>::TOwned;
  T* operator->() const noexcept { return this->Get(); }
};

// COM on the calling thread for the owner's lifetime, when CoInitializeEx succeeded
// (S_FALSE too: every successful call is balanced by CoUninitialize).
class TComInit {
 public:
  explicit TComInit(DWORD flags) noexcept : FResult(::CoInitializeEx(nullptr, flags)) {}
  ~TComInit() {
    if (SUCCEEDED(FResult)) ::CoUninitialize();
  }
  TComInit(const TComInit&) = delete;
  TComInit& operator=(const TComInit&) = delete;

  HRESULT Result() const noexcept { return FResult; }

 private:
  HRESULT FResult;
};

// The DC of a window's client area (GetDC), released on scope exit.
class TWindowDC {
 public:
  explicit TWindowDC(HWND window) noexcept : FWindow(window), FDC(::GetDC(window)) {}
  ~TWindowDC() {
    if (FDC) ::ReleaseDC(FWindow, FDC);
  }
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;

  HDC Get() const noexcept { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

// An object selected into a DC for a scope: the object selected before comes back on
// scope exit, so the DC never keeps an object its owner deletes.
class TSelection {
 public:
  TSelection(HDC dc, HGDIOBJ object) noexcept : FDC(dc), FEarlier(dc ? ::SelectObject(dc, object) : nullptr) {}
  ~TSelection() {
    if (FEarlier && FEarlier != HGDI_ERROR) ::SelectObject(FDC, FEarlier);
  }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FEarlier;
};

}  // namespace velmora
