#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "monitor/process_parameter_win32.h"
#include "monitor/process_snapshot_win32.h"
#include "platform/cp936_win32.h"
#include "platform/handle_win32.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::EndsWith;

fs::path HelperPath() {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return fs::path(module).parent_path() / L"test_helper.exe";
}

// test_helper.exe, started in `directory` and ended with the test.
class Helper {
 public:
  explicit Helper(const fs::path& directory) {
    std::wstring commandLine = L"\"" + HelperPath().wstring() + L"\" 30000";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(HelperPath().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_NO_WINDOW, nullptr, directory.c_str(), &startup, &info)) {
      process_ = UniqueHandle(info.hProcess);
      UniqueHandle thread(info.hThread);
      id_ = info.dwProcessId;
    }
    commandLine_ = Narrow(commandLine);
  }
  ~Helper() { End(); }

  void End() {
    if (!process_.valid()) return;
    TerminateProcess(process_.get(), 0);
    WaitForSingleObject(process_.get(), 10000);
  }
  DWORD id() const { return id_; }
  const Text& commandLine() const { return commandLine_; }

  // The new process fills its parameter block as it starts; wait until the text is there.
  Text Read(int kind) const {
    Text text;
    for (int attempt = 0; attempt < 500 && text.empty(); ++attempt) {
      text = ReadProcessParameter(id_, kind);
      if (text.empty()) Sleep(10);
    }
    return text;
  }

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
  Text commandLine_;
};

class ProcessWin32Test : public ::testing::Test {
 protected:
  fs::path Directory(const std::wstring& name) {
    const fs::path path = dir.path() / name;
    fs::create_directory(path);
    return path;
  }
  TempDir dir;
};

TEST_F(ProcessWin32Test, EnumerateProcessesSeesEveryInstance) {
  Helper first(dir.path()), second(dir.path());
  ASSERT_NE(first.id(), 0u);
  ASSERT_NE(second.id(), 0u);

  TextArray names = {"stale"};
  ProcessIds ids = {1, 2, 3};
  const int count = EnumerateProcesses(names, ids);
  ASSERT_EQ(count, static_cast<int>(names.size()));
  ASSERT_EQ(names.size(), ids.size());
  EXPECT_THAT(names, ::testing::Not(Contains("stale")));
  for (DWORD id : {first.id(), second.id()}) {
    const auto at = std::find(ids.begin(), ids.end(), id);
    ASSERT_NE(at, ids.end());
    EXPECT_EQ(names[at - ids.begin()], "test_helper.exe");
  }
}

TEST_F(ProcessWin32Test, ReadsTheCurrentDirectoryWithItsTrailingBackslash) {
  const fs::path directory = Directory(L"测试 目录");
  Helper helper(directory);
  EXPECT_EQ(helper.Read(kCurrentDirectory), Narrow(directory.wstring()) + "\\");
  EXPECT_EQ(helper.Read(kCommandLine), helper.commandLine());
  EXPECT_THAT(helper.Read(kImagePath), EndsWith("\\test_helper.exe"));
}

TEST_F(ProcessWin32Test, CharactersOutsideCodePage936BecomeTheDefaultCharacter) {
  const fs::path directory = Directory(L"a\u0E01b");
  Helper helper(directory);
  EXPECT_THAT(helper.Read(kCurrentDirectory), EndsWith("\\a?b\\"));
}

TEST_F(ProcessWin32Test, UnreadableProcessesGiveTheEmptyText) {
  EXPECT_EQ(ReadProcessParameter(0, kCurrentDirectory), "");
  Helper helper(dir.path());
  ASSERT_NE(helper.Read(kCurrentDirectory), "");
  helper.End();
  EXPECT_EQ(ReadProcessParameter(helper.id(), kCurrentDirectory), "");
}

TEST(UnicodeToAnsiTest, ConvertsUpToTheFirstNul) {
  EXPECT_EQ(UnicodeToAnsi(Bytes{0x2D, 0x4E, 'a', 0}), "中a");
  EXPECT_EQ(UnicodeToAnsi(Bytes{'a', 0, 0, 0, 'b', 0}), "a");
  EXPECT_EQ(UnicodeToAnsi(Bytes{'a', 0, 'b'}), "a") << "an odd last byte is ignored";
  EXPECT_EQ(UnicodeToAnsi(Bytes{}), "");
  EXPECT_EQ(UnicodeToAnsi(Bytes{'a'}), "");
}

}  // namespace
