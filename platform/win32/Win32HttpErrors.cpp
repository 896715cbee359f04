// Readable texts for WinHTTP's failures: what an editor can act on, with the code
// kept for whoever has to look further.
#include "platform/win32/Win32Platform.h"

#include <winhttp.h>

#include <string>

#include "base/Utf.h"

namespace velmora {

namespace {

// Socket codes that Wine's WinHTTP passes on where Windows has codes of its own.
constexpr DWORD kSocketTimedOut = 10060;
constexpr DWORD kSocketRefused = 10061;
constexpr DWORD kSocketReset = 10054;
constexpr DWORD kSocketHostNotFound = 11001;

// The text from winhttp.dll's message table or the system's, without the closing
// period and line break; empty where neither has one (Wine's winhttp.dll has none).
std::u16string SystemText(DWORD code) {
  std::u16string text = SystemMessageText(code, ::GetModuleHandleW(L"winhttp.dll"));
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' || text.back() == u'.'))
    text.pop_back();
  return text;
}

// Our own words for the failures a user meets most.
const char16_t* OwnText(DWORD code) {
  switch (code) {
    case ERROR_WINHTTP_TIMEOUT:
    case kSocketTimedOut: return u"The server did not answer in time";
    case ERROR_WINHTTP_CANNOT_CONNECT:
    case kSocketRefused: return u"Cannot connect to the server";
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case kSocketHostNotFound: return u"The server's name could not be resolved";
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_FAILURE: return u"The server's certificate is not trusted";
    // Wine reports a refused certificate as a failure of the secure channel.
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
      return u"The secure connection failed; the server's certificate may not be trusted";
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case kSocketReset: return u"The connection to the server was reset";
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE: return u"The server's reply could not be read";
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME: return u"The address of the update manifest is not valid";
    default: return u"The network request failed";
  }
}

}  // namespace

std::u16string WinHttpErrorText(DWORD code) {
  std::u16string text = SystemText(code);
  if (text.empty()) text = OwnText(code);
  return text + u" (" + U16(std::to_string(code)) + u")";
}

}  // namespace velmora
