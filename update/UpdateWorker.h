// TUpdateWorker: one background fetch and validation of the update manifest. It
// writes only its four result fields and then publishes its finished flag (release);
// the owner reads the fields only after seeing the flag (acquire) or after Wait().
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "platform/Platform.h"

namespace velmora {

// The most a manifest of 65,536 UTF-16 units can take as UTF-8; reading stops beyond.
inline constexpr std::size_t MaxManifestBytes = 65536 * 3;

class TUpdateWorker final {
 public:
  // Created suspended: nothing runs until Start(). pageUrl is the product page whose
  // "version.json" is fetched and under which the download must lie.
  TUpdateWorker(Platform& platform, std::u16string pageUrl);
  // Waits for a running thread before the worker goes. The run cannot be cut short:
  // the request's time-outs and overall deadline bound the wait.
  ~TUpdateWorker();
  TUpdateWorker(const TUpdateWorker&) = delete;
  TUpdateWorker& operator=(const TUpdateWorker&) = delete;

  void Start();
  bool Finished() const { return FFinished.load(std::memory_order_acquire); }
  void Wait();

  // Valid once Finished() is true.
  std::u16string Version;
  std::u16string DownloadURL;
  std::u16string Description;
  std::u16string ErrorText;

  // Extra trusted CA for the request (tests with their own TLS server).
  std::u16string CaFile;

 private:
  // The thread's body: runs Execute and publishes the finished flag.
  void Run();
  // The request and the status and manifest checks; every failure ends up in ErrorText.
  void Execute();
  Platform& FPlatform;
  std::u16string FPageUrl;
  std::atomic<bool> FFinished{false};
  std::thread FThread;
};

}  // namespace velmora
