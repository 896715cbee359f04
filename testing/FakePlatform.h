// A real platform with single faults injected: a fixed program folder, clock, today
// and GUID, environment variables that can be unset, paths whose writes fail, and a
// scripted HTTP reply.
#pragma once

#include <functional>
#include <map>
#include <set>

#include "base/Error.h"
#include "platform/Folders.h"
#include "platform/ForwardingPlatform.h"

namespace velmora::testing {

// Holds the real platform; a base listed first, so it exists before the forwarder.
struct TSystemPlatformHolder {
  std::unique_ptr<Platform> FSystem = MakeSystemPlatform();
};

class FakePlatform : private TSystemPlatformHolder, public ForwardingPlatform {
 public:
  FakePlatform() : ForwardingPlatform(*FSystem) {}

  std::u16string ProgramFolderValue;
  std::map<std::u16string, std::optional<std::u16string>> Environment;  // overrides; nullopt = unset
  std::optional<std::array<std::uint8_t, 16>> Guid;
  std::optional<std::int64_t> Now;
  int ClockFailures = 0;  // how many of the next clock reads throw
  std::optional<TLocalDate> TodayValue;
  std::function<bool(const std::u16string&)> FailWrite;  // true: the write of that path fails
  std::function<bool(const std::u16string&)> FailRead;   // true: reading that path fails
  std::function<THttpReply(const THttpRequest&)> Http;
  std::vector<std::u16string> OpenedUrls;
  std::vector<TNativeWindow> OpenedOwners;
  bool OpenUrlResult = true;

  std::u16string ProgramFolder() override {
    return ProgramFolderValue.empty() ? FTarget.ProgramFolder() : ProgramFolderValue;
  }
  std::optional<std::u16string> GetEnvironment(const std::u16string& name) override {
    auto it = Environment.find(name);
    return it != Environment.end() ? it->second : FTarget.GetEnvironment(name);
  }
  std::array<std::uint8_t, 16> NewGuid() override { return Guid ? *Guid : FTarget.NewGuid(); }
  std::int64_t NowUnixUtc() override {
    if (ClockFailures > 0) {
      --ClockFailures;
      throw TError(TErrorKind::General, u"Injected clock failure");
    }
    return Now ? *Now : FTarget.NowUnixUtc();
  }
  TLocalDate Today() override { return TodayValue ? *TodayValue : FTarget.Today(); }
  // The real rule over the faked environment (the XDG fallback where it applies).
  std::optional<std::u16string> UserDataFolder() override {
    return UserDataFolderFromEnvironment(*this, PathSeparator() == u'/');
  }
  std::string ReadWholeFile(const std::u16string& path) override {
    if (FailRead && FailRead(path)) throw TError(TErrorKind::FileSystem, u"Injected read failure: " + path);
    return FTarget.ReadWholeFile(path);
  }
  void WriteWholeFileAtomic(const std::u16string& path, std::string_view bytes) override {
    if (FailWrite && FailWrite(path)) throw TError(TErrorKind::FileSystem, u"Injected write failure: " + path);
    FTarget.WriteWholeFileAtomic(path, bytes);
  }
  void IniWrite(const std::u16string& path, const std::u16string& section, const std::u16string& key,
                const std::u16string& value) override {
    if (FailWrite && FailWrite(path)) throw TError(TErrorKind::FileSystem, u"Unable to write to " + path);
    FTarget.IniWrite(path, section, key, value);
  }
  bool OpenUrl(const std::u16string& url, TNativeWindow owner) override {
    OpenedUrls.push_back(url);
    OpenedOwners.push_back(owner);
    return OpenUrlResult;
  }
  THttpReply HttpGet(const THttpRequest& request) override { return Http ? Http(request) : FTarget.HttpGet(request); }
};

}  // namespace velmora::testing
