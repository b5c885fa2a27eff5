// What every fuzz target shares: a failed invariant aborts with the reason, which libFuzzer then
// reports with the input that broke it; and the reference walk over characters.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "base/text.h"

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

// The 0-based offsets at which a character begins, walking from `from` (itself a beginning).
inline std::vector<bool> CharacterStarts(std::string_view text, size_t from = 0) {
  std::vector<bool> starts(text.size() + 1, false);
  for (size_t i = from; i < text.size();) {
    starts[i] = true;
    i += IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
  }
  starts[text.size()] = true;
  return starts;
}

// Any space character, the ASCII one or A1 A1, that begins at a character boundary.
inline bool HasSpaceCharacter(std::string_view text) {
  const std::vector<bool> starts = CharacterStarts(text);
  for (size_t i = 0; i < text.size(); ++i) {
    if (!starts[i]) continue;
    if (text[i] == ' ') return true;
    if (text.substr(i, 2) == "\xA1\xA1" && i + 2 <= text.size() && starts[i + 2]) return true;
  }
  return false;
}

// A cookie text's space characters are those of the "; " that joins its pairs.
inline bool OnlySeparatorSpaces(std::string_view cookies) {
  const std::vector<bool> starts = CharacterStarts(cookies);
  for (size_t i = 0; i < cookies.size(); ++i) {
    if (!starts[i]) continue;
    if (cookies[i] == ' ' && (i == 0 || cookies[i - 1] != ';')) return false;
    if (cookies.substr(i, 2) == "\xA1\xA1") return false;
  }
  return true;
}
