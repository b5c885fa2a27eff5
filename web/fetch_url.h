// One HTTP or HTTPS exchange through WinINet, run on the caller's thread with the platform's
// time-outs. Every failure gives an empty body; nothing is reported otherwise.
#pragma once

#include <optional>

#include "base/text.h"

// `method` 1 is a POST, any other value a GET; a body is sent whenever it is not 0, taken from
// `postText` when `postBytes` is empty (and left in `postBytes`). The pointers are the caller's
// in/out variables; a null one is a scratch variable of the call. A non-null `cookies`, even an
// empty one, and a `proxy`, even an empty one, are told apart from omitted ones: the call then
// keeps the cookies itself (merging in what the response sets) and goes through "http=" + proxy.
// `extraHeaders` receives the default headers, `responseHeaders` the raw header block,
// `returnedCookies` what the response sets, `location` where it points (the header block when it
// names nowhere and `location` was empty). Unless `noAutoRedirect` is set, redirects are followed
// as the platform would follow them; a 301 under HTTP/1.1 that reaches the call is followed with a
// new request. Ten follow-ups in all: a further redirect is then the final response.
// When opening the session, the connection or the request fails, no output is written.
Bytes FetchUrl(const Text& url, int method = 0, const Text& postText = {}, Text* cookies = nullptr,
               Text* returnedCookies = nullptr, Text* extraHeaders = nullptr,
               Text* location = nullptr, bool noAutoRedirect = false, Bytes* postBytes = nullptr,
               const std::optional<Text>& proxy = std::nullopt, Text* responseHeaders = nullptr);

// UTF-16 little-endian, two bytes a unit, no terminator. Malformed input converts as Windows does.
Bytes Utf8ToUnicode(const Bytes& utf8);
// Code page 936 whatever the system's ANSI code page; characters it lacks become its default one.
Bytes Utf8ToAnsi(const Bytes& utf8);
