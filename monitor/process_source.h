// Where a scan finds the running processes: Toolhelp and the processes' memory on Windows,
// procfs on Linux.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

using ProcessIds = std::vector<std::uint32_t>;

class ProcessSource {
 public:
  virtual ~ProcessSource() = default;

  // Empties both arrays, then fills them in parallel in the order of the walk and returns their
  // length: executable file names without directory, and process identifiers. 0 on failure.
  virtual int EnumerateProcesses(TextArray& names, ProcessIds& identifiers) = 0;

  // The process's current directory with its trailing separator; empty when it cannot be read.
  virtual Text CurrentDirectory(std::uint32_t processId) = 0;
};
