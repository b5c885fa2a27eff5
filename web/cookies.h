// Keeping a cookie text across requests: the pairs a response sets are merged into the text the
// caller sends next. A cookie text is name=value pairs separated by ";"; names and pairs compare
// byte for byte.
#pragma once

#include <string_view>

#include "base/text.h"

// Both texts lose their spaces in place first. New pairs come first, in their order, then each
// old pair whose name is not yet among them; pairs ending in "=deleted" are then dropped, so a
// new name=deleted removes the old cookie. Joined by "; ", byte-identical pairs once. The result
// is stored into `cookies` as well, which is what the web request reads.
Text MergeCookies(Text& cookies, Text& newCookies);

// The trimmed text before the first "=", or the whole pair trimmed when it has none.
Text CookieName(std::string_view pair);

bool CookieListHas(const TextArray& pairs, std::string_view name);

// `joinedText` split at `separator` and joined again with each piece's first occurrence only.
Text JoinDistinct(std::string_view joinedText, std::string_view separator);

// The 1-based position of the first item equal to `wanted`, or -1.
int FindInList(const TextArray& items, std::string_view wanted);
