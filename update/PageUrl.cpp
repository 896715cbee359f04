#include "update/PageUrl.h"

namespace velmora {

namespace {

bool IsAsciiAlnum(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}
bool IsHexDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }

// A host name or IPv4 address: letters, digits, "-" and ".".
bool IsNameHost(std::u16string_view host) {
  if (host.empty()) return false;
  for (char16_t c : host)
    if (!IsAsciiAlnum(c) && c != u'-' && c != u'.') return false;
  return true;
}

// An IPv6 literal in brackets: hexadecimal digits, ":" and "." (an embedded IPv4 tail).
bool IsBracketHost(std::u16string_view host) {
  if (host.size() < 4 || host.front() != u'[' || host.back() != u']') return false;
  for (char16_t c : host.substr(1, host.size() - 2))
    if (!IsHexDigit(c) && c != u':' && c != u'.') return false;
  return true;
}

bool IsPort(std::u16string_view port) {
  if (port.empty() || port.size() > 5) return false;
  long value = 0;
  for (char16_t c : port) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  return value >= 1 && value <= 65535;
}

// Path characters of RFC 3986 that need no escaping, without "@", and "%" followed by
// two hexadecimal digits.
bool IsPath(std::u16string_view path) {
  if (path.empty() || path.front() != u'/' || path.back() != u'/') return false;
  for (std::size_t i = 0; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (IsAsciiAlnum(c) || std::u16string_view(u"/-._~!$&'()*+,;=:").find(c) != std::u16string_view::npos) continue;
    if (c == u'%' && i + 2 < path.size() && IsHexDigit(path[i + 1]) && IsHexDigit(path[i + 2])) {
      i += 2;
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace

TPageUrlVerdict ParsePageUrl(std::u16string_view url, TPageUrl* parts) {
  // Looked at before the form: the refusal of "http://127.0.0.1:x@203.0.113.7/" must
  // say that the address carries user information.
  if (url.find(u'@') != std::u16string_view::npos) return TPageUrlVerdict::UserInformation;
  TPageUrl p;
  std::u16string_view rest;
  for (std::u16string_view scheme : {u"https", u"http"}) {
    if (url.substr(0, scheme.size()) == scheme && url.substr(scheme.size(), 3) == u"://") {
      p.Scheme = scheme;
      rest = url.substr(scheme.size() + 3);
      break;
    }
  }
  if (p.Scheme.empty()) return TPageUrlVerdict::Malformed;
  const std::size_t slash = rest.find(u'/');
  if (slash == std::u16string_view::npos) return TPageUrlVerdict::Malformed;
  const std::u16string_view authority = rest.substr(0, slash);
  if (authority.empty()) return TPageUrlVerdict::Malformed;
  std::size_t hostEnd = authority.front() == u'[' ? authority.find(u']') : authority.find(u':');
  if (authority.front() == u'[') {
    if (hostEnd == std::u16string_view::npos) return TPageUrlVerdict::Malformed;
    ++hostEnd;
  } else if (hostEnd == std::u16string_view::npos) {
    hostEnd = authority.size();
  }
  const std::u16string_view host = authority.substr(0, hostEnd);
  if (!IsNameHost(host) && !IsBracketHost(host)) return TPageUrlVerdict::Malformed;
  if (hostEnd < authority.size()) {
    if (authority[hostEnd] != u':' || !IsPort(authority.substr(hostEnd + 1))) return TPageUrlVerdict::Malformed;
    p.Port = authority.substr(hostEnd + 1);
  }
  if (!IsPath(rest.substr(slash))) return TPageUrlVerdict::Malformed;
  p.Host = host;
  p.Path = rest.substr(slash);
  if (p.Scheme == u"http" && host != u"127.0.0.1" && host != u"localhost" && host != u"[::1]")
    return TPageUrlVerdict::PlainHttpElsewhere;
  if (parts) *parts = std::move(p);
  return TPageUrlVerdict::Accepted;
}

}  // namespace velmora
