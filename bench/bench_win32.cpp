// The Windows benchmarks, run under Wine: a scan against the bare loop of its platform calls,
// memory growth over many scans, start-up against a program that only opens a window, and the
// real program idling with monitoring on. Each prints rows of the table `make bench` shows.
//
//   xiudeng_bench.exe all            scan, growth and start-up, with 200 helper processes
//   xiudeng_bench.exe scan           the scan alone, with the helpers
//   xiudeng_bench.exe startup        start-up alone, without helpers
//   xiudeng_bench.exe idle SECONDS   the real program monitoring for SECONDS, window hidden,
//                                    after a first minute left out
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/measure_win32.h"
#include "bench/null_runtime.h"
#include "bench/trust_texts.h"
#include "monitor/process_source_win32.h"
#include "monitor/scan.h"
#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/window_runtime_win32.h"
#include "tests/support/temp_dir.h"
#include "tests/windows/child_process.h"
#include "tests/windows/driver.h"

namespace fs = std::filesystem;

namespace {

constexpr int kHelpers = 200;
constexpr double kScanPeriod = 5.0;  // the program's scan timer
constexpr wchar_t kWindowOnlyTitle[] = L"window only";
constexpr int kPatience = 120000;  // ms; a start among hundreds of busy processes is slow
constexpr DWORD kWarmUpMs = 60000;

fs::path BuildRoot() {
  return BuildDirectory().parent_path();  // the bench folder sits in the build folder
}

// Helper processes that sleep for `milliseconds`; returned once every one of them can be read.
std::vector<std::unique_ptr<ChildProcess>> StartHelpers(int count, int milliseconds) {
  std::vector<std::unique_ptr<ChildProcess>> helpers;
  const fs::path helper = BuildRoot() / L"tests" / L"test_helper.exe";
  for (int i = 0; i < count; ++i) {
    helpers.push_back(
        std::make_unique<ChildProcess>(helper, fs::path(), std::to_wstring(milliseconds)));
  }
  for (const auto& child : helpers) {
    driver::WaitFor([&] { return !ReadProcessParameter(child->id(), kCurrentDirectory).empty(); });
  }
  return helpers;
}

// The platform calls of a scan and nothing else: the Toolhelp walk and one directory read per
// process.
size_t BareLoop() {
  TextArray names;
  ProcessIds identifiers;
  const int count = EnumerateProcesses(names, identifiers);
  size_t bytes = 0;
  for (int i = 0; i < count; ++i) bytes += ReadProcessParameter(identifiers[i], 2).size();
  return bytes;
}

// A trust list as a user's would be: the header and a few dozen names.
Text WriteTrustFile(const TempDir& dir) {
  const Text path = Narrow(dir.path().wstring()) + "\\trust.txt";
  WriteFileBytes(path, BytesFromText(MakeTrustText(1024)));
  return path;
}

WindowDesign ListOnlyDesign() {
  WindowDesign design{};
  design.title = "bench";
  design.width = 420;
  design.height = 320;
  design.controls = {{Control::kList, ControlKind::kList, "", 0, 0, 400, 300, {}}};
  return design;
}

// One scan after a baseline scan, so that the new-name rule runs over every process.
double TimedScan(ProcessSource& source, WindowRuntime& runtime, const Text& trustPath) {
  InitGlobals({&source, &runtime, trustPath, [] {}});
  ScanProcesses();
  return TimeOf([] { ScanProcesses(); });
}

void ScanBench(const Text& trustPath, Win32WindowRuntime& listRuntime) {
  Win32ProcessSource source;
  NullRuntime nullRuntime;
  TextArray names;
  ProcessIds identifiers;
  const int processes = EnumerateProcesses(names, identifiers);
  BareLoop();  // warm
  std::vector<double> bare, scanNull, scanHidden, scanShown;
  for (int rep = 0; rep < 15; ++rep) {
    bare.push_back(TimeOf([] { BareLoop(); }));
    scanNull.push_back(TimedScan(source, nullRuntime, trustPath));
    listRuntime.SetShown(WindowId::kMain, false);
    scanHidden.push_back(TimedScan(source, listRuntime, trustPath));
    listRuntime.SetShown(WindowId::kMain, true);
    scanShown.push_back(TimedScan(source, listRuntime, trustPath));
  }
  const double b = Median(bare), n = Median(scanNull), h = Median(scanHidden),
               s = Median(scanShown);
  char measured[128], against[128];
  std::snprintf(against, sizeof against, "bare loop %.1f ms, %.0f us/process", b * 1e3,
                b * 1e6 / processes);
  std::snprintf(measured, sizeof measured, "scan, null runtime, %d processes: %.1f ms", processes,
                n * 1e3);
  Row("scan", measured, against, n / b, "<= 1.3x");
  std::snprintf(measured, sizeof measured, "scan, real list, window hidden: %.1f ms", h * 1e3);
  Row("scan", measured, against, h / b, "(the monitor in the tray)");
  std::snprintf(measured, sizeof measured, "scan, real list, window shown: %.1f ms", s * 1e3);
  Row("scan", measured, against, s / b, "(list view cost)");
  // Where the rest goes: the trust file read, and the rows of the list view.
  const double trustRead = Median([&] {
    std::vector<double> times;
    for (int rep = 0; rep < 15; ++rep) times.push_back(TimeOf([&] { ReadFileBytes(trustPath); }));
    return times;
  }());
  std::snprintf(measured, sizeof measured,
                "trust file read %.2f ms; list %.0f us/process hidden, %.0f shown", trustRead * 1e3,
                (h - n) * 1e6 / processes, (s - n) * 1e6 / processes);
  Row("scan parts", measured, against, (trustRead + b) / b, "(bare loop + trust read)");
}

// Memory after scan 100 (or the tenth of a shorter run) against after the last.
void GrowthBench(const Text& trustPath, Win32WindowRuntime& listRuntime, int scans) {
  Win32ProcessSource source;
  InitGlobals({&source, &listRuntime, trustPath, [] {}});
  const int reference = std::min(100, std::max(1, scans / 10));
  Memory atReference;
  for (int scan = 1; scan <= scans; ++scan) {
    ScanProcesses();
    if (scan == reference) atReference = MemoryOf(GetCurrentProcess());
  }
  const Memory atEnd = MemoryOf(GetCurrentProcess());
  char measured[160], against[160];
  std::snprintf(measured, sizeof measured,
                "scan %d: private %.2f MB, working set %.2f MB (list view runtime)", scans,
                atEnd.privateMb, atEnd.workingSetMb);
  std::snprintf(against, sizeof against, "scan %d: private %.2f MB, working set %.2f MB", reference,
                atReference.privateMb, atReference.workingSetMb);
  Row("growth", measured, against, atEnd.privateMb / atReference.privateMb, "no growth (1.00x)");
}

// From process creation to a visible top-level window of it.
double TimeToWindow(const fs::path& executable, const fs::path& directory,
                    const std::wstring& title) {
  const double start = Seconds();
  ChildProcess child(executable, directory);
  // Polled every 5 ms: driver::WaitFor's 50 ms would blur a start of a few hundred.
  while (Seconds() - start < kPatience / 1000.0) {
    if (driver::TopWindow(child.id(), title)) return Seconds() - start;
    Sleep(5);
  }
  return 0;
}

// A copy of the program in a folder of its own, where it makes its trust list at first start.
fs::path CopyProgram(const TempDir& dir) {
  const fs::path program = dir.path() / L"xiudeng.exe";
  fs::copy_file(BuildRoot() / L"xiudeng.exe", program, fs::copy_options::overwrite_existing);
  return program;
}

void StartupBench(const TempDir& dir) {
  const fs::path program = CopyProgram(dir);
  const fs::path windowOnly = BuildDirectory() / L"window_only.exe";
  const fs::path withControls = BuildDirectory() / L"window_only_controls.exe";
  const std::wstring programTitle = Wide("新岫灯v1.0");
  TimeToWindow(program, dir.path(), programTitle);  // the first start makes the trust list
  TimeToWindow(windowOnly, dir.path(), kWindowOnlyTitle);
  TimeToWindow(withControls, dir.path(), kWindowOnlyTitle);
  std::vector<double> real, minimal, controls;
  for (int rep = 0; rep < 15; ++rep) {
    real.push_back(TimeToWindow(program, dir.path(), programTitle));
    minimal.push_back(TimeToWindow(windowOnly, dir.path(), kWindowOnlyTitle));
    controls.push_back(TimeToWindow(withControls, dir.path(), kWindowOnlyTitle));
  }
  const double r = Median(real), m = Median(minimal), c = Median(controls);
  char measured[96], against[96];
  std::snprintf(measured, sizeof measured, "start to main window %.0f ms", r * 1e3);
  std::snprintf(against, sizeof against, "window-only program %.0f ms", m * 1e3);
  Row("start-up", measured, against, r / m, "<= 1.2x");
  // What bounds it: the list view's library, loaded by a window-only program too.
  std::snprintf(against, sizeof against, "window-only program with common controls 6 %.0f ms",
                c * 1e3);
  Row("start-up", measured, against, r / c, "(the list's library)");
}

int All(int growthScans, bool withStartup) {
  const auto helpers = StartHelpers(kHelpers, 3600 * 1000);
  TempDir dir;
  const Text trustPath = WriteTrustFile(dir);
  Win32WindowRuntime listRuntime({{WindowId::kMain, ListOnlyDesign()}}, [] {});
  listRuntime.LoadWindow(WindowId::kMain);
  ScanBench(trustPath, listRuntime);
  if (withStartup) StartupBench(dir);
  if (growthScans > 0) GrowthBench(trustPath, listRuntime, growthScans);
  return 0;
}

// The real program, monitoring with its window hidden, against as many bare loops in this
// process; and its memory then, against the window-only program's. CPU times are those of the
// Linux processes, the program's and the share of this prefix's wineserver, which under Wine
// does much of what the Windows kernel would.
int Idle(int seconds) {
  const auto helpers = StartHelpers(kHelpers, (seconds + 600) * 1000);
  TempDir dir;
  ChildProcess program(CopyProgram(dir), dir.path());
  HWND main = driver::WaitForTopWindow(program.id(), Wide("新岫灯v1.0"), L"", kPatience);
  if (!main) return std::fprintf(stderr, "the main window did not show\n"), 1;
  driver::Click(driver::Child(main, L"Button", Wide("启动")));
  driver::WaitFor([&] { return driver::Child(main, L"Button", Wide("停止")) != nullptr; });
  driver::Click(driver::Child(main, L"Button", Wide("隐藏界面")));
  driver::WaitFor([&] { return !IsWindowVisible(main); });
  // Past the update check, which runs once, 50 s after start.
  Sleep(kWarmUpMs);

  UniqueHandle handle(
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.id()));
  const auto cpuOf = [](const char* name) { return unix_process::CpuSeconds(name); };
  const double programStart = cpuOf("xiudeng.exe"), serverStart = cpuOf("wineserver64");
  const Memory memoryStart = MemoryOf(handle.get());
  Sleep(static_cast<DWORD>(seconds) * 1000);
  const double programCpu = cpuOf("xiudeng.exe") - programStart;
  const double programServer = cpuOf("wineserver64") - serverStart;
  const Memory memoryEnd = MemoryOf(handle.get());
  program.End();  // its scans would count in the server's time below

