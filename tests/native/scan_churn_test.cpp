// Scans while short-lived processes start and end as fast as they can: many end between the
// snapshot and the directory read, and some linger as zombies whose directory cannot be read.
// Every row must carry either the directory the process really had or nothing, and the scans must
// neither crash nor leak (this suite also runs under AddressSanitizer).
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <thread>

#include "monitor/process_source_procfs.h"
#include "monitor/scan.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// Starts copies of /bin/true in `directory` until stopped, reaping each only after eight newer
// ones started, so that the ended ones stay zombies for a while.
class Churn {
 public:
  Churn(const fs::path& executable, const fs::path& directory)
      : thread_([this, executable, directory] { Run(executable, directory); }) {}
  ~Churn() {
    stop_ = true;
    thread_.join();
  }
  int started() const { return started_; }

 private:
  void Run(const fs::path& executable, const fs::path& directory) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
    std::deque<pid_t> children;
    char* argv[] = {const_cast<char*>(executable.c_str()), nullptr};
    while (!stop_) {
      pid_t pid;
      if (posix_spawn(&pid, executable.c_str(), &actions, nullptr, argv, environ) == 0) {
        children.push_back(pid);
        ++started_;
      }
      while (children.size() > 8 || (stop_ && !children.empty())) {
        waitpid(children.front(), nullptr, 0);
        children.pop_front();
      }
    }
    posix_spawn_file_actions_destroy(&actions);
  }

  std::atomic<bool> stop_{false};
  std::atomic<int> started_{0};
  std::thread thread_;
};

// 200 in the test run, which shares the machine; XIUDENG_CHURN_SCANS=1000 for the full run.
int ScanCount() {
  const char* count = std::getenv("XIUDENG_CHURN_SCANS");
  return count ? std::atoi(count) : 200;
}

TEST(ScanChurnTest, RowsOfProcessesThatEndedUnderTheScanHaveAnEmptyDirectory) {
  TempDir dir;
  const Text name = "xiudeng-churn-" + std::to_string(getpid());
  const fs::path executable = dir.path() / name, workDir = dir.path() / "churn dir";
  fs::copy_file("/bin/true", executable);
  fs::create_directory(workDir);
  const Text expected = workDir.string() + "/";

  ProcfsProcessSource source;
  ScriptedRuntime runtime;
  int alerts = 0;
  InitGlobals({&source, &runtime, dir.File("trust.txt"), [&] { ++alerts; }});
  int read = 0, unreadable = 0;
  {
    Churn churn(executable, workDir);
    for (int scan = 0; scan < ScanCount(); ++scan) {
      ScanProcesses();
      for (const ScriptedRuntime::Row& row : runtime[WindowId::kMain].rows) {
        if (row[0] != name) {
          ASSERT_TRUE(row[1].empty() || (row[1].starts_with('/') && row[1].ends_with('/')))
              << row[0] << " " << row[1];
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
  std::printf("%d scans: %d rows of churned processes read, %d unreadable, %d alerts\n",
              ScanCount(), read, unreadable, alerts);
}

}  // namespace
