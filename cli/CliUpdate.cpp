#include "cli/CliUpdate.h"

#include "support/Utf.h"
#include "update/UpdateMessages.h"
#include "update/UpdateWorker.h"
#include "update/Version.h"

namespace velmora {

bool IsAcceptablePageUrl(std::u16string_view url) {
  if (url.empty() || url.back() != u'/') return false;
  if (url.starts_with(u"https://")) return url.size() > 8;
  for (std::u16string_view host : {u"http://127.0.0.1", u"http://localhost", u"http://[::1]"}) {
    if (!url.starts_with(host)) continue;
    const char16_t next = url.size() > host.size() ? url[host.size()] : u'\0';
    if (next == u'/' || next == u':') return true;
  }
  return false;
}

int CheckUpdateCommand(Platform& platform, const std::optional<std::u16string>& page, std::ostream& out,
                       std::ostream& err) {
  const std::u16string pageUrl = page.value_or(ProductPageUrl);
  if (!IsAcceptablePageUrl(pageUrl)) {
    err << "Ошибка: адрес страницы должен начинаться с https:// (http:// только для этого компьютера) и "
           "кончаться на /: "
        << Utf16ToUtf8(pageUrl) << "\n";
    return 2;
  }
  TUpdateWorker worker(platform, pageUrl);
  worker.Start();
  worker.Wait();
  if (!worker.ErrorText.empty()) {
    err << "Ошибка: " << Utf16ToUtf8(worker.ErrorText) << "\n";
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
