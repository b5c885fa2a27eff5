#include "web/cookies.h"

namespace {

// Drops `count` bytes from the end; fewer bytes than that leave nothing.
void DropTail(Text& text, size_t count) {
  text.resize(text.size() > count ? text.size() - count : 0);
}

}  // namespace

Text MergeCookies(Text& cookies, Text& newCookies) {
  cookies = RemoveSpaces(cookies);
  newCookies = RemoveSpaces(newCookies);
  const TextArray oldPairs = Split(cookies, ";");
  TextArray merged = Split(newCookies, ";");
  for (const Text& pair : oldPairs) {
    // Checked against the growing list: of several old pairs with one name the first stays.
    if (!CookieListHas(merged, CookieName(pair))) merged.push_back(pair);
  }
  Text joined;
  for (const Text& pair : merged) {
    // Deleted pairs go only now, after they have shadowed the old pairs of their name.
    if (!pair.ends_with("=deleted")) joined.append(pair).append("; ");
  }
  DropTail(joined, 2);
  cookies = JoinDistinct(joined, "; ");
  return cookies;
}

Text CookieName(std::string_view pair) {
  const int equals = Find(pair, "=");
  return Trim(equals < 0 ? pair : pair.substr(0, static_cast<size_t>(equals) - 1));
}

bool CookieListHas(const TextArray& pairs, std::string_view name) {
  for (const Text& pair : pairs) {
    if (CookieName(pair) == name) return true;
  }
  return false;
}

Text JoinDistinct(std::string_view joinedText, std::string_view separator) {
  TextArray seen;
  Text output;
  for (const Text& piece : Split(joinedText, separator)) {
    if (FindInList(seen, piece) >= 0) continue;
    seen.push_back(piece);
    output.append(piece).append(separator);
  }
  DropTail(output, separator.size());
  return output;
}

int FindInList(const TextArray& items, std::string_view wanted) {
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i] == wanted) return static_cast<int>(i + 1);
  }
  return -1;
}
