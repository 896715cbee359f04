// Version texts and the download URL rule over arbitrary text. The input, decoded as
// UTF-8, is cut at its first line feed into a and b. Checked: a parsed version consists
// of digits and dots and reads back from its own decimal form; CompareVersions is
// reflexive, antisymmetric and agrees with the parsed numbers, and throws whenever a
// side does not parse; an accepted URL names one file right under its page; an accepted
// page address is made of its parts, holds nothing an HTTP client could read another
// host out of, and uses plain http only to this computer.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Error.h"
#include "base/Text.h"
#include "base/Utf.h"
#include "fuzz/FuzzCheck.h"
#include "update/PageUrl.h"
#include "update/Version.h"

namespace velmora {
namespace {

std::optional<TVersion> TryParse(std::u16string_view text) {
  try {
    return ParseVersion(text);
  } catch (const TError&) {
    return std::nullopt;
  }
}

std::optional<int> TryCompare(std::u16string_view a, std::u16string_view b) {
  try {
    return CompareVersions(a, b);
  } catch (const TError&) {
    return std::nullopt;
  }
}

void CheckVersion(std::u16string_view text) {
  const std::optional<TVersion> v = TryParse(text);
  const std::optional<int> self = TryCompare(text, text);
  VELMORA_FUZZ_CHECK(v.has_value() == self.has_value());
  if (!v) return;
  VELMORA_FUZZ_CHECK(*self == 0);
  std::size_t dots = 0;
  for (char16_t c : text) {
    VELMORA_FUZZ_CHECK((c >= u'0' && c <= u'9') || c == u'.');
    if (c == u'.') ++dots;
  }
  VELMORA_FUZZ_CHECK(dots == 2 || dots == 3);
  if (dots == 2) VELMORA_FUZZ_CHECK((*v)[3] == 0);
  std::u16string decimal;
  for (std::size_t i = 0; i < 4; ++i) {
    VELMORA_FUZZ_CHECK((*v)[i] >= 0);
    if (i > 0) decimal += u'.';
    decimal += ToDecimal((*v)[i]);
  }
  const std::optional<TVersion> again = TryParse(decimal);
  VELMORA_FUZZ_CHECK(again && *again == *v);
  VELMORA_FUZZ_CHECK(TryCompare(text, decimal) == std::optional<int>(0));
}

void CheckPair(std::u16string_view a, std::u16string_view b) {
  const std::optional<TVersion> va = TryParse(a), vb = TryParse(b);
  const std::optional<int> ab = TryCompare(a, b), ba = TryCompare(b, a);
  VELMORA_FUZZ_CHECK(ab.has_value() == (va && vb));
  VELMORA_FUZZ_CHECK(ba.has_value() == (va && vb));
  if (!ab) return;
  VELMORA_FUZZ_CHECK(*ab == -*ba);
  const int expected = *va < *vb ? -1 : (*va > *vb ? 1 : 0);
  VELMORA_FUZZ_CHECK(*ab == expected);
}

bool IsFileChar(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'-' || c == u'.' ||
         c == u'_';
}

void CheckUrl(std::u16string_view url, std::u16string_view page) {
  if (!IsAllowedDownloadUrlFor(url, page)) return;
  VELMORA_FUZZ_CHECK(!page.empty() && url.size() > page.size() && url.substr(0, page.size()) == page);
  const std::u16string_view file = url.substr(page.size());
  VELMORA_FUZZ_CHECK(file.find_first_of(u"/?#%\\:") == std::u16string_view::npos);
  VELMORA_FUZZ_CHECK(file.find(u"..") == std::u16string_view::npos);
  VELMORA_FUZZ_CHECK(file.size() >= 11 && file.substr(0, 7) == u"Velmora" && file.substr(file.size() - 4) == u".exe");
  for (char16_t c : file) VELMORA_FUZZ_CHECK(IsFileChar(c));
}

// A file name made of the input's letters, digits, "-" and "_" is accepted under any
// page, and stops being accepted once a path, a query or a step up follows or precedes it.
void CheckBuiltUrl(std::u16string_view middle, std::u16string_view page) {
  if (page.empty()) return;
  std::u16string name;
  for (char16_t c : middle)
    if (IsFileChar(c) && c != u'.') name += c;
  const std::u16string file = u"Velmora" + name + u".exe";
  const std::u16string url = std::u16string(page) + file;
  VELMORA_FUZZ_CHECK(IsAllowedDownloadUrlFor(url, page));
  VELMORA_FUZZ_CHECK(!IsAllowedDownloadUrlFor(url + u"/x.exe", page));
  VELMORA_FUZZ_CHECK(!IsAllowedDownloadUrlFor(url + u"?x=Velmora.exe", page));
  VELMORA_FUZZ_CHECK(!IsAllowedDownloadUrlFor(std::u16string(page) + u"../" + file, page));
  VELMORA_FUZZ_CHECK(!IsAllowedDownloadUrlFor(std::u16string(page) + u"sub/" + file, page));
  VELMORA_FUZZ_CHECK(!IsAllowedDownloadUrlFor(url, u""));
}

bool IsLoopbackHost(std::u16string_view host) {
  return host == u"127.0.0.1" || host == u"localhost" || host == u"[::1]";
}

void CheckPage(std::u16string_view url) {
  TPageUrl parts;
  if (ParsePageUrl(url, &parts) != TPageUrlVerdict::Accepted) return;
  VELMORA_FUZZ_CHECK(IsAcceptablePageUrl(url));
  const std::u16string port = parts.Port.empty() ? u"" : u":" + parts.Port;
  VELMORA_FUZZ_CHECK(parts.Scheme + u"://" + parts.Host + port + parts.Path == url);
  VELMORA_FUZZ_CHECK(parts.Scheme == u"https" || (parts.Scheme == u"http" && IsLoopbackHost(parts.Host)));
  VELMORA_FUZZ_CHECK(!parts.Host.empty() && parts.Path.front() == u'/' && parts.Path.back() == u'/');
  for (char16_t c : url) VELMORA_FUZZ_CHECK(c > 0x20 && c < 0x7F && c != u'@' && c != u'?' && c != u'#' && c != u'\\');
  // The authority is the text between "://" and the next "/", as any client cuts it.
  const std::u16string_view rest = url.substr(parts.Scheme.size() + 3);
  VELMORA_FUZZ_CHECK(rest.substr(0, rest.find(u'/')) == parts.Host + port);
}

// Whatever stands around an "@", the address carries user information and is refused;
// plain http is accepted only with a loopback host in front of the path.
void CheckBuiltPage(std::u16string_view middle) {
  const std::u16string m(middle);
  VELMORA_FUZZ_CHECK(ParsePageUrl(u"http://127.0.0.1:" + m + u"@203.0.113.7/") == TPageUrlVerdict::UserInformation);
  VELMORA_FUZZ_CHECK(ParsePageUrl(u"https://" + m + u"@velmora.example.com/") == TPageUrlVerdict::UserInformation);
  const std::u16string http = u"http://" + m + u"/";
  if (IsAcceptablePageUrl(http)) {
    const std::u16string_view authority = std::u16string_view(m).substr(0, m.find(u'/'));
    const std::size_t colon = authority.front() == u'[' ? authority.find(u']') + 1 : authority.find(u':');
    VELMORA_FUZZ_CHECK(IsLoopbackHost(authority.substr(0, colon)));
  }
}

}  // namespace
}  // namespace velmora

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velmora;
  const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::size_t cut = text.find(u'\n');
  const std::u16string_view whole(text);
  const std::u16string_view a = whole.substr(0, cut);
  const std::u16string_view b = cut == std::u16string::npos ? std::u16string_view() : whole.substr(cut + 1);

  CheckVersion(a);
  CheckVersion(b);
  CheckPair(a, b);
  CheckPair(a, CurrentVersion);

  CheckUrl(whole, ProductPageUrl);
  CheckUrl(a, ProductPageUrl);
  CheckUrl(a, b);
  CheckUrl(b, a);
  CheckBuiltUrl(a, ProductPageUrl);
  CheckBuiltUrl(a, b);

  CheckPage(whole);
  CheckPage(a);
  CheckPage(b);
  CheckBuiltPage(a);
  return 0;
}
