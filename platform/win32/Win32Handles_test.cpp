// The owners of Win32 resources: none can be copied (a copy would free twice), a
// move hands the resource over without freeing it, and the last owner frees it once.
#ifdef _WIN32
#include "platform/win32/Win32Handles.h"

#include <gtest/gtest.h>

#include <type_traits>

#include "platform/win32/Win32Platform.h"
#include "testing/TempFolder.h"

namespace velmora {
namespace {

template <typename T>
constexpr bool kMovesOnly = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
                            std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;
static_assert(kMovesOnly<TKernelHandle> && kMovesOnly<TFindHandle> && kMovesOnly<TInternetHandle>);
static_assert(kMovesOnly<TFont> && kMovesOnly<TGdiObject<HBRUSH>> && kMovesOnly<TIcon>);
static_assert(kMovesOnly<TLocalString> && kMovesOnly<TCoTaskString> && kMovesOnly<TComPtr<IUnknown>>);

// A scoped state belongs to its scope: it neither copies nor moves.
template <typename T>
constexpr bool kStays = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
                        !std::is_move_constructible_v<T> && !std::is_move_assignable_v<T>;
static_assert(kStays<TComInit> && kStays<TWindowDC> && kStays<TSelection>);

// A COM object on the stack that counts the references it is given back.
class TCountedObject final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++References; }
  ULONG STDMETHODCALLTYPE Release() override {
    ++Releases;
    return --References;
  }
  ULONG References = 1;  // the one a creating function hands out
  int Releases = 0;
};

TEST(Win32Handles, AComReferenceIsReleasedOnceByItsLastOwner) {
  TCountedObject a, b, c;
  {
    TComPtr<IUnknown> first(&a);
    TComPtr<IUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(a.Releases, 0) << "the move released the reference it handed over";
    TComPtr<IUnknown> third(&b);
    third = std::move(second);  // b's reference goes, a's is taken over
    EXPECT_EQ(b.Releases, 1);
    EXPECT_EQ(a.Releases, 0);
    EXPECT_EQ(third.Get(), &a);
    // A function writing through Out() must not overwrite a reference unreleased.
    *third.Out() = &c;
    EXPECT_EQ(a.Releases, 1);
    EXPECT_EQ(third->AddRef(), 2u);
    third->Release();
  }
  for (const TCountedObject* object : {&a, &b, &c}) {
    EXPECT_EQ(object->References, 0u);
    EXPECT_EQ(object->Releases, object == &c ? 2 : 1);
  }
}

// True while some handle holds path open without sharing: then it cannot be opened again.
bool HeldOpen(const std::u16string& path) {
  const TKernelHandle probe(::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return !probe && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

TKernelHandle OpenUnshared(const std::u16string& path) {
  return TKernelHandle(
      ::CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(Win32Handles, AFileStaysOpenAcrossMovesAndIsClosedByItsLastOwner) {
  testing::TempFolder folder;
  const std::u16string a = folder / u"a.txt";
  const std::u16string b = folder / u"b.txt";
  {
    TKernelHandle first = OpenUnshared(a);
    ASSERT_TRUE(first.Valid());
    ASSERT_TRUE(HeldOpen(a));
    TKernelHandle second;
    {
      TKernelHandle moved(std::move(first));
      EXPECT_FALSE(first.Valid());
      TKernelHandle other = OpenUnshared(b);
      ASSERT_TRUE(HeldOpen(b));
      other = std::move(moved);  // closes b, takes a over
      EXPECT_FALSE(HeldOpen(b));
      second = std::move(other);
    }
    EXPECT_TRUE(HeldOpen(a)) << "an owner left empty by a move closed the file";
    // Given up, the handle stays open until closed by hand.
    const HANDLE raw = second.Release();
    second.Reset();
    EXPECT_TRUE(HeldOpen(a));
    TKernelHandle again(raw);
  }
  EXPECT_FALSE(HeldOpen(a));
  EXPECT_FALSE(HeldOpen(b));
}

}  // namespace
}  // namespace velmora
#endif