  const int scans = static_cast<int>(seconds / kScanPeriod);
  const double bareStart = cpuOf("self"), bareServerStart = cpuOf("wineserver64");
  for (int scan = 0; scan < scans; ++scan) BareLoop();
  const double bareCpu = cpuOf("self") - bareStart;
  const double bareServer = cpuOf("wineserver64") - bareServerStart;

  Memory minimal;
  {
    ChildProcess windowOnly(BuildDirectory() / L"window_only.exe", dir.path());
    driver::WaitFor([&] { return driver::TopWindow(windowOnly.id(), kWindowOnlyTitle) != nullptr; },
                    kPatience);
    UniqueHandle h(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, windowOnly.id()));
    minimal = MemoryOf(h.get());
  }

  const double minutes = seconds / 60.0;
  char measured[160], against[160];
  std::snprintf(measured, sizeof measured,
                "program %.2f s CPU/min + wineserver %.2f s/min, over %d s", programCpu / minutes,
                programServer / minutes, seconds);
  std::snprintf(against, sizeof against,
                "bare loop %.2f s CPU/min + wineserver %.2f s/min (%d scans)", bareCpu / minutes,
                bareServer / minutes, scans);
  Row("idle CPU", measured, against, (programCpu + programServer) / (bareCpu + bareServer),
      "<= 1.5x");
  std::snprintf(measured, sizeof measured, "working set %.1f MB, private %.1f MB",
                memoryEnd.workingSetMb, memoryEnd.privateMb);
  std::snprintf(against, sizeof against,
                "window-only program: working set %.1f MB, private %.1f MB", minimal.workingSetMb,
                minimal.privateMb);
  Row("idle memory", measured, against, memoryEnd.workingSetMb / minimal.workingSetMb,
      "working set <= 10 MB");
  std::snprintf(measured, sizeof measured, "private %.2f MB at the end", memoryEnd.privateMb);
  std::snprintf(against, sizeof against, "private %.2f MB after the first minute",
                memoryStart.privateMb);
  Row("idle growth", measured, against, memoryEnd.privateMb / memoryStart.privateMb,
      "no growth (1.00x)");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "all";
  if (mode == "all") return All(argc > 2 ? std::atoi(argv[2]) : 1000, true);
  if (mode == "scan") return All(0, false);
  if (mode == "idle") return Idle(argc > 2 ? std::atoi(argv[2]) : 600);
  if (mode == "startup") return StartupBench(TempDir()), 0;
  std::fprintf(stderr, "usage: xiudeng_bench.exe all [SCANS] | scan | startup | idle [SECONDS]\n");
  return 2;
}
