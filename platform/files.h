// Whole-file access and the program's own place. Paths are texts in code page 936.
#pragma once

#include <optional>

#include "base/text.h"

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// All bytes of the file; nothing when the file is missing, locked or unreadable.
std::optional<Bytes> TryReadFileBytes(const Text& path);

// All bytes of the file; a missing, locked or unreadable file gives no bytes.
inline Bytes ReadFileBytes(const Text& path) {
  return TryReadFileBytes(path).value_or(Bytes());
}

// Creates the file or replaces its content. The bytes go to a temporary file beside it first,
// which then takes the file's place in one step: a failure leaves the old content whole.
bool WriteFileBytes(const Text& path, const Bytes& bytes);

// True when a file or a directory exists at the path.
bool PathExists(const Text& path);

// The result is not used by any caller.
void DeleteFileAt(const Text& path);

// The directory of the executable, without a trailing separator, and the executable's file name.
Text RunDirectory();
Text ExecutableName();
