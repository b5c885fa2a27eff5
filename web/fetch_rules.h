// The rules of the web request that need no network: the agent, the request flags and headers,
// what the response headers say, where a 301 leads and whether a body is UTF-8. The WinINet
// exchange (fetch_url_win32.cpp) applies them in order.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/text.h"

inline constexpr char kDefaultUserAgent[] =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; KV7RD; .NET CLR 2.0.50727; .NET CLR "
    "3.0.04506.648; .NET CLR 3.5.21022)";

// The WinINet request flags by their Windows values, so that the rule can be tested anywhere.
inline constexpr std::uint32_t kFlagReload = 0x80000000, kFlagNeedFile = 0x10,
                               kFlagNoCookies = 0x80000, kFlagNoAutoRedirect = 0x200000,
                               kFlagSecure = 0x800000, kFlagIgnoreRedirectToHttps = 0x4000;

// The value of the first "User-Agent:" line (any case), trimmed; when that is empty, everything
// after the first colon of the whole text, trimmed; the default agent when there is no such line.
Text UserAgentFor(std::string_view extraHeaders);

// Cookie management when the caller supplies a cookie text; HTTPS when the URL's first five bytes
// are "https" in any case.
std::uint32_t RequestFlags(std::string_view url, bool cookiesSupplied, bool noAutoRedirect);

// Appends Referer, Accept, Accept-Language and Content-Type unless the text already holds them
// (case-sensitive, anywhere), then a Cookie line when `cookies` is not empty, present or not.
void AppendDefaultHeaders(Text& extraHeaders, std::string_view url, std::string_view cookies);

// What the raw header block says, written in this order: `returnedCookies` becomes the name=value
// part of each line holding "Set-Cookie", joined by "; "; a managed cookie text (non-null
// `cookies`) has them merged in; `location` becomes the value of the last line holding
// "Location:" (Content-Location too), or the whole block when no line does and it was empty.
void TakeResponseHeaders(std::string_view responseHeaders, Text& returnedCookies, Text* cookies,
                         Text& location);

// The status between "HTTP/1.1 " and " Moved" is "301". Under HTTP/1.0, or for a 302, it is not.
bool IsMovedPermanently(std::string_view responseHeaders);

// A 301's follow-up: the location with the current URL's path and query appended as they are.
Text FollowUpUrl(std::string_view location, std::string_view url);

// The bytes "charset=utf-8" start before byte 500 of the body, or a header says "utf-8" in any
// case.
bool IsUtf8Body(const Bytes& body, std::string_view responseHeaders);
