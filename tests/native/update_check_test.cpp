// The one update check on the scripted runtime, with a scripted page and echo reply.
#include "web/update_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/fake_shell.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"
#include "ui/app.h"
#include "ui/main_window.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr WindowId kMain = WindowId::kMain;
constexpr char kProfileUrl[] = "http://profile.test/fcg-bin/cgi_get_portrait.fcg?uins=1";
constexpr char kDownloadUrl[] = "http://download.test/";

class UpdateCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = {&runtime, &shell, dir.path().string(), "xiudeng.exe", dir.File("marker.txt")};
    runtime.designs = {{kMain, MainWindowDesign()}};
    updateCheck = {50000,
                   kProfileUrl,
                   kDownloadUrl,
                   "probe.test",
                   [this](const Text& url) {
                     steps.push_back("fetch " + url);
                     timerAtFetch = runtime[kMain].periods[Timer::kTimer2];
                     return page;
                   },
                   [this](const Text& host, int timeoutMs) {
                     steps.push_back("echo " + host + " " + std::to_string(timeoutMs));
                     return roundTrip;
                   }};
    runtime.LoadWindow(kMain);
  }
  void TearDown() override {
    updateCheck = UpdateCheckSetup();
    app = App();
  }

  // The tick of `时钟2`; the exit code when the check ends the program.
  std::optional<int> Tick() {
    try {
      runtime.Tick(kMain, Timer::kTimer2);
    } catch (const ScriptedRuntime::Exited& exited) {
      return exited.code;
    }
    return std::nullopt;
  }

  TempDir dir;
  ScriptedRuntime runtime;
  FakeShell shell;
  Bytes page;
  int roundTrip = 0;
  std::vector<Text> steps;
  int timerAtFetch = -1;
};

struct CheckCase {
  const char* label;
  std::string page;
  int roundTrip;
  bool probes, asks;
};

void PrintTo(const CheckCase& c, std::ostream* out) {
  *out << c.label;
}

class CheckCaseTest : public UpdateCheckTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(CheckCaseTest, AsksOnlyWhenAFetchedPageLacksTheWordAndTheProbeAnswers) {
  const CheckCase& c = GetParam();
  page.assign(c.page.begin(), c.page.end());
  roundTrip = c.roundTrip;
  EXPECT_EQ(runtime[kMain].periods[Timer::kTimer2], 50000);

  EXPECT_EQ(Tick(), c.asks ? std::optional<int>(0) : std::nullopt);
  EXPECT_EQ(timerAtFetch, 0) << "the timer stops before the fetch";
  if (c.asks) {
    ASSERT_EQ(runtime.boxes.size(), 1u);
    EXPECT_EQ(runtime.boxes[0].text, "请下载最新版本,");
    EXPECT_EQ(runtime.boxes[0].style, 0);
    EXPECT_EQ(runtime.boxes[0].title, "信息：");
    EXPECT_THAT(shell.opened, ElementsAre(kDownloadUrl));
  } else {
    EXPECT_THAT(runtime.boxes, IsEmpty());
    EXPECT_THAT(shell.opened, IsEmpty());
  }
  std::vector<Text> expected = {Text("fetch ") + kProfileUrl};
  if (c.probes) expected.push_back("echo probe.test 5000");
  EXPECT_EQ(steps, expected);

  if (!c.asks) {
    Tick();
    EXPECT_EQ(steps, expected) << "a second tick does nothing";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckCaseTest,
    ::testing::Values(CheckCase{"WordPresent", "<p>uins Zilt</p>", 12, false, false},
                      CheckCase{"WordMissing", "<p>uins</p>", 12, true, true},
                      CheckCase{"ReplyOfZeroMs", "<p>uins</p>", 0, true, true},
                      CheckCase{"Unreachable", "<p>uins</p>", -1, true, false},
                      CheckCase{"FetchFailed", "", 12, false, false},
                      CheckCase{"NothingBeforeAZeroByte", std::string("\0Zilt", 5), 12, false,
                                false},
                      CheckCase{"CapitalsOnly", "ZILT", 12, true, true},
                      CheckCase{"WordAfterAZeroByte", std::string("a\0Zilt", 6), 12, true, true},
                      // The Z is the trail byte of a two-byte character.
                      CheckCase{"WordInsideACharacter", "\x81Zilt", 12, true, true}),
    [](const auto& info) { return info.param.label; });

TEST_F(UpdateCheckTest, ProbesAfterThePendingEventsWithFiveSeconds) {
  page = BytesFromText("no word");
  roundTrip = -1;
  runtime.events.push_back([this] { steps.push_back("event"); });
  Tick();
  EXPECT_THAT(steps, ElementsAre(Text("fetch ") + kProfileUrl, "event", "echo probe.test 5000"));
}

TEST_F(UpdateCheckTest, ReachabilityWaitsTwoSecondsWithoutATimeout) {
  roundTrip = 3;
  EXPECT_TRUE(IsInternetReachable(700, false));
  EXPECT_TRUE(IsInternetReachable(700, true));
  EXPECT_THAT(steps, ElementsAre("echo probe.test 2000", "echo probe.test 700"));
}

}  // namespace
