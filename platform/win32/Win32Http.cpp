// One HTTP GET through WinHTTP: redirects off, all four time-outs set, an overall
// deadline the caller never waits past, and a cap on the body.
// windows.h (through Win32Platform.h) must come before winhttp.h.
#include "platform/win32/Win32Platform.h"

#include <winhttp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "base/Error.h"
#include "base/Utf.h"

namespace velmora {

namespace {

// The failure of the last WinHTTP call, in words the user can read.
[[noreturn]] void HttpError() { throw TError(TErrorKind::General, WinHttpErrorText(::GetLastError())); }

// The whole exchange with blocking WinHTTP calls.
THttpReply Exchange(const THttpRequest& request) {
  std::u16string url = request.Url;
  URL_COMPONENTS parts{};
  parts.dwStructSize = sizeof parts;
  wchar_t host[256] = {0};
  wchar_t pathBuffer[2048] = {0};
  parts.lpszHostName = host;
  parts.dwHostNameLength = 256;
  parts.lpszUrlPath = pathBuffer;
  parts.dwUrlPathLength = 2048;
  if (!::WinHttpCrackUrl(W(url), 0, 0, &parts)) HttpError();
  TInternetHandle session(
      ::WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
  if (!session.Get()) HttpError();
  ::WinHttpSetTimeouts(session.Get(), request.ConnectTimeoutMs, request.ConnectTimeoutMs, request.ReceiveTimeoutMs,
                       request.ReceiveTimeoutMs);
  TInternetHandle connection(::WinHttpConnect(session.Get(), host, parts.nPort, 0));
  if (!connection.Get()) HttpError();
  DWORD flags = WINHTTP_FLAG_REFRESH | (parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
  TInternetHandle req(::WinHttpOpenRequest(connection.Get(), L"GET", pathBuffer, nullptr, WINHTTP_NO_REFERER,
                                           WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
  if (!req.Get()) HttpError();
  DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
  ::WinHttpSetOption(req.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);
  // Without this the wait for the head is WinHTTP's own (90 s on Windows, none on Wine).
  DWORD headWait = static_cast<DWORD>(request.ReceiveTimeoutMs);
  ::WinHttpSetOption(req.Get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headWait, sizeof headWait);
  std::u16string header;
  if (!request.HeaderName.empty()) header = request.HeaderName + u": " + request.HeaderValue;
  if (!::WinHttpSendRequest(req.Get(), header.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : W(header),
                            header.empty() ? 0 : static_cast<DWORD>(-1L), WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
    HttpError();
  const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(request.OverallDeadlineMs);
  if (!::WinHttpReceiveResponse(req.Get(), nullptr)) HttpError();
  DWORD status = 0;
  DWORD size = sizeof status;
  if (!::WinHttpQueryHeaders(req.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
    HttpError();
  THttpReply reply;
  reply.Status = static_cast<int>(status);
  // Absent for a chunked reply; then only the end of the data marks the end.
  DWORD announced = 0;
  size = sizeof announced;
  const bool hasLength =
      ::WinHttpQueryHeaders(req.Get(), WINHTTP_QUERY_CONTENT_LENGTH | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &announced, &size, WINHTTP_NO_HEADER_INDEX);
  char buffer[16384];
  while (true) {
    if (::GetTickCount64() > deadline) throw TError(TErrorKind::General, u"The server did not send the reply in time");
    // Asking what has arrived first: a read of a full buffer would wait for all of it.
    DWORD available = 0;
    if (!::WinHttpQueryDataAvailable(req.Get(), &available)) HttpError();
    if (available == 0) break;
    DWORD got = 0;
    if (!::WinHttpReadData(req.Get(), buffer, std::min<DWORD>(available, sizeof buffer), &got)) HttpError();
    if (got == 0) break;
    if (request.MaxBodyBytes && reply.Body.size() + got > request.MaxBodyBytes)
      throw TError(TErrorKind::General, U16(request.TooLargeMessage));
    reply.Body.append(buffer, got);
  }
  // WinHTTP reports a connection closed early as the end of the data.
  if (hasLength && reply.Body.size() < announced)
    throw TError(TErrorKind::General, u"The reply ended before its announced length");
  return reply;
}

// What the caller and the exchange's thread share; the last of the two frees it.
struct TSharedExchange {
  std::mutex Lock;
  std::condition_variable Changed;
  bool Finished = false;
  THttpReply Reply;
  std::exception_ptr Failure;
};

}  // namespace

THttpReply Win32Platform::HttpGet(const THttpRequest& request) {
  // WinHTTP's time-outs bound each wait but not a head that trickles in (Wine applies
  // even the head's time-out to each read). So the exchange runs on a thread of its own
  // and the caller waits for it until the deadline at most. A thread left behind ends
  // with its connection and touches nothing but the shared block.
  auto shared = std::make_shared<TSharedExchange>();
  std::thread([shared, request] {
    THttpReply reply;
    std::exception_ptr failure;
    try {
      reply = Exchange(request);
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard<std::mutex> lock(shared->Lock);
    shared->Reply = std::move(reply);
    shared->Failure = failure;
    shared->Finished = true;
    shared->Changed.notify_all();
  }).detach();
  std::unique_lock<std::mutex> lock(shared->Lock);
  if (!shared->Changed.wait_for(lock, std::chrono::milliseconds(request.OverallDeadlineMs),
                                [&] { return shared->Finished; }))
    throw TError(TErrorKind::General, u"The server did not send the reply in time");
  if (shared->Failure) std::rethrow_exception(shared->Failure);
  return std::move(shared->Reply);
}

}  // namespace velmora
