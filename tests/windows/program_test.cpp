// The real xiudeng.exe, started in a run directory of its own and driven through its windows.
#include <windows.h>
#include <shlobj.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "monitor/trust_list.h"
#include "platform/cp936_win32.h"
#include "support/temp_dir.h"
#include "windows/child_process.h"
#include "windows/driver.h"

namespace {

namespace fs = std::filesystem;
using driver::ListRow;
using ::testing::Contains;
using ::testing::Not;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

fs::path StartupLink() {
  wchar_t folder[MAX_PATH] = {};
  SHGetSpecialFolderPathW(nullptr, folder, CSIDL_STARTUP, FALSE);
  return fs::path(folder) / Wide("岫灯软件.lnk");
}

const fs::path kMarker = Wide("c:\\岫灯配置.txt");

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(BuildDirectory().parent_path() / L"xiudeng.exe", runDir / L"xiudeng.exe");
    std::error_code ignored;
    fs::remove(kMarker, ignored);
    fs::remove(StartupLink(), ignored);
  }
  void TearDown() override {
    program.reset();
    std::error_code ignored;
    fs::remove(kMarker, ignored);
    fs::remove(StartupLink(), ignored);
  }

  HWND Start() {
    program = std::make_unique<ChildProcess>(runDir / L"xiudeng.exe", runDir);
    return driver::WaitForTopWindow(program->id(), Wide("新岫灯v1.0"));
  }
  fs::path Directory(const std::string& name) {
    const fs::path path = runDir / Wide(name);
    fs::create_directories(path);
    return path;
  }
  std::wstring WithBackslash(const fs::path& directory) { return directory.wstring() + L"\\"; }

  TempDir dir;
  const fs::path runDir = dir.path();
  const fs::path trustFile = runDir / Wide("岫灯_不通知的进程.txt");
  const fs::path helper = HelperPath();
  std::unique_ptr<ChildProcess> program;
};

TEST_F(ProgramTest, MonitorsAlertsTrustsAndEnds) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(ReadAll(trustFile), kTrustHeader);

  HWND list = driver::Child(main, L"SysListView32");
  driver::Click(driver::Child(main, L"Button", Wide("启动")));
  ASSERT_TRUE(driver::WaitFor([&] { return driver::Child(main, L"Button", Wide("停止")); }));
  ASSERT_TRUE(driver::WaitFor([&] {
    const auto rows = driver::ReadList(list);
    return std::find(rows.begin(), rows.end(), ListRow{L"xiudeng.exe", WithBackslash(runDir)}) !=
           rows.end();
  }));

  // A program started from a directory with Chinese characters raises the alert.
  const fs::path helperDir = Directory("新 进程");
  auto started = std::make_unique<ChildProcess>(helper, helperDir);
  HWND alert = driver::WaitForTopWindow(program->id(), Wide("发现新进程"), L"", 12000);
  ASSERT_NE(alert, nullptr);
  HWND alertList = driver::Child(alert, L"SysListView32");
  EXPECT_THAT(driver::ReadList(alertList),
              Contains(ListRow{L"test_helper.exe", WithBackslash(helperDir)}));
  EXPECT_TRUE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST);

  // Trust it from the row's menu: the last item.
  driver::MouseClick(driver::RowCentre(alertList, 0));
  driver::MouseClick(driver::RowCentre(alertList, 0), true);
  Sleep(300);
  driver::Key(VK_UP);
  driver::Key(VK_RETURN);
  ASSERT_TRUE(driver::WaitFor(
      [&] { return ReadAll(trustFile) == std::string(kTrustHeader) + "\r\ntest_helper.exe"; }));

  // Trusted: ended, absent from a scan, started again, and not reported.
  started->End();
  Sleep(6000);
  started = std::make_unique<ChildProcess>(helper, helperDir);
  const fs::path other = runDir / L"other_probe.exe";
  fs::copy_file(helper, other);
  ChildProcess probe(other, runDir);
  ASSERT_TRUE(driver::WaitFor(
      [&] {
        const auto rows = driver::ReadList(alertList);
        return std::find(rows.begin(), rows.end(),
                         ListRow{L"other_probe.exe", WithBackslash(runDir)}) != rows.end();
      },
      12000))
      << "found while the alert is open, it reaches the open window";
  const auto rows = driver::ReadList(alertList);
  EXPECT_EQ(
      std::count(rows.begin(), rows.end(), ListRow{L"test_helper.exe", WithBackslash(helperDir)}),
      1);

  // End the probe from its row's menu: the second item.
  const int probeRow = static_cast<int>(
      std::find(rows.begin(), rows.end(), ListRow{L"other_probe.exe", WithBackslash(runDir)}) -
      rows.begin());
  driver::MouseClick(driver::RowCentre(alertList, probeRow));
  driver::MouseClick(driver::RowCentre(alertList, probeRow), true);
  Sleep(300);
  driver::Key(VK_DOWN);
  driver::Key(VK_DOWN);
  driver::Key(VK_RETURN);
  EXPECT_TRUE(driver::WaitFor([&] { return !probe.Running(); }));

  // Closing the main window leaves the program running for the open alert; "OK" then ends it.
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(driver::WaitFor([&] { return !IsWindow(main); }));
  Sleep(500);
  EXPECT_TRUE(program->Running());
  driver::Click(driver::Child(alert, L"Button", L"OK"));
  ASSERT_TRUE(driver::WaitFor([&] { return !program->Running(); }));
  EXPECT_EQ(program->ExitCode(), 0u);
}

