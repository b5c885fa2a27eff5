// The exchange over WinINet. URLs and header lines go to the A functions as the bytes they are:
// on the wire they are ASCII, which every ANSI code page passes through unchanged, so converting
// them to UTF-16 for the W functions would only have WinINet convert them back.
#include "web/fetch_url.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "web/fetch_rules.h"
#include "web/url.h"

static_assert(kFlagReload == INTERNET_FLAG_RELOAD && kFlagNeedFile == INTERNET_FLAG_NEED_FILE &&
              kFlagNoCookies == INTERNET_FLAG_NO_COOKIES &&
              kFlagNoAutoRedirect == INTERNET_FLAG_NO_AUTO_REDIRECT &&
              kFlagSecure == INTERNET_FLAG_SECURE &&
              kFlagIgnoreRedirectToHttps == INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);

namespace {

// After this many follow-ups, redirects and 301s alike, a further one counts as the final response:
// its body (after the charset rule) is the result and `location` keeps where it pointed. A server
// that answers every request with a redirect would otherwise be asked again without end.
constexpr int kMaxFollowUps = 10;

// A server that accepts and then falls silent would otherwise hold the request, and with it the
// update check, for as long as it keeps the connection open: Wine's WinINet waits without end.
constexpr DWORD kTransferTimeoutMs = 30000;

constexpr DWORD kReadChunk = 1024;
constexpr DWORD kHeaderBuffer = 5000;

class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

// The call's in/out variables: the caller's where given, else scratch ones. A follow-up gets
// these very variables, so that it sees and leaves what the request before it left.
struct Variables {
  Text* cookies;  // null when the caller manages no cookies
  Text& returnedCookies;
  Text& extraHeaders;
  Text& location;
  Bytes& postBytes;
  Text& responseHeaders;
};

struct Request {
  Text url;
  int method;
  const Text& postText;
  bool noAutoRedirect;
  const std::optional<Text>& proxy;
};

HINTERNET OpenSession(const Text& agent, const std::optional<Text>& proxy) {
  if (!proxy) return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  return InternetOpenA(agent.c_str(), INTERNET_OPEN_TYPE_PROXY, ("http=" + *proxy).c_str(), "", 0);
}

// Where the platform's automatic redirection would lead after a response.
struct Redirect {
  Text url;  // empty when the response is final
  bool sameMethod = false;
};

// A 301, 302, 303, 307 or 308 with a Location, resolved against `url`. A 307 or 308 repeats the
// method and body; after the others the platform asks with a GET.
Redirect RedirectOf(HINTERNET request, const Text& url) {
  DWORD status = 0, size = sizeof status;
  if (!HttpQueryInfoA(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return {};
  }
  const bool sameMethod = status == HTTP_STATUS_REDIRECT_KEEP_VERB || status == 308;
  if (!sameMethod && status != HTTP_STATUS_MOVED && status != HTTP_STATUS_REDIRECT &&
      status != HTTP_STATUS_REDIRECT_METHOD) {
    return {};
  }
  char location[INTERNET_MAX_URL_LENGTH];
  size = sizeof location;
  if (!HttpQueryInfoA(request, HTTP_QUERY_LOCATION, location, &size, nullptr)) return {};
  char target[INTERNET_MAX_URL_LENGTH];
  size = sizeof target;
  if (!InternetCombineUrlA(url.c_str(), location, target, &size, 0)) return {};
  return {Text(target, size), sameMethod};
}

// One request and its response: opens, sends, reads the body and the raw header block, and closes
// the handles again, the request's first. Nothing when a handle cannot be opened. The first
// request of a call appends the default headers; later ones send the same headers again.
std::optional<Bytes> Exchange(const Request& r, Variables& v, bool first, Redirect& redirect) {
  InternetHandle session(OpenSession(UserAgentFor(v.extraHeaders), r.proxy));
  if (!session) return std::nullopt;
  // A port beyond the range fails like a refused connection rather than reaching another port.
  const int port = UrlPort(r.url);
  if (port < 0 || port > 65535) return std::nullopt;
  InternetHandle connection(InternetConnectA(session.get(), UrlHost(r.url).c_str(),
                                             static_cast<INTERNET_PORT>(port), nullptr, nullptr,
                                             INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return std::nullopt;
  // The platform never redirects by itself: ExchangeFollowingRedirects does, with a bound.
  InternetHandle request(HttpOpenRequestA(
      connection.get(), r.method == 1 ? "POST" : "GET", UrlPath(r.url).c_str(), "HTTP/1.1", nullptr,
      nullptr, RequestFlags(r.url, v.cookies != nullptr, r.noAutoRedirect) | kFlagNoAutoRedirect,
      0));
  if (!request) return std::nullopt;
  // On the request: Wine takes these time-outs from the request handle only.
  for (const DWORD option : {INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT}) {
    DWORD timeout = kTransferTimeoutMs;
    InternetSetOptionA(request.get(), option, &timeout, sizeof timeout);
  }

  if (first) AppendDefaultHeaders(v.extraHeaders, r.url, v.cookies ? *v.cookies : Text());
  void* body = nullptr;
  DWORD bodySize = 0;
  if (r.method != 0) {
    if (v.postBytes.empty()) v.postBytes = BytesFromText(r.postText);
    if (!v.postBytes.empty()) {
      body = v.postBytes.data();
      bodySize = static_cast<DWORD>(v.postBytes.size());
    }
  }
  // A failed send is seen only in what follows: nothing to read and no header block.
  HttpSendRequestA(request.get(), v.extraHeaders.c_str(), static_cast<DWORD>(v.extraHeaders.size()),
                   body, bodySize);

  Bytes received;
  for (;;) {
    std::uint8_t chunk[kReadChunk] = {};
    DWORD read = 0;
    InternetReadFile(request.get(), chunk, kReadChunk, &read);
    if (read == 0 || read > kReadChunk) break;
    received.insert(received.end(), chunk, chunk + read);
  }

  // The block ends at the terminator the query writes; a failed query leaves the spaces whole.
  Text headers(kHeaderBuffer, ' ');
  DWORD length = kHeaderBuffer;
  HttpQueryInfoA(request.get(), HTTP_QUERY_RAW_HEADERS_CRLF, headers.data(), &length, nullptr);
  headers.resize(std::min(headers.find('\0'), headers.size()));
  v.responseHeaders = std::move(headers);
  if (!r.noAutoRedirect) redirect = RedirectOf(request.get(), r.url);
  return received;
}

// The exchange with the platform's automatic redirection, which is done here rather than by
// WinINet: under Wine that follows a redirect to itself without end. `requests` counts every
// request after the first, the 301 follow-ups included; at the bound a redirect is final.
std::optional<Bytes> ExchangeFollowingRedirects(const Request& r, Variables& v, int& requests) {
  Request next = r;
  for (bool first = true;; first = false) {
    Redirect redirect;
    std::optional<Bytes> body = Exchange(next, v, first, redirect);
    if (!body || redirect.url.empty() || requests >= kMaxFollowUps) return body;
    ++requests;
    next.url = std::move(redirect.url);
    if (!redirect.sameMethod) next.method = 0;
  }
}

Bytes Fetch(const Request& r, Variables& v, int& requests) {
  std::optional<Bytes> body = ExchangeFollowingRedirects(r, v, requests);
  if (!body) return {};

  TakeResponseHeaders(v.responseHeaders, v.returnedCookies, v.cookies, v.location);
  if (IsMovedPermanently(v.responseHeaders) && requests < kMaxFollowUps) {
    ++requests;
    Request next{FollowUpUrl(v.location, r.url), r.method, r.postText, r.noAutoRedirect, r.proxy};
    v.location.clear();
    return Fetch(next, v, requests);
  }
  return IsUtf8Body(*body, v.responseHeaders) ? Utf8ToAnsi(*body) : std::move(*body);
}

}  // namespace

Bytes FetchUrl(const Text& url, int method, const Text& postText, Text* cookies,
               Text* returnedCookies, Text* extraHeaders, Text* location, bool noAutoRedirect,
               Bytes* postBytes, const std::optional<Text>& proxy, Text* responseHeaders) {
  Text scratchCookies, scratchHeaders, scratchLocation, scratchResponse;
  Bytes scratchBytes;
  Variables v{cookies,
              returnedCookies ? *returnedCookies : scratchCookies,
              extraHeaders ? *extraHeaders : scratchHeaders,
              location ? *location : scratchLocation,
              postBytes ? *postBytes : scratchBytes,
              responseHeaders ? *responseHeaders : scratchResponse};
  int requests = 0;
  return Fetch({url, method, postText, noAutoRedirect, proxy}, v, requests);
}
