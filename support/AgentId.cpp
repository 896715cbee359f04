#include "support/AgentId.h"

#include "base/Text.h"
#include "support/Documents.h"
#include "support/Paths.h"

namespace velmora {

std::u16string FormatGuid(const std::array<std::uint8_t, 16>& bytes) {
  static const char16_t kHex[] = u"0123456789ABCDEF";
  std::u16string out = u"{";
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out.push_back(u'-');
    out.push_back(kHex[bytes[i] >> 4]);
    out.push_back(kHex[bytes[i] & 0x0F]);
  }
  out.push_back(u'}');
  return out;
}

namespace {

// The trimmed content of an existing identifier file, or empty when there is none.
std::u16string ReadIdFile(Platform& platform, const std::u16string& path) {
  if (!platform.FileExists(path)) return {};
  return Trim(ReadDocument(platform, path));
}

bool TryWriteIdFile(Platform& platform, const std::u16string& path, const std::u16string& id) {
  try {
    WriteDocument(platform, path, id);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

std::u16string GetAgentId(Platform& platform, const std::u16string& programFolder) {
  const std::u16string pathA = WithTrailingSeparator(platform, programFolder) + u"agent.id";
  std::u16string id = ReadIdFile(platform, pathA);
  if (!id.empty()) return id;

  const std::u16string fresh = FormatGuid(platform.NewGuid());
  if (TryWriteIdFile(platform, pathA, fresh)) return fresh;

  const std::optional<std::u16string> userFolder = platform.UserDataFolder();
  if (!userFolder) return fresh;
  const std::u16string& folderB = *userFolder;
  const std::u16string pathB = folderB + platform.PathSeparator() + u"agent.id";
  id = ReadIdFile(platform, pathB);
  if (!id.empty()) return id;
  if (platform.CreateFolders(folderB)) TryWriteIdFile(platform, pathB, fresh);
  return fresh;
}

}  // namespace velmora
