#include "monitor/process_source_procfs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "monitor/scan.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// A copy of sleep under a name no other process has, started in a directory of the test's own.
class Probe {
 public:
  Probe(const fs::path& executable, const fs::path& directory) {
    pid_ = fork();
    if (pid_ == 0) {
      if (chdir(directory.c_str()) == 0)
        execl(executable.c_str(), executable.c_str(), "30", nullptr);
      _exit(127);
    }
  }
  ~Probe() {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  std::uint32_t pid() const { return static_cast<std::uint32_t>(pid_); }

 private:
  pid_t pid_;
};

class ProcfsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directory(workDir);
    fs::copy_file("/bin/sleep", executable);
  }

  // Polls until the probe has replaced the forked copy of the test with its own program.
  Text NameOf(std::uint32_t pid) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      TextArray names;
      ProcessIds ids;
      source.EnumerateProcesses(names, ids);
      for (size_t i = 0; i < ids.size(); ++i) {
        if (ids[i] == pid && names[i] == name) return names[i];
      }
      usleep(10000);
    }
    return {};
  }

  TempDir dir;
  const Text name = "xiudeng-probe-" + std::to_string(getpid());
  const fs::path workDir = dir.path() / "工作 目录";
  const fs::path executable = dir.path() / name;
  ProcfsProcessSource source;
};

TEST_F(ProcfsTest, FindsAChildWithItsNameAndCurrentDirectory) {
  Probe probe(executable, workDir);
  EXPECT_EQ(NameOf(probe.pid()), name);
  EXPECT_EQ(source.CurrentDirectory(probe.pid()), workDir.string() + "/");
  EXPECT_EQ(source.CurrentDirectory(0), "");
}

TEST_F(ProcfsTest, ScanReportsAProcessStartedBetweenTwoScans) {
  ScriptedRuntime runtime;
  TextArray reported, dirs;
  InitGlobals({&source, &runtime, dir.File("trust.txt"), [&] {
                 reported.insert(reported.end(), scanState.pendingNames.begin(),
                                 scanState.pendingNames.end());
                 dirs.insert(dirs.end(), scanState.pendingDirs.begin(),
                             scanState.pendingDirs.end());
               }});
  ScanProcesses();
  {
    Probe probe(executable, workDir);
    ASSERT_EQ(NameOf(probe.pid()), name);
    ScanProcesses();
  }
  FreeGlobals();
  const auto at = std::find(reported.begin(), reported.end(), name);
  ASSERT_NE(at, reported.end());
  EXPECT_EQ(dirs[at - reported.begin()], workDir.string() + "/");
}

}  // namespace
