#include "web/url.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

unsigned char At(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// Character by character, so that only a whole A3 xx or A1 A1 character turns into ASCII.
Text AsciiFromFullWidth(std::string_view text) {
  Text result;
  for (size_t i = 0; i < text.size();) {
    if (!IsLeadByte(At(text, i)) || i + 1 == text.size()) {
      result += text[i++];
      continue;
    }
    const unsigned char lead = At(text, i), trail = At(text, i + 1);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      result += static_cast<char>(trail - 0x80);
    } else if (lead == 0xA1 && trail == 0xA1) {
      result += ' ';
    } else {
      result.append(text, i, 2);
    }
    i += 2;
  }
  return result;
}

bool IsWhiteSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

int ReadNumber(std::string_view text) {
  const Text ascii = AsciiFromFullWidth(text);
  size_t i = 0;
  while (i < ascii.size() && IsWhiteSpace(ascii[i])) ++i;
  const bool negative = i < ascii.size() && ascii[i] == '-';
  if (i < ascii.size() && (ascii[i] == '-' || ascii[i] == '+')) ++i;
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(INT_MIN) : INT_MAX;
  std::int64_t value = 0;
  for (; i < ascii.size() && ascii[i] >= '0' && ascii[i] <= '9'; ++i) {
    value = std::min(value * 10 + (ascii[i] - '0'), limit);
  }
  return static_cast<int>(negative ? -value : value);
}

Text TextBetween(std::string_view source, std::string_view leftMarker, std::string_view rightMarker,
                 int startPosition, bool caseSensitive) {
  const Text left = Replace(leftMarker, "#引号", "\"");
  const Text right = Replace(rightMarker, "#引号", "\"");
  const int p = Find(source, left, startPosition, !caseSensitive);
  if (p < 0) return {};
  const int q = p + static_cast<int>(left.size());
  const int r = Find(source, right, q, !caseSensitive);
  if (r < 0) return {};
  return Text(source.substr(static_cast<size_t>(q) - 1, static_cast<size_t>(r - q)));
}

Text HeaderValue(std::string_view headerLine) {
  const int colon = Find(headerLine, ":");
  return colon < 0 ? Text() : Trim(headerLine.substr(static_cast<size_t>(colon)));
}

Text UrlHost(std::string_view url, bool reduceToDomain, bool keepPort) {
  Text s = Lower(url);
  if (!s.ends_with('/')) s += '/';
  if (s.starts_with("https://")) {
    s = TextBetween(s, "https://", "/");
  } else {
    if (!OccursIn("http://", s)) s.insert(0, "http://");
    s = TextBetween(s, "http://", "/");
  }
  if (reduceToDomain) {
    const TextArray labels = Split(s, ".");
    if (labels.size() >= 2) s = labels[labels.size() - 2] + "." + labels.back();
  }
  if (keepPort) return s;
  const int colon = Find(s, ":");
  return colon < 0 ? s : s.substr(0, static_cast<size_t>(colon) - 1);
}

int UrlPort(std::string_view url) {
  const Text host = UrlHost(url, false, true);
  const int colon = FindLast(host, ":");
  if (colon > 0) return ReadNumber(std::string_view(host).substr(static_cast<size_t>(colon)));
  return Lower(url).starts_with("https") ? 443 : 80;
}

Text UrlPath(std::string_view url) {
  const int host = Find(url, UrlHost(url), 1, true);
  const int slash = Find(url, "/", host, true);
  return slash < 0 ? Text("/") : Text(url.substr(static_cast<size_t>(slash) - 1));
}
