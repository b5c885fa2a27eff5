#include "web/fetch_rules.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "web/cookies.h"
#include "web/url.h"

Text UserAgentFor(std::string_view extraHeaders) {
  if (Find(extraHeaders, "User-Agent:", 1, true) < 0) return kDefaultUserAgent;
  const Text agent = Trim(TextBetween(extraHeaders, "User-Agent:", "\r\n"));
  // The last line has no line break after it, and a blank value gives nothing either.
  return agent.empty() ? HeaderValue(extraHeaders) : agent;
}

std::uint32_t RequestFlags(std::string_view url, bool cookiesSupplied, bool noAutoRedirect) {
  std::uint32_t flags = kFlagReload | kFlagNeedFile;
  if (cookiesSupplied) flags |= kFlagNoCookies;
  if (noAutoRedirect) flags |= kFlagNoAutoRedirect;
  flags |= Lower(url.substr(0, 5)) == "https" ? kFlagSecure : kFlagIgnoreRedirectToHttps;
  return flags;
}

void AppendDefaultHeaders(Text& extraHeaders, std::string_view url, std::string_view cookies) {
  if (!OccursIn("Referer:", extraHeaders)) {
    extraHeaders.append(extraHeaders.empty() ? "Referer: " : "\r\nReferer: ").append(url);
  }
  if (!OccursIn("Accept:", extraHeaders)) extraHeaders += "\r\nAccept: */*";
  if (!OccursIn("Accept-Language:", extraHeaders)) extraHeaders += "\r\nAccept-Language: zh-cn";
  if (!OccursIn("Content-Type:", extraHeaders)) {
    extraHeaders += "\r\nContent-Type: application/x-www-form-urlencoded";
  }
  if (!cookies.empty()) extraHeaders.append("\r\nCookie: ").append(cookies);
}

void TakeResponseHeaders(std::string_view responseHeaders, Text& returnedCookies, Text* cookies,
                         Text& location) {
  std::optional<Text> named;
  Text returned;
  for (const Text& line : Split(responseHeaders, "\r\n")) {
    if (OccursIn("Location:", line)) named = HeaderValue(line);
    if (OccursIn("Set-Cookie", line))
      returned += Trim(TextBetween(line, "Set-Cookie:", ";")) + "; ";
  }
  returned.resize(returned.size() >= 2 ? returned.size() - 2 : 0);
  returnedCookies = std::move(returned);
  if (cookies) MergeCookies(*cookies, returnedCookies);
  if (named) location = std::move(*named);
  if (location.empty()) location = responseHeaders;
}

bool IsMovedPermanently(std::string_view responseHeaders) {
  return TextBetween(responseHeaders, "HTTP/1.1 ", " Moved") == "301";
}

Text FollowUpUrl(std::string_view location, std::string_view url) {
  return Text(location) + UrlPath(url);
}

bool IsUtf8Body(const Bytes& body, std::string_view responseHeaders) {
  constexpr std::string_view kMarker = "charset=utf-8";
  constexpr std::ptrdiff_t kBodyMarkerLimit = 499;  // 0-based: 1-based positions below 500
  const auto at = std::search(body.begin(), body.end(), kMarker.begin(), kMarker.end());
  if (at != body.end() && at - body.begin() < kBodyMarkerLimit) return true;
  return Find(responseHeaders, "utf-8", 1, true) >= 0;
}
