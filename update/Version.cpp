#include "update/Version.h"

#include "base/Error.h"

namespace velmora {

const char16_t* const ProductPageUrl = VELMORA_PRODUCT_PAGE_URL;

namespace {
[[noreturn]] void InvalidVersion() { throw TError(TErrorKind::Conversion, u"Invalid version"); }
}  // namespace

TVersion ParseVersion(std::u16string_view text) {
  TVersion v{0, 0, 0, 0};
  if (text.empty()) InvalidVersion();
  std::size_t count = 0;
  std::size_t start = 0;
  while (true) {
    std::size_t dot = text.find(u'.', start);
    std::u16string_view piece =
        text.substr(start, dot == std::u16string_view::npos ? text.size() - start : dot - start);
    if (count >= 4 || piece.empty()) InvalidVersion();
    long long value = 0;
    for (char16_t c : piece) {
      if (c < u'0' || c > u'9') InvalidVersion();
      value = value * 10 + (c - u'0');
      if (value > 2147483647LL) InvalidVersion();
    }
    v[count++] = static_cast<std::int32_t>(value);
    if (dot == std::u16string_view::npos) break;
    start = dot + 1;
  }
  if (count < 3) InvalidVersion();
  return v;
}

int CompareVersions(std::u16string_view a, std::u16string_view b) {
  const TVersion va = ParseVersion(a);
  const TVersion vb = ParseVersion(b);
  for (int i = 0; i < 4; ++i)
    if (va[i] != vb[i]) return va[i] > vb[i] ? 1 : -1;
  return 0;
}

bool IsAllowedDownloadUrlFor(std::u16string_view url, std::u16string_view pageUrl) {
  if (pageUrl.empty() || url.substr(0, pageUrl.size()) != pageUrl) return false;
  std::u16string_view file = url.substr(pageUrl.size());
  constexpr std::u16string_view kPrefix = u"Velmora";
  constexpr std::u16string_view kSuffix = u".exe";
  if (file.size() < kPrefix.size() || file.substr(0, kPrefix.size()) != kPrefix) return false;
  if (file.size() < kSuffix.size() || file.substr(file.size() - kSuffix.size()) != kSuffix) return false;
  for (char16_t c : file) {
    bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' ||
              c == u'.' || c == u'_';
    if (!ok) return false;
  }
  return file.find(u"..") == std::u16string_view::npos;
}

}  // namespace velmora
