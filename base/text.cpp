#include "base/text.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr size_t kNone = std::string_view::npos;

unsigned char At(std::string_view text, size_t i) {
  return static_cast<unsigned char>(text[i]);
}

// A lead byte at the very end stands alone: it never pulls in a byte past the end.
size_t CharLength(std::string_view text, size_t i) {
  return IsLeadByte(At(text, i)) && i + 1 < text.size() ? 2 : 1;
}

bool IsSpaceAt(std::string_view text, size_t i, size_t length) {
  return length == 1 ? text[i] == ' ' : At(text, i) == 0xA1 && At(text, i + 1) == 0xA1;
}

unsigned char FoldAscii(unsigned char byte) {
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

size_t FindBytes(std::string_view text, size_t from, std::string_view needle) {
#ifdef __GLIBC__
  const void* hit = memmem(text.data() + from, text.size() - from, needle.data(), needle.size());
  return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text.data()) : kNone;
#else
  return text.find(needle, from);
#endif
}

// Byte candidates come from a fast byte search; each is then checked locally. The byte after
// one below 0x80 always begins a character, and from there on bytes of 0x80 and above pair up,
// so a candidate begins a character when an even number of them stands before it. `boundary`
// only moves forward, which keeps the whole search linear.
int FindExact(std::string_view text, std::string_view needle, size_t from) {
  size_t boundary = from;
  for (size_t pos = FindBytes(text, from, needle); pos != kNone;
       pos = FindBytes(text, pos + 1, needle)) {
    size_t start = pos;
    while (start > boundary && IsLeadByte(At(text, start - 1))) --start;
    if ((pos - start) % 2 == 0) return static_cast<int>(pos + 1);
    boundary = pos + 1;  // pos is a trail byte
  }
  return -1;
}

// Two-byte characters compare exactly; only single-byte characters fold.
bool MatchesFolded(std::string_view text, size_t at, std::string_view needle) {
  for (size_t j = 0; j < needle.size(); ++j) {
    const unsigned char a = At(text, at + j);
    const unsigned char b = At(needle, j);
    if (IsLeadByte(a)) {
      if (a != b || (j + 1 < needle.size() && text[at + j + 1] != needle[j + 1])) return false;
      ++j;
    } else if (FoldAscii(a) != FoldAscii(b)) {
      return false;
    }
  }
  return true;
}

int FindFolded(std::string_view text, std::string_view needle, size_t from) {
  for (size_t i = from; i + needle.size() <= text.size(); i += CharLength(text, i)) {
    if (MatchesFolded(text, i, needle)) return static_cast<int>(i + 1);
  }
  return -1;
}

}  // namespace

int Find(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  if (needle.empty() || from >= text.size()) return -1;
  return ignoreCase ? FindFolded(text, needle, from) : FindExact(text, needle, from);
}

int FindLast(std::string_view text, std::string_view needle) {
  int last = -1;
  for (int p = Find(text, needle); p > 0;
       p = Find(text, needle, p + static_cast<int>(CharLength(text, static_cast<size_t>(p) - 1)))) {
    last = p;
  }
  return last;
}

bool OccursIn(std::string_view name, std::string_view text) {
  return Find(text, name) > 0;
}

Text Replace(std::string_view text, std::string_view from, std::string_view to) {
  Text result;
  size_t done = 0;
  for (int p = Find(text, from); p > 0; p = Find(text, from, static_cast<int>(done) + 1)) {
    const size_t at = static_cast<size_t>(p) - 1;
    result.append(text, done, at - done).append(to);
    done = at + from.size();
  }
  return result.append(text.substr(done));
}

Text Trim(std::string_view text) {
  size_t first = kNone, end = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i, length)) {
      if (first == kNone) first = i;
      end = i + length;
    }
    i += length;
  }
  return first == kNone ? Text() : Text(text.substr(first, end - first));
}

Text RemoveSpaces(std::string_view text) {
  Text result;
  for (size_t i = 0; i < text.size();) {
    const size_t length = CharLength(text, i);
    if (!IsSpaceAt(text, i, length)) result.append(text, i, length);
    i += length;
  }
  return result;
}

Text Lower(std::string_view text) {
  Text result(text);
  for (size_t i = 0; i < result.size(); i += CharLength(result, i)) {
    result[i] = static_cast<char>(FoldAscii(At(result, i)));
  }
  return result;
}

TextArray Split(std::string_view text, std::string_view separator) {
  if (text.empty()) return {};
  if (separator.empty()) return {Text(text)};
  TextArray pieces;
  size_t from = 0;
  for (int p = Find(text, separator); p > 0;
       p = Find(text, separator, static_cast<int>(from) + 1)) {
    const size_t at = static_cast<size_t>(p) - 1;
    pieces.emplace_back(text.substr(from, at - from));
    from = at + separator.size();
  }
  if (from < text.size()) pieces.emplace_back(text.substr(from));
  return pieces;
}

Text TextFromBytes(const Bytes& bytes) {
  const auto end = std::find(bytes.begin(), bytes.end(), 0);
  return Text(bytes.begin(), end);
}

Bytes BytesFromText(std::string_view text) {
  return Bytes(text.begin(), text.end());
}
