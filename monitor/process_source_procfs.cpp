#include "monitor/process_source_procfs.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/files.h"

namespace {

Text ProcPath(std::uint32_t processId, const char* entry) {
  return "/proc/" + std::to_string(processId) + "/" + entry;
}

Text ReadLink(const Text& path) {
  char target[4096];
  const ssize_t length = readlink(path.c_str(), target, sizeof target);
  return length > 0 ? Text(target, static_cast<size_t>(length)) : Text();
}

Text ExecutableName(std::uint32_t processId) {
  const Text executable = ReadLink(ProcPath(processId, "exe"));
  if (!executable.empty()) return executable.substr(executable.rfind('/') + 1);
  Text command = TextFromBytes(ReadFileBytes(ProcPath(processId, "comm")));
  if (!command.empty() && command.back() == '\n') command.pop_back();
  return command;
}

}  // namespace

int ProcfsProcessSource::EnumerateProcesses(TextArray& names, ProcessIds& identifiers) {
  names.clear();
  identifiers.clear();
  std::unique_ptr<DIR, int (*)(DIR*)> proc(opendir("/proc"), &closedir);
  if (!proc) return 0;
  while (const dirent* entry = readdir(proc.get())) {
    char* end = nullptr;
    const unsigned long processId = std::strtoul(entry->d_name, &end, 10);
    if (end == entry->d_name || *end != '\0') continue;
    names.push_back(ExecutableName(static_cast<std::uint32_t>(processId)));
    identifiers.push_back(static_cast<std::uint32_t>(processId));
  }
  return static_cast<int>(names.size());
}

Text ProcfsProcessSource::CurrentDirectory(std::uint32_t processId) {
  const Text directory = ReadLink(ProcPath(processId, "cwd"));
  return directory.empty() || directory.back() == '/' ? directory : directory + "/";
}
