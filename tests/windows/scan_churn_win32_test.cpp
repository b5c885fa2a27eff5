// The scan over the Windows process source while helper processes start and end as fast as Wine
// can start them: some are caught while still being set up, some end between the snapshot and the
// directory read, and the ended ones stay as process objects for a while (their handles are closed
// only eight starts later). Every row must have a name and carry either the directory the process
// really had or nothing; no scan may fail.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <memory>
#include <thread>

#include "monitor/process_source_win32.h"
#include "monitor/scan.h"
#include "platform/cp936_win32.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"
#include "windows/child_process.h"

namespace {

namespace fs = std::filesystem;

// Starts helpers that end at once, in `directory`, until stopped.
class Churn {
 public:
  explicit Churn(const fs::path& directory) : thread_([this, directory] { Run(directory); }) {}
  ~Churn() {
    stop_ = true;
    thread_.join();
  }
  int started() const { return started_; }

 private:
  void Run(const fs::path& directory) {
    std::deque<std::unique_ptr<ChildProcess>> children;
    while (!stop_) {
      children.push_back(std::make_unique<ChildProcess>(HelperPath(), directory, L"0"));
      if (children.back()->id() != 0) ++started_;
      if (children.size() > 8) children.pop_front();
    }
  }

  std::atomic<bool> stop_{false};
  std::atomic<int> started_{0};
  std::thread thread_;
};

// 30 in the test run (each scan waits on a busy wineserver: about 0.4 s);
// XIUDENG_CHURN_SCANS=1000 for the full run.
int ScanCount() {
  const char* count = std::getenv("XIUDENG_CHURN_SCANS");
  return count ? std::atoi(count) : 30;
}

TEST(ScanChurnWin32Test, RowsOfProcessesThatEndedUnderTheScanHaveAnEmptyDirectory) {
  TempDir dir;
  const fs::path workDir = dir.path() / Wide("churn 目录");
  fs::create_directory(workDir);
  const Text expected = Narrow(workDir.wstring()) + "\\";

  Win32ProcessSource source;
  ScriptedRuntime runtime;
  InitGlobals({&source, &runtime, Narrow(dir.path().wstring()) + "\\trust.txt", [] {}});
  int read = 0, unreadable = 0;
  {
    Churn churn(workDir);
    for (int scan = 0; scan < ScanCount(); ++scan) {
      ScanProcesses();
      for (const ScriptedRuntime::Row& row : runtime[WindowId::kMain].rows) {
        ASSERT_FALSE(row[0].empty()) << "a process without a name: " << row[1];
        if (row[0] != "test_helper.exe") {
          ASSERT_TRUE(row[1].empty() || row[1].ends_with("\\")) << row[0] << " " << row[1];
          continue;
        }
        ASSERT_TRUE(row[1].empty() || row[1] == expected) << row[1];
        ++(row[1].empty() ? unreadable : read);
      }
    }
    EXPECT_GT(churn.started(), 0);
  }
  FreeGlobals();
  EXPECT_GT(read + unreadable, 0) << "no churned process was ever seen";
  std::printf("%d scans: %d rows of churned processes read, %d unreadable\n", ScanCount(), read,
              unreadable);
}

}  // namespace
