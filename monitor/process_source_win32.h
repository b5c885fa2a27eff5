#pragma once

#include "monitor/process_parameter_win32.h"
#include "monitor/process_snapshot_win32.h"
#include "monitor/process_source.h"

class Win32ProcessSource : public ProcessSource {
 public:
  int EnumerateProcesses(TextArray& names, ProcessIds& identifiers) override {
    return ::EnumerateProcesses(names, identifiers);
  }
  Text CurrentDirectory(std::uint32_t processId) override {
    return ReadProcessParameter(processId, kCurrentDirectory);
  }
};
