// One HTTP GET through WinHTTP: redirects off, all four time-outs set, an overall
// deadline between reads and a cap on the body.
// windows.h (through Win32Platform.h) must come before winhttp.h.
#include "platform/win32/Win32Platform.h"

#include <winhttp.h>

#include <string>

#include "support/Error.h"
#include "support/Utf.h"

namespace velmora {

namespace {

class TInternetHandle {
 public:
  explicit TInternetHandle(HINTERNET h) : FHandle(h) {}
  ~TInternetHandle() {
    if (FHandle) ::WinHttpCloseHandle(FHandle);
  }
  TInternetHandle(const TInternetHandle&) = delete;
  TInternetHandle& operator=(const TInternetHandle&) = delete;
  HINTERNET Get() const { return FHandle; }

 private:
  HINTERNET FHandle;
};

[[noreturn]] void HttpError(const char16_t* what) {
  DWORD code = ::GetLastError();
  std::u16string text = std::u16string(what) + u" failed with error " + U16(std::to_string(code));
  if (code == ERROR_WINHTTP_TIMEOUT) text += u" (the operation timed out)";
  throw TError(TErrorKind::General, text);
}

}  // namespace

THttpReply Win32Platform::HttpGet(const THttpRequest& request) {
  std::u16string url = request.Url;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = {0};
  wchar_t pathBuffer[2048] = {0};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = pathBuffer;
  parts.dwUrlPathLength = 2048;
  if (!::WinHttpCrackUrl(W(url), 0, 0, &parts)) HttpError(u"WinHttpCrackUrl");
  TInternetHandle session(::WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                        WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.Get()) HttpError(u"WinHttpOpen");
  ::WinHttpSetTimeouts(session.Get(), request.ConnectTimeoutMs, request.ConnectTimeoutMs, request.ReceiveTimeoutMs,
                       request.ReceiveTimeoutMs);
  TInternetHandle connection(::WinHttpConnect(session.Get(), host, parts.nPort, 0));
  if (!connection.Get()) HttpError(u"WinHttpConnect");
  DWORD flags = WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
  TInternetHandle req(::WinHttpOpenRequest(connection.Get(), L"GET", pathBuffer, nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!req.Get()) HttpError(u"WinHttpOpenRequest");
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  ::WinHttpSetOption(req.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  std::u16string header;
  if (!request.HeaderName.empty()) header = request.HeaderName + u": " + request.HeaderValue;
  if (!::WinHttpSendRequest(req.Get(), header.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : W(header),
                            header.empty() ? 0 : static_cast<DWORD>(-1L), WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    HttpError(u"WinHttpSendRequest");
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(request.OverallDeadlineMs);
  if (!::WinHttpReceiveResponse(req.Get(), nullptr)) HttpError(u"WinHttpReceiveResponse");
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::WinHttpQueryHeaders(req.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
    HttpError(u"WinHttpQueryHeaders");
  THttpReply reply;
  reply.Status = static_cast<int>(status);
  char buffer[16384];
  while (true) {
    if (::GetTickCount64() > deadline)
      throw TError(TErrorKind::General, u"The server did not send the reply in time");
    DWORD got = 0;
    if (!::WinHttpReadData(req.Get(), buffer, sizeof buffer, &got)) HttpError(u"WinHttpReadData");
    if (got == 0) break;
    if (request.MaxBodyBytes && reply.Body.size() + got > request.MaxBodyBytes)
      throw TError(TErrorKind::General, U16(request.TooLargeMessage));
    reply.Body.append(buffer, got);
  }
  return reply;
}

}  // namespace velmora
