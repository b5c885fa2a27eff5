// Clocks and meters for the Windows benchmarks: wall time, CPU time and memory of a process, and
// the median of interleaved repetitions.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
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

// User and kernel time the process has used, in seconds.
inline double CpuSeconds(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  const auto ticks = [](FILETIME t) {
    return static_cast<double>(ULARGE_INTEGER{{t.dwLowDateTime, t.dwHighDateTime}}.QuadPart);
  };
  return (ticks(kernel) + ticks(user)) / 1e7;
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

// One row of the table that `make bench` prints.
inline void Row(const char* name, const char* measured, const char* against, double ratio,
                const char* target) {
  std::printf("| %s | %s | %s | %.2fx | %s |\n", name, measured, against, ratio, target);
  std::fflush(stdout);
}
