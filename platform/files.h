// Whole-file access. Paths are texts in code page 936.
#pragma once

#include "base/text.h"

// All bytes of the file; a missing, locked or unreadable file gives no bytes.
Bytes ReadFileBytes(const Text& path);
