// Search, split, trim and remove spaces against a plain character-by-character reference: a match
// begins only where a character begins (never on the trail byte of a two-byte character), the
// first and last matches are the reference's, pieces join back to the text, and no space
// character is left where the rules say none is.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

#include "check.h"

namespace {

unsigned char Fold(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A'))
                              : static_cast<unsigned char>(c);
}

// Two-byte characters compare exactly, single-byte ones fold when asked.
bool MatchesAt(std::string_view text, size_t at, std::string_view needle, bool ignoreCase) {
  if (at + needle.size() > text.size()) return false;
  for (size_t j = 0; j < needle.size(); ++j) {
    const bool fold = ignoreCase && !IsLeadByte(static_cast<unsigned char>(text[at + j]));
    if (fold ? Fold(text[at + j]) != Fold(needle[j]) : text[at + j] != needle[j]) return false;
    if (IsLeadByte(static_cast<unsigned char>(text[at + j])) && ignoreCase &&
        j + 1 < needle.size()) {
      if (text[at + j + 1] != needle[j + 1]) return false;
      ++j;
    }
  }
  return true;
}

int ReferenceFind(std::string_view text, std::string_view needle, size_t from, bool ignoreCase) {
  if (needle.empty() || from >= text.size()) return -1;
  const std::vector<bool> starts = CharacterStarts(text, from);
  for (size_t i = from; i < text.size(); ++i) {
    if (starts[i] && MatchesAt(text, i, needle, ignoreCase)) return static_cast<int>(i + 1);
  }
  return -1;
}

int ReferenceFindLast(std::string_view text, std::string_view needle) {
  if (needle.empty()) return -1;
  const std::vector<bool> starts = CharacterStarts(text);
  for (size_t i = text.size(); i-- > 0;) {
    if (starts[i] && MatchesAt(text, i, needle, false)) return static_cast<int>(i + 1);
  }
  return -1;
}

bool IsSpaceCharacterAt(std::string_view text, size_t i) {
  return text[i] == ' ' || (i + 1 < text.size() && text.substr(i, 2) == "\xA1\xA1");
}

void CheckSearch(std::string_view text, std::string_view needle, int start, bool ignoreCase) {
  const size_t from = start <= 1 ? 0 : static_cast<size_t>(start) - 1;
  const int found = Find(text, needle, start, ignoreCase);
  FUZZ_CHECK(found == ReferenceFind(text, needle, from, ignoreCase));
  if (found > 0) FUZZ_CHECK(CharacterStarts(text, from)[static_cast<size_t>(found) - 1]);
  FUZZ_CHECK(FindLast(text, needle) == ReferenceFindLast(text, needle));
  FUZZ_CHECK(OccursIn(needle, text) == (ReferenceFind(text, needle, 0, false) > 0));
}

void CheckSplit(std::string_view text, std::string_view separator) {
  const TextArray pieces = Split(text, separator);
  FUZZ_CHECK(text.empty() == pieces.empty());
  Text joined;
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) joined += separator;
    joined += pieces[i];
    if (!separator.empty()) FUZZ_CHECK(Find(pieces[i], separator) < 0);
  }
  // A trailing separator leaves no empty piece behind it.
  FUZZ_CHECK(joined == text || (!separator.empty() && Text(joined) + Text(separator) == text));
}

void CheckSpaces(std::string_view text) {
  const Text trimmed = Trim(text);
  FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
  FUZZ_CHECK(Trim(trimmed) == trimmed);
  if (!trimmed.empty()) {
    const std::vector<bool> starts = CharacterStarts(trimmed);
    size_t last = trimmed.size() - 1;
    while (!starts[last]) --last;
    FUZZ_CHECK(!IsSpaceCharacterAt(trimmed, 0) && !IsSpaceCharacterAt(trimmed, last));
  }
  const Text removed = RemoveSpaces(text);
  FUZZ_CHECK(!HasSpaceCharacter(removed));
  FUZZ_CHECK(RemoveSpaces(trimmed) == removed);
  FUZZ_CHECK(RemoveSpaces(removed) == removed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool ignoreCase = input.ConsumeBool();
  const int start = input.ConsumeIntegralInRange<int>(-2, 64);
  const std::string needle = input.ConsumeRandomLengthString(8);
  const std::string text = input.ConsumeRemainingBytesAsString();
  CheckSearch(text, needle, start, ignoreCase);
  CheckSplit(text, needle);
  CheckSpaces(text);
  return 0;
}
