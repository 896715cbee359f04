// Ownership of the window's GDI objects and icons: one handle, freed on scope exit,
// moved and never copied.
#pragma once

#include <windows.h>

#include <utility>

namespace velmora {

template <typename THandle, auto Free>
class TOwned {
 public:
  explicit TOwned(THandle handle = nullptr) : FHandle(handle) {}
  ~TOwned() { Reset(); }
  TOwned(TOwned&& other) noexcept : FHandle(std::exchange(other.FHandle, nullptr)) {}
  TOwned& operator=(TOwned&& other) noexcept {
    if (this != &other) {
      Reset();
      FHandle = std::exchange(other.FHandle, nullptr);
    }
    return *this;
  }
  TOwned(const TOwned&) = delete;
  TOwned& operator=(const TOwned&) = delete;

  THandle Get() const { return FHandle; }
  void Reset(THandle handle = nullptr) {
    if (FHandle) Free(FHandle);
    FHandle = handle;
  }

 private:
  THandle FHandle;
};

using TFont = TOwned<HFONT, &::DeleteObject>;
using TIcon = TOwned<HICON, &::DestroyIcon>;

}  // namespace velmora