TEST_F(ProgramTest, StartsWithWindowsAndQuitsWithCodeZero) {
  HWND main = Start();
  ASSERT_NE(main, nullptr);
  driver::Click(driver::Child(main, L"Button", Wide("开机自动运行")));
  ASSERT_TRUE(driver::WaitFor([&] { return fs::exists(kMarker); }));
  EXPECT_EQ(ReadAll(kMarker), "1");
  EXPECT_TRUE(fs::exists(StartupLink()));

  // Started again with the marker set: monitoring on, and the window hidden after 1.5 s.
  program.reset();
  main = Start();
  ASSERT_NE(main, nullptr);
  EXPECT_NE(driver::Child(main, L"Button", Wide("停止")), nullptr);
  EXPECT_TRUE(driver::WaitFor([&] { return !IsWindowVisible(main); }, 5000));
  EXPECT_EQ(SendMessageW(driver::Child(main, L"Button", Wide("开机自动运行")), BM_GETCHECK, 0, 0),
            BST_CHECKED);

  // Unticked: neither the link nor the marker remains.
  driver::Click(driver::Child(main, L"Button", Wide("开机自动运行")));
  ASSERT_TRUE(driver::WaitFor([&] { return !fs::exists(kMarker); }));
  EXPECT_FALSE(fs::exists(StartupLink()));

  // "退出" from the tray icon's menu (its last item), confirmed with Yes, ends with code 0.
  HWND tray = nullptr;
  ASSERT_TRUE(driver::WaitFor([&] { return (tray = FindWindowW(nullptr, L"Wine System Tray")); }));
  POINT icon{GetSystemMetrics(SM_CXSMICON) / 2 + 2, GetSystemMetrics(SM_CYSMICON) / 2 + 2};
  ClientToScreen(tray, &icon);
  driver::MouseClick(icon, true);
  Sleep(300);
  driver::Key(VK_UP);
  driver::Key(VK_RETURN);
  HWND question = driver::WaitForTopWindow(program->id(), Wide("询问"), L"#32770");
  ASSERT_NE(question, nullptr);
  driver::Click(GetDlgItem(question, IDYES));
  ASSERT_TRUE(driver::WaitFor([&] { return !program->Running(); }));
  EXPECT_EQ(program->ExitCode(), 0u);
}

}  // namespace
