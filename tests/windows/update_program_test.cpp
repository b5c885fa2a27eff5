// The update check of the real program, built with its endpoints on this machine
// (xiudeng_update_probe.exe): the test serves the profile page itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/cp936_win32.h"
#include "support/temp_dir.h"
#include "windows/child_process.h"
#include "windows/driver.h"
#include "windows/http_test_server.h"

namespace {

namespace fs = std::filesystem;

constexpr int kProfilePort = 47831;  // as the test build's profile URL says

struct UpdateCase {
  const char* label;
  const char* page;  // null: no server
  bool asks;
};

void PrintTo(const UpdateCase& c, std::ostream* out) {
  *out << c.label;
}

class UpdateProgramTest : public ::testing::TestWithParam<UpdateCase> {};

TEST_P(UpdateProgramTest, AsksAndEndsOnlyWhenThePageLacksTheWord) {
  const UpdateCase& c = GetParam();
  std::unique_ptr<HttpTestServer> server;
  if (c.page) {
    server = std::make_unique<HttpTestServer>(
        std::vector<std::string>{HttpResponse("HTTP/1.1 200 OK", "", c.page)}, kProfilePort);
    ASSERT_EQ(server->port(), kProfilePort);
  }
  TempDir dir;
  fs::copy_file(BuildDirectory() / L"xiudeng_update_probe.exe", dir.path() / L"xiudeng.exe");
  ChildProcess program(dir.path() / L"xiudeng.exe", dir.path());
  ASSERT_NE(driver::WaitForTopWindow(program.id(), Wide("新岫灯v1.0")), nullptr);

  HWND box = driver::WaitForTopWindow(program.id(), Wide("信息："), L"#32770", 6000);
  if (server) {
    ASSERT_EQ(server->Requests().size(), 1u);
    EXPECT_EQ(
        server->Requests()[0].rfind("GET /fcg-bin/cgi_get_portrait.fcg?uins=1 HTTP/1.1\r\n", 0),
        0u);
  }
  if (!c.asks) {
    EXPECT_EQ(box, nullptr);
    EXPECT_TRUE(program.Running());
    return;
  }
  ASSERT_NE(box, nullptr);
  EXPECT_NE(driver::Child(box, L"Static", Wide("请下载最新版本,")), nullptr);
  driver::Click(driver::Child(box, L"Button"));
  ASSERT_TRUE(program.Ended());
  EXPECT_EQ(program.ExitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Cases, UpdateProgramTest,
                         ::testing::Values(UpdateCase{"WordPresent", "<p>Zilt</p>", false},
                                           UpdateCase{"WordMissing", "<p>none</p>", true},
                                           UpdateCase{"ServerDown", nullptr, false}),
                         [](const auto& info) { return info.param.label; });

}  // namespace
