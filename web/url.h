// Taking URLs apart and cutting values out of header text, for the web request. None of these
// fails: a missing marker, colon, host or path gives an empty text, the scheme's port or "/".
#pragma once

#include <string_view>

#include "base/text.h"

// Full-width forms (A3 A1..A3 FE, and A1 A1 for the space) count as their ASCII counterparts;
// then leading white space, an optional sign and the decimal digits up to the first non-digit.
// No digits read as 0; a value beyond the range of int stops at its nearest end.
int ReadNumber(std::string_view text);

// The bytes strictly between the first `leftMarker` at or after `startPosition` and the first
// `rightMarker` after it; empty when either is missing. "#引号" in a marker stands for a double
// quote, so that a caller can write one. Markers match whatever their ASCII case unless
// `caseSensitive`.
Text TextBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                 int startPosition = 1, bool caseSensitive = false);

// What follows the first ":" of a header line, trimmed; empty without a ":".
Text HeaderValue(std::string_view headerLine);

// The host in lower case, ended only by "/". With `reduceToDomain`, its last two labels (taken
// before the port is cut, so the port rides on the last one); with `keepPort`, ":" and the port
// as written stay. A URL without a scheme counts as http:// unless "http://" occurs anywhere in
// it, in which case the host is read after that "http://".
Text UrlHost(std::string_view url, bool reduceToDomain = false, bool keepPort = false);

// The port after the host's last ":", read by `ReadNumber`; else 443 for a URL whose first five
// bytes are "https" in any case, and 80 for any other.
int UrlPort(std::string_view url);

// From the first "/" at or after the host to the end, query included, in the URL's own case;
// "/" when there is none.
Text UrlPath(std::string_view url);
