// Texts are byte strings in code page 936. A byte of 0x80 or above starts a two-byte character,
// so every search, split and replace here steps over such pairs and only matches where a
// character begins. Positions are 1-based byte positions; a search that finds nothing gives -1.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using Text = std::string;                 // no zero byte inside
using TextArray = std::vector<Text>;      // owns copies of its texts
using Bytes = std::vector<std::uint8_t>;  // file contents, bodies, UTF-16 buffers

inline bool IsLeadByte(unsigned char byte) {
  return byte >= 0x80;
}

// First match of `needle` in `text` at a character boundary, at or after `start`. A start of 1
// or less searches from the beginning; one beyond the end, or an empty needle, finds nothing.
// With `ignoreCase`, only single-byte ASCII letters fold.
int Find(std::string_view text, std::string_view needle, int start = 1, bool ignoreCase = false);

// Last match of `needle` in `text` at a character boundary, case-sensitive; matches may overlap.
int FindLast(std::string_view text, std::string_view needle);

// The occurs-in rule: a case-sensitive search of `text` from its first byte finds `name`.
// Linear in the length of `text`, however many bytes of 0x80 and above it holds.
bool OccursIn(std::string_view name, std::string_view text);

// Every non-overlapping occurrence of `from`, searched case-sensitively from the start.
Text Replace(std::string_view text, std::string_view from, std::string_view to);

// Leading and trailing runs of spaces go: the ASCII space and the full-width space A1 A1.
Text Trim(std::string_view text);

// Deletes both kinds of space everywhere.
Text RemoveSpaces(std::string_view text);

// Changes ASCII A-Z only; the bytes of two-byte characters stay as they are.
Text Lower(std::string_view text);

// Empty pieces at the start and between adjacent separators are kept, none follows a trailing
// separator, and an empty text gives no pieces. An empty separator gives the text as one piece.
TextArray Split(std::string_view text, std::string_view separator);

// The bytes up to the first zero byte. No code-page conversion either way.
Text TextFromBytes(const Bytes& bytes);
Bytes BytesFromText(std::string_view text);
