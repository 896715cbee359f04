// One HTTP GET through libcurl: no redirects, connection and receive time-outs, an
// overall deadline and a cap on the body so a hostile server cannot hold the caller
// or exhaust its memory.
#include <curl/curl.h>

#include <chrono>
#include <optional>
#include <string>

#include "base/Error.h"
#include "base/Utf.h"
#include "platform/posix/PosixPlatform.h"

namespace velmora {

namespace {

using TClock = std::chrono::steady_clock;

struct TBody {
  std::string Bytes;
  std::size_t Cap = 0;
  bool TooLarge = false;
  // The receive time-out: the longest wait, once connected, for progress: body data or,
  // while the head arrives, a whole header line (curl reports no smaller step there).
  std::chrono::milliseconds MaxWait{0};
  std::optional<TClock::time_point> LastProgress;  // unset until connected
  bool Stalled = false;
};

std::size_t OnData(char* data, std::size_t size, std::size_t count, void* user) {
  auto* body = static_cast<TBody*>(user);
  std::size_t n = size * count;
  body->LastProgress = TClock::now();
  if (body->Cap && body->Bytes.size() + n > body->Cap) {
    body->TooLarge = true;
    return 0;  // aborts the transfer
  }
  body->Bytes.append(data, n);
  return n;
}

std::size_t OnHeader(char*, std::size_t size, std::size_t count, void* user) {
  static_cast<TBody*>(user)->LastProgress = TClock::now();
  return size * count;
}

// Called once the connection stands, just before the request goes out.
int OnConnected(void* user, char*, char*, int, int) {
  static_cast<TBody*>(user)->LastProgress = TClock::now();
  return CURL_PREREQFUNC_OK;
}

// libcurl calls this at least once a second while a transfer waits.
int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto* body = static_cast<TBody*>(user);
  if (body->LastProgress && TClock::now() - *body->LastProgress >= body->MaxWait) {
    body->Stalled = true;
    return 1;  // aborts the transfer
  }
  return 0;
}

class CurlHandle {
 public:
  CurlHandle() : FHandle(curl_easy_init()) {}
  ~CurlHandle() {
    if (FHandle) curl_easy_cleanup(FHandle);
  }
  CurlHandle(const CurlHandle&) = delete;
  CurlHandle& operator=(const CurlHandle&) = delete;
  CURL* Get() const { return FHandle; }

 private:
  CURL* FHandle;
};

class CurlHeaders {
 public:
  ~CurlHeaders() { curl_slist_free_all(FList); }
  void Add(const std::string& line) { FList = curl_slist_append(FList, line.c_str()); }
  curl_slist* Get() const { return FList; }

 private:
  curl_slist* FList = nullptr;
};

struct TCurlGlobal {
  TCurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
};

}  // namespace

THttpReply PosixPlatform::HttpGet(const THttpRequest& request) {
  static TCurlGlobal global;
  CurlHandle curl;
  if (!curl.Get()) throw TError(TErrorKind::General, u"Cannot create the HTTP client");
  TBody body;
  body.Cap = request.MaxBodyBytes;
  CurlHeaders headers;
  if (!request.HeaderName.empty())
    headers.Add(Utf16ToUtf8(request.HeaderName) + ": " + Utf16ToUtf8(request.HeaderValue));
  char errorBuffer[CURL_ERROR_SIZE] = {0};
  const std::string url = Utf16ToUtf8(request.Url);
  const std::string caFile = Utf16ToUtf8(request.CaFile);
  CURL* h = curl.Get();
  curl_easy_setopt(h, CURLOPT_URL, url.c_str());
  curl_easy_setopt(h, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
  curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.ConnectTimeoutMs));
  // No progress for ReceiveTimeoutMs ends the transfer; so does the overall deadline. (curl's
  // own low-speed rule would not do: it measures a rate in whole seconds, ends a steady
  // trickle and lets a silent server hold the caller two seconds longer.)
  body.MaxWait = std::chrono::milliseconds(request.ReceiveTimeoutMs);
  curl_easy_setopt(h, CURLOPT_PREREQFUNCTION, OnConnected);
  curl_easy_setopt(h, CURLOPT_PREREQDATA, &body);
  curl_easy_setopt(h, CURLOPT_HEADERFUNCTION, OnHeader);
  curl_easy_setopt(h, CURLOPT_HEADERDATA, &body);
  curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(h, CURLOPT_XFERINFODATA, &body);
  curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(request.OverallDeadlineMs));
  curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers.Get());
  curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, OnData);
  curl_easy_setopt(h, CURLOPT_WRITEDATA, &body);
  curl_easy_setopt(h, CURLOPT_ERRORBUFFER, errorBuffer);
  if (!caFile.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, caFile.c_str());
  CURLcode rc = curl_easy_perform(h);
  if (body.TooLarge) throw TError(TErrorKind::General, U16(request.TooLargeMessage));
  if (body.Stalled)
    throw TError(TErrorKind::General,
                 U16("No progress from the server for " + std::to_string(request.ReceiveTimeoutMs) + " ms"));
  if (rc != CURLE_OK) {
    std::string message = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
    throw TError(TErrorKind::General, U16(message));
  }
  long status = 0;
  curl_easy_getinfo(h, CURLINFO_RESPONSE_CODE, &status);
  return THttpReply{static_cast<int>(status), std::move(body.Bytes)};
}

}  // namespace velmora
