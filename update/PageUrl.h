// The product page address given for one update check (check-update --page): parsed
// into scheme, user information, host, port and path, and held to the rule that plain
// http stays on this computer.
#pragma once

#include <optional>
#include <string>

namespace velmora {

// The parts of an accepted page address; the address is exactly
// Scheme + "://" + Host + (":" + Port when there is one) + Path.
struct TPageUrl {
  std::u16string Scheme;  // "https" or "http"
  std::u16string Host;    // a name, an IPv4 address, or an IPv6 address in brackets
  std::u16string Port;    // 1 to 65535 in digits, or empty
  std::u16string Path;    // begins and ends with "/"
};

enum class TPageUrlVerdict {
  Accepted,
  Malformed,           // not "https://" or "http://", host, optional port, path ending with "/"
  UserInformation,     // an "@" anywhere: user information, or text some parsers take for it
  PlainHttpElsewhere,  // http to a host other than 127.0.0.1, localhost or [::1]
};

// The verdict on url and, when accepted, its parts. Only ASCII letters, digits and the
// characters a path may hold unescaped are allowed; a query, a fragment, a backslash,
// a blank or a control character makes the address malformed, so that no HTTP client
// can read another host out of it than this parser does.
TPageUrlVerdict ParsePageUrl(std::u16string_view url, TPageUrl* parts = nullptr);
inline bool IsAcceptablePageUrl(std::u16string_view url) { return ParsePageUrl(url) == TPageUrlVerdict::Accepted; }

}  // namespace velmora
