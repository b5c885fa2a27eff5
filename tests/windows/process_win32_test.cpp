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
#include "windows/child_process.h"

namespace {

namespace fs = std::filesystem;
using ::testing::Contains;
using ::testing::EndsWith;

// The new process fills its parameter block as it starts: wait until the text is there.
Text ReadWhenThere(const ChildProcess& process, int kind) {
  Text text;
  for (int attempt = 0; attempt < 500 && text.empty(); ++attempt) {
    text = ReadProcessParameter(process.id(), kind);
    if (text.empty()) Sleep(10);
  }
  return text;
}

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
  ChildProcess first(HelperPath(), dir.path()), second(HelperPath(), dir.path());
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
  ChildProcess helper(HelperPath(), directory);
  EXPECT_EQ(ReadWhenThere(helper, kCurrentDirectory), Narrow(directory.wstring()) + "\\");
  EXPECT_EQ(ReadWhenThere(helper, kCommandLine), Narrow(helper.commandLine()));
  EXPECT_THAT(ReadWhenThere(helper, kImagePath), EndsWith("\\test_helper.exe"));
}

TEST_F(ProcessWin32Test, CharactersOutsideCodePage936BecomeTheDefaultCharacter) {
  const fs::path directory = Directory(L"a\u0E01b");
  ChildProcess helper(HelperPath(), directory);
  EXPECT_THAT(ReadWhenThere(helper, kCurrentDirectory), EndsWith("\\a?b\\"));
}

TEST_F(ProcessWin32Test, UnreadableProcessesGiveTheEmptyText) {
  EXPECT_EQ(ReadProcessParameter(0, kCurrentDirectory), "");
  ChildProcess helper(HelperPath(), dir.path());
  ASSERT_NE(ReadWhenThere(helper, kCurrentDirectory), "");
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
