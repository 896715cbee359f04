// Windows-only faults on real files: a document held open without sharing by another
// handle, and a read-only document. Windows refuses to replace either; Wine replaces
// both. Either way the document stays whole (the earlier one after a refusal, the
// complete new one after a replace) and no temporary file remains.
#ifdef _WIN32
#include <windows.h>

#include <gtest/gtest.h>

#include "base/Error.h"
#include "folk/FolkCore.h"
#include "testing/FakePlatform.h"
#include "testing/TempFolder.h"

namespace velmora {

TEST(Win32Faults, HeldAndReadOnlyDocumentsStayWhole) {
  testing::TempFolder out;
  testing::FakePlatform platform;
  const std::u16string path = GenerateFolkWeek(platform, out.Path(), {2026, 1, 5});
  const std::string before = testing::ReadBytes(path);
  const auto* wide = reinterpret_cast<const wchar_t*>(path.c_str());
  for (bool readOnly : {false, true}) {
    HANDLE held = INVALID_HANDLE_VALUE;
    if (readOnly) {
      ASSERT_TRUE(::SetFileAttributesW(wide, FILE_ATTRIBUTE_READONLY));
    } else {
      held = ::CreateFileW(wide, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(held, INVALID_HANDLE_VALUE);
    }
    bool refused = false;
    try {
      GenerateFolkWeek(platform, out.Path(), {2026, 1, 5});
    } catch (const TError& e) {
      refused = true;
      EXPECT_FALSE(e.Message().empty());
    }
    if (held != INVALID_HANDLE_VALUE) ::CloseHandle(held);
    ::SetFileAttributesW(wide, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testing::ReadBytes(path), before)
        << (readOnly ? "read-only " : "held ") << (refused ? "refused" : "replaced");
    EXPECT_EQ(testing::ListFolder(out / u"generated"), std::vector<std::string>{"primety_20260105.txt"});
  }
}

}  // namespace velmora
#endif
