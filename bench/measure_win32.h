// Clocks and meters for the Windows benchmarks: wall time, memory of a process, CPU time and memory
// of the Linux processes behind Wine's, and the median of interleaved repetitions.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

inline double Seconds() {
  static const double frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / frequency;
}

template <typename Work>
double TimeOf(Work&& work) {
  const double start = Seconds();
  work();
  return Seconds() - start;
}

inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

struct Memory {
  double workingSetMb = 0;
  double privateMb = 0;
};

inline Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return {};
  }
  // PagefileUsage is the commit charge, private bytes; Wine leaves PrivateUsage at 0.
  return {counters.WorkingSetSize / 1048576.0, counters.PagefileUsage / 1048576.0};
}

// Wine gives no CPU times for another process: these read them for the Linux process behind a
// Wine process from /proc, through drive Z:. (Wine's working set and private bytes are the Linux
// process's resident and anonymous memory already.)
namespace unix_process {

inline std::string Read(const std::string& path) {
  std::ifstream in("Z:" + path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// The Wine prefix a process runs in, from its environment.
inline std::string PrefixOf(const std::string& pid) {
  const std::string environment = '\0' + Read("/proc/" + pid + "/environ");
  const size_t at = environment.find(std::string("\0WINEPREFIX=", 12));
  if (at == std::string::npos) return {};
  const size_t start = at + 12;
  return environment.substr(start, environment.find('\0', start) - start);
}

// The processes of this one's prefix whose Linux name (/proc/<pid>/comm) is `name`; "self" is
// this process.
inline std::vector<std::string> Named(const std::string& name) {
  if (name == "self") return {"self"};
  const std::string prefix = PrefixOf("self");
  std::vector<std::string> found;
  for (const auto& entry : std::filesystem::directory_iterator("Z:/proc")) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    if (Read("/proc/" + pid + "/comm") == name + "\n" && PrefixOf(pid) == prefix) {
      found.push_back(pid);
    }
  }
  return found;
}

// User and system time, summed over the processes named.
inline double CpuSeconds(const std::string& name) {
  double seconds = 0;
  for (const std::string& pid : Named(name)) {
    const std::string stat = Read("/proc/" + pid + "/stat");
    // utime and stime are the 12th and 13th fields after the name in parentheses, in 1/100 s.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string field;
    for (int i = 0; i < 11; ++i) fields >> field;
    double user = 0, system = 0;
    fields >> user >> system;
    seconds += (user + system) / 100;
  }
  return seconds;
}

}  // namespace unix_process

// One row of the table that `make bench` prints.
inline void Row(const char* name, const char* measured, const char* against, double ratio,
                const char* target) {
  std::printf("| %s | %s | %s | %.2fx | %s |\n", name, measured, against, ratio, target);
  std::fflush(stdout);
}
