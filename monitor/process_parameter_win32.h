#pragma once

#include <cstdint>

#include "base/text.h"

// Which text of a process's parameter block to read.
enum ProcessParameterKind { kCommandLine = 0, kImagePath = 1, kCurrentDirectory = 2 };

// The chosen text, read out of the memory of the process; empty when it cannot be read. The
// current directory keeps the trailing backslash that Windows stores with it.
Text ReadProcessParameter(std::uint32_t processId, int kind);

// UTF-16LE up to its first NUL (an odd last byte is ignored), in code page 936.
Text UnicodeToAnsi(const Bytes& bytes);
