#include "update/UpdateWorker.h"

#include "base/Error.h"
#include "base/Text.h"
#include "update/Manifest.h"

namespace velmora {

TUpdateWorker::TUpdateWorker(Platform& platform, std::u16string pageUrl)
    : FPlatform(platform), FPageUrl(std::move(pageUrl)) {}

TUpdateWorker::~TUpdateWorker() { Wait(); }

void TUpdateWorker::Start() {
  if (!FThread.joinable() && !Finished()) FThread = std::thread([this] { Run(); });
}

void TUpdateWorker::Wait() {
  if (FThread.joinable()) FThread.join();
}

void TUpdateWorker::Run() {
  try {
    Execute();
  } catch (const std::exception& e) {
    ErrorText = MessageOf(e);
  } catch (...) {
    ErrorText = u"Unknown error";
  }
  FFinished.store(true, std::memory_order_release);
}

void TUpdateWorker::Execute() {
  try {
    THttpRequest request;
    request.Url = FPageUrl + u"version.json";
    request.HeaderName = u"Cache-Control";
    request.HeaderValue = u"no-cache";
    request.MaxBodyBytes = MaxManifestBytes;
    request.TooLargeMessage = "Update manifest is too large";
    request.CaFile = CaFile;
    const THttpReply reply = FPlatform.HttpGet(request);
    if (reply.Status != 200) throw TError(TErrorKind::General, u"HTTP " + ToDecimal(reply.Status));
    TManifest manifest;
    try {
      ValidateManifest(reply.Body, FPageUrl, manifest);
    } catch (...) {
      Version = manifest.Version;
      DownloadURL = manifest.DownloadURL;
      throw;
    }
    Version = manifest.Version;
    DownloadURL = manifest.DownloadURL;
    Description = manifest.Description;
  } catch (const TError& e) {
    ErrorText = e.Message();
  }
}

}  // namespace velmora
