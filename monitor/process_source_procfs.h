#pragma once

#include "monitor/process_source.h"

// Linux processes, read from /proc: the name of the executable file (the command name where the
// executable cannot be read, as for kernel threads) and the current directory with a "/" appended.
class ProcfsProcessSource : public ProcessSource {
 public:
  int EnumerateProcesses(TextArray& names, ProcessIds& identifiers) override;
  Text CurrentDirectory(std::uint32_t processId) override;
};
