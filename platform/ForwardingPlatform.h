// A Platform that forwards every call to another one. Tests derive from it and
// override single methods to inject a fixed clock, a GUID, an unset variable, a
// failing write or a scripted HTTP reply, while everything else stays real.
#pragma once

#include "platform/Platform.h"

namespace velmora {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& target) : FTarget(target) {}

  bool FileExists(const std::u16string& path) override { return FTarget.FileExists(path); }
  bool FolderExists(const std::u16string& path) override { return FTarget.FolderExists(path); }
  bool CreateFolders(const std::u16string& path) override { return FTarget.CreateFolders(path); }
  std::string ReadWholeFile(const std::u16string& path) override { return FTarget.ReadWholeFile(path); }
  void WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) override {
    FTarget.WriteWholeFileAtomic(path, bytes);
  }
  char16_t PathSeparator() const override { return FTarget.PathSeparator(); }
  bool IsInvalidPathChar(char16_t c) const override { return FTarget.IsInvalidPathChar(c); }
  std::u16string ProgramFolder() override { return FTarget.ProgramFolder(); }
  std::optional<std::u16string> GetEnvironment(const std::u16string& name) override {
    return FTarget.GetEnvironment(name);
  }
  std::array<std::uint8_t, 16> NewGuid() override { return FTarget.NewGuid(); }
  std::int64_t NowUnixUtc() override { return FTarget.NowUnixUtc(); }
  TLocalDate Today() override { return FTarget.Today(); }
  std::optional<std::u16string> UserDataFolder() override { return FTarget.UserDataFolder(); }
  std::u16string IniRead(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                         const std::u16string& defaultValue) override {
    return FTarget.IniRead(path, section, key, defaultValue);
  }
  void IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                const std::u16string& value) override {
    FTarget.IniWrite(path, section, key, value);
  }
  bool OpenUrl(const std::u16string& url, TNativeWindow owner) override { return FTarget.OpenUrl(url, owner); }
  THttpReply HttpGet(const THttpRequest& request) override { return FTarget.HttpGet(request); }

 protected:
  Platform& FTarget;
};

}  // namespace velmora
