// A process table that the test writes.
#pragma once

#include <functional>
#include <map>

#include "monitor/process_source.h"

class FakeProcessSource : public ProcessSource {
 public:
  struct Process {
    Text name;
    std::uint32_t id;
    Text directory;
  };

  std::vector<Process> processes;  // in walk order
  bool snapshotFails = false;
  int snapshots = 0;
  std::function<void(std::uint32_t)> beforeRead;  // runs before each directory read

  void Start(const Text& name, const Text& directory = "C:\\Tools\\") {
    processes.push_back({name, nextId_, directory});
    nextId_ += 4;
  }

  int EnumerateProcesses(TextArray& names, ProcessIds& identifiers) override {
    ++snapshots;
    names.clear();
    identifiers.clear();
    if (snapshotFails) return 0;
    for (const Process& process : processes) {
      names.push_back(process.name);
      identifiers.push_back(process.id);
    }
    return static_cast<int>(names.size());
  }

  Text CurrentDirectory(std::uint32_t processId) override {
    if (beforeRead) beforeRead(processId);
    for (const Process& process : processes) {
      if (process.id == processId) return process.directory;
    }
    return {};  // ended since the snapshot
  }

 private:
  std::uint32_t nextId_ = 4;
};
