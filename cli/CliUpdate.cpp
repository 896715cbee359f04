#include "cli/CliUpdate.h"

#include "base/Error.h"
#include "base/Utf.h"
#include "update/UpdateMessages.h"
#include "update/UpdateWorker.h"
#include "update/Version.h"

namespace velmora {

int CheckUpdateCommand(Platform& platform, const std::optional<std::u16string>& page, std::ostream& out,
                       std::ostream& err) {
  const std::u16string pageUrl = page.value_or(ProductPageUrl);
  TUpdateWorker worker(platform, pageUrl);
  worker.Start();
  worker.Wait();
  if (!worker.ErrorText.empty()) {
    err << Utf16ToUtf8(ErrorPrefix + worker.ErrorText) << "\n";
    return 1;
  }
  if (CompareVersions(worker.Version, CurrentVersion) > 0) {
    out << Utf16ToUtf8(UpdateOfferInstruction(worker.Version)) << "\n" << Utf16ToUtf8(worker.DownloadURL) << "\n";
  } else {
    out << Utf16ToUtf8(UpToDateMessage()) << "\n";
  }
  return 0;
}

}  // namespace velmora
