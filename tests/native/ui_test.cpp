// The handlers of both windows on the scripted runtime, with real files in a temporary directory.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "monitor/scan.h"
#include "monitor/trust_list.h"
#include "platform/files.h"
#include "support/fake_process_source.h"
#include "support/fake_shell.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"
#ifdef __linux__
#include "support/tmpfs_mount.h"
#endif
#include "ui/alert_window.h"
#include "ui/app.h"
#include "ui/autostart.h"
#include "ui/main_window.h"

namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Row = ScriptedRuntime::Row;
using Box = ScriptedRuntime::Box;

constexpr WindowId kMain = WindowId::kMain;
constexpr WindowId kAlert = WindowId::kAlert;

class UiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shell.folder = dir.path().string() + kPathSeparator;
    app = {&runtime, &shell, dir.path().string(), "xiudeng.exe", dir.File("marker.txt")};
    runtime.designs = {{kMain, MainWindowDesign()}, {kAlert, AlertWindowDesign()}};
    runtime.teardown = FreeGlobals;
    InitGlobals({&source, &runtime, TrustFilePath(app.runDirectory), RaiseAlertWindow});
  }
  void TearDown() override {
    if (runtime[kAlert].open) {
      runtime.DestroyWindow(kAlert);
      runtime.ProcessPendingEvents();
    }
    FreeGlobals();
    app = App();
  }

  void WriteFile(const Text& path, const std::string& content) {
    ASSERT_TRUE(WriteFileBytes(path, Bytes(content.begin(), content.end())));
  }
  std::string ReadFile(const Text& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }
  Text TrustPath() { return TrustFilePath(app.runDirectory); }

  // The main window loaded with monitoring on and a first scan of `names` behind it.
  void StartMonitoring(std::initializer_list<const char*> names) {
    for (const char* name : names) source.Start(name);
    runtime.LoadWindow(kMain);
    runtime.Click(kMain, Control::kButton1);
  }
  // A scan after `names` have started, each in a directory of its own name.
  void NextScanWith(std::initializer_list<const char*> names) {
    for (const char* name : names) source.Start(name, Text("C:\\") + name + "\\");
    runtime.Tick(kMain, Timer::kTimer1);
  }

  TempDir dir;
  FakeProcessSource source;
  ScriptedRuntime runtime;
  FakeShell shell;
};

// --- main window -------------------------------------------------------------------------------

struct MarkerCase {
  const char* label;
  std::optional<std::string> content;  // nullopt: no marker file
  bool autoStart;
  bool directory = false;  // a directory at the marker's path
};

void PrintTo(const MarkerCase& c, std::ostream* out) {
  *out << c.label;
}

class MarkerTest : public UiTest, public ::testing::WithParamInterface<MarkerCase> {};

TEST_P(MarkerTest, CreatedHandlerStartsMonitoringOnlyForExactlyOne) {
  const MarkerCase& c = GetParam();
  if (c.content) WriteFile(app.markerPath, *c.content);
  if (c.directory) fs::create_directory(NativePath(app.markerPath));
  source.Start("a.exe");
  runtime.LoadWindow(kMain);

  auto& main = runtime[kMain];
  EXPECT_TRUE(main.shown);
  EXPECT_EQ(ReadFile(TrustPath()), kTrustHeader) << "the trust file is made at every start";
  EXPECT_EQ(main.periods[Timer::kTimer2], 50000);
  EXPECT_EQ(main.ticked[Control::kCheckBox], c.autoStart);
  EXPECT_EQ(main.periods[Timer::kTimer3], c.autoStart ? 1500 : 0);
  EXPECT_EQ(main.periods[Timer::kTimer1], c.autoStart ? 5000 : 0);
  EXPECT_EQ(main.captions[Control::kButton1], c.autoStart ? "停止" : "启动");
  EXPECT_EQ(main.trayTip, c.autoStart ? std::optional<Text>("岫灯 > 启动中") : std::nullopt);
  EXPECT_EQ(source.snapshots, c.autoStart ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkerTest,
    ::testing::Values(MarkerCase{"Missing", std::nullopt, false}, MarkerCase{"One", "1", true},
                      MarkerCase{"OneAndLineBreak", "1\r\n", false}, MarkerCase{"Empty", "", false},
                      MarkerCase{"Eleven", "11", false},
                      MarkerCase{"OneThenZeroByte", std::string("1\0x", 3), true},
                      MarkerCase{"Directory", std::nullopt, false, true}),
    [](const auto& info) { return info.param.label; });

TEST_F(UiTest, AnExistingTrustFileIsLeftAsItIs) {
  WriteFile(TrustPath(), "mine");
  runtime.LoadWindow(kMain);
  EXPECT_EQ(ReadFile(TrustPath()), "mine");
}

TEST_F(UiTest, ToggleSwitchesMonitoringOnAndOffAgain) {
  source.Start("a.exe", "C:\\a\\");
  runtime.LoadWindow(kMain);
  std::optional<Text> tipDuringScan = "unset";
  source.beforeRead = [&](std::uint32_t) { tipDuringScan = runtime[kMain].trayTip; };

  runtime.Click(kMain, Control::kButton1);
  auto& main = runtime[kMain];
  EXPECT_EQ(tipDuringScan, std::nullopt) << "the icon is added after the first scan";
  EXPECT_EQ(main.captions[Control::kButton1], "停止");
  EXPECT_EQ(main.periods[Timer::kTimer1], 5000);
  EXPECT_EQ(main.trayTip, "岫灯 > 启动中");
  EXPECT_THAT(main.rows, ElementsAre(Row{"a.exe", "C:\\a\\"}));

  runtime.Click(kMain, Control::kButton1);
  EXPECT_EQ(main.captions[Control::kButton1], "启动");
  EXPECT_EQ(main.periods[Timer::kTimer1], 0);
  EXPECT_EQ(main.trayTip, "岫灯 > 未启动");
  EXPECT_EQ(main.rows.size(), 1u) << "the list keeps the last scan's rows";
  EXPECT_EQ(source.snapshots, 1);
}

TEST_F(UiTest, HidingShowingAndTheTrayMenu) {
  runtime.LoadWindow(kMain);
  runtime.Click(kMain, Control::kButton2);
  EXPECT_FALSE(runtime[kMain].shown);
  runtime.designs.at(kMain).trayEvent();
  EXPECT_EQ(runtime.trayMenus[kMain], 1);
  runtime.Choose(kMain, "显示界面");
  EXPECT_TRUE(runtime[kMain].shown);

  runtime.Click(kMain, Control::kTrustButton);
  EXPECT_THAT(shell.opened, ElementsAre(TrustPath()));
}

TEST_F(UiTest, QuitAsksFirstAndExitsWithZeroOnYes) {
  runtime.LoadWindow(kMain);
  runtime.answers = {WindowRuntime::kNo};
  runtime.Choose(kMain, "退出");
  ASSERT_EQ(runtime.boxes.size(), 1u);
  EXPECT_EQ(runtime.boxes[0].text, "是否真的要关闭人家呢？？？");
  EXPECT_EQ(runtime.boxes[0].title, "询问");
  EXPECT_EQ(runtime.boxes[0].style, 4);

  scanState.shownNames = "x";
  runtime.answers = {WindowRuntime::kYes};
  try {
    runtime.Choose(kMain, "退出");
    FAIL() << "Yes must end the program";
  } catch (const ScriptedRuntime::Exited& exited) {
    EXPECT_EQ(exited.code, 0);
  }
  EXPECT_EQ(scanState.shownNames, "") << "the teardown ran";
}

TEST_F(UiTest, AutomaticStartHidesTheWindowOnceTimer3Fires) {
  WriteFile(app.markerPath, "1");
  runtime.LoadWindow(kMain);
  runtime.Tick(kMain, Timer::kTimer3);
  EXPECT_FALSE(runtime[kMain].shown);
  EXPECT_EQ(runtime[kMain].periods[Timer::kTimer3], 0);
  EXPECT_EQ(runtime[kMain].periods[Timer::kTimer1], 5000) << "monitoring stays on";
}

TEST_F(UiTest, AutomaticStartHidesTheWindowEvenWhenTheFirstScanIsSlow) {
  WriteFile(app.markerPath, "1");
  source.Start("a.exe");
  // The first scan outlasts 1500 ms: the tick comes while the created handler still runs.
  runtime.events.push_back([this] { runtime.Tick(kMain, Timer::kTimer3); });
  runtime.LoadWindow(kMain);
  EXPECT_TRUE(runtime[kMain].shown) << "the load shows the window after the created handler";
  runtime.Tick(kMain, Timer::kTimer3);
  EXPECT_FALSE(runtime[kMain].shown);
  EXPECT_EQ(runtime[kMain].periods[Timer::kTimer3], 0);
}

// --- alert window ------------------------------------------------------------------------------

TEST_F(UiTest, AlertListsANewScansNamesAtTheBottomRightOnTop) {
  StartMonitoring({"x.exe"});
  NextScanWith({"A", "B", "C"});

  auto& alert = runtime[kAlert];
  ASSERT_TRUE(alert.open);
  EXPECT_THAT(alert.rows,
              ElementsAre(Row{"A", "C:\\A\\"}, Row{"C", "C:\\C\\"}, Row{"B", "C:\\B\\"}));
  EXPECT_EQ(scanState.shownNames, "A\r\nB\r\nC\r\n");
  EXPECT_EQ(alert.left, 1024 - 261);
  EXPECT_EQ(alert.top, 768 - 240);
  EXPECT_TRUE(alert.topmost);
  EXPECT_TRUE(alert.shown);
  EXPECT_EQ(alert.periods[Timer::kTimer2], 3000);
  EXPECT_EQ(runtime.visualStyle, 2);
  EXPECT_FALSE(scanState.alertPending);
  EXPECT_THAT(scanState.pendingNames, IsEmpty());
}

TEST_F(UiTest, RefreshTickMergesOnlyNamesThatOccurNowhereInShownNames) {
  StartMonitoring({"x.exe"});
  NextScanWith({"svchost.exe"});
  // A tick dispatched inside a later scan sees that scan's entries.
  scanState.pendingNames = {"host.exe", "new.exe"};
  scanState.pendingDirs = {"C:\\h\\", "C:\\n\\"};
  scanState.alertPending = true;
  runtime[kAlert].topmost = false;
  runtime.Tick(kAlert, Timer::kTimer2);

  EXPECT_TRUE(runtime[kAlert].topmost);
  EXPECT_THAT(runtime[kAlert].rows,
              ElementsAre(Row{"svchost.exe", "C:\\svchost.exe\\"}, Row{"new.exe", "C:\\n\\"}));
  EXPECT_FALSE(scanState.alertPending);
  scanState.pendingNames.clear();
  scanState.pendingDirs.clear();
}

TEST_F(UiTest, NamesFoundWhileTheAlertIsOpenReachItOnce) {
  StartMonitoring({"x.exe"});
  NextScanWith({"svchost.exe"});
  // svchost.exe ends, so host.exe is new to the scan; it is still listed, but host.exe is not.
  std::erase_if(source.processes, [](const auto& p) { return p.name == "svchost.exe"; });
  runtime.Tick(kMain, Timer::kTimer1);
  NextScanWith({"host.exe", "b.exe", "b.exe"});

  EXPECT_EQ(runtime.creations[kAlert], 1);
  EXPECT_EQ(runtime.activations[kAlert], 1);
  EXPECT_THAT(runtime[kAlert].rows,
              ElementsAre(Row{"svchost.exe", "C:\\svchost.exe\\"}, Row{"b.exe", "C:\\b.exe\\"},
                          Row{"host.exe", "C:\\host.exe\\"}))
      << "the second b.exe is not listed twice";
  EXPECT_EQ(scanState.shownNames, "svchost.exe\r\nhost.exe\r\nb.exe\r\n");
  EXPECT_FALSE(scanState.alertPending);

  runtime.Tick(kAlert, Timer::kTimer2);
  EXPECT_EQ(runtime[kAlert].rows.size(), 3u);
}

TEST_F(UiTest, OkClosesTheAlertAndTheNextScanOpensAFreshOne) {
  StartMonitoring({"x.exe"});
  NextScanWith({"a.exe"});
  runtime.Click(kAlert, Control::kButton1);
  EXPECT_EQ(scanState.shownNames, "");
  EXPECT_EQ(runtime[kAlert].periods[Timer::kTimer2], 0);
  runtime.ProcessPendingEvents();
  EXPECT_FALSE(runtime[kAlert].open);

  NextScanWith({"b.exe"});
  EXPECT_EQ(runtime.creations[kAlert], 2);
  EXPECT_THAT(runtime[kAlert].rows, ElementsAre(Row{"b.exe", "C:\\b.exe\\"}));
}

TEST_F(UiTest, EndAllSaysWhichProcessesCouldNotBeEnded) {
  StartMonitoring({"x.exe"});
  NextScanWith({"a.exe", "b.exe", "a.exe"});
  runtime.Click(kAlert, Control::kButton2);
  EXPECT_THAT(shell.ended, ElementsAre("a.exe", "a.exe", "b.exe")) << "one per row, top down";
  EXPECT_THAT(runtime.boxes, ElementsAre(::testing::Field(&Box::text, "已经全部终止新进程")));
  EXPECT_EQ(runtime.boxes[0].title, "信息：");
  runtime.ProcessPendingEvents();
  EXPECT_FALSE(runtime[kAlert].open);

  NextScanWith({"c.exe", "d.exe"});
  shell.unendable = {"d.exe"};
  runtime.Click(kAlert, Control::kButton2);
  ASSERT_EQ(runtime.boxes.size(), 2u);
  EXPECT_EQ(runtime.boxes[1].text, "未能终止以下进程：\r\nd.exe");
}

TEST_F(UiTest, MenuItemsWithNoRowSelected) {
  StartMonitoring({"x.exe"});
  NextScanWith({"a.exe"});
  EnsureTrustFile(TrustPath());
  runtime.designs.at(kAlert).listRightClick();
  EXPECT_EQ(runtime.menus[kAlert], 1);

  runtime.Choose(kAlert, "定位文件");
  runtime.Choose(kAlert, "终止此进程");
  runtime.Choose(kAlert, "信任此进程");
  EXPECT_THAT(shell.located, IsEmpty());
  EXPECT_THAT(shell.ended, ElementsAre(""));
  EXPECT_EQ(ReadFile(TrustPath()), std::string(kTrustHeader) + "\r\n");
  EXPECT_THAT(runtime.boxes, IsEmpty());
}

TEST_F(UiTest, MenuItemsActOnTheSelectedRow) {
  const Text directory = dir.path().string() + kPathSeparator;
  WriteFile(directory + "a.exe", "");
  StartMonitoring({"x.exe"});
  source.Start("a.exe", directory);
  source.Start("b.exe", dir.path().string());  // no trailing separator: joins to "...b.exe"
  runtime.Tick(kMain, Timer::kTimer1);

  runtime[kAlert].selection = 0;
  runtime.Choose(kAlert, "定位文件");
  runtime.Choose(kAlert, "终止此进程");
  runtime.Choose(kAlert, "信任此进程");
  EXPECT_THAT(shell.located, ElementsAre(directory + "a.exe"));
  EXPECT_THAT(shell.ended, ElementsAre("a.exe"));
  EXPECT_EQ(ReadFile(TrustPath()), std::string(kTrustHeader) + "\r\na.exe");
  EXPECT_EQ(runtime[kAlert].rows.size(), 2u) << "rows stay";

  runtime[kAlert].selection = 1;
  runtime.Choose(kAlert, "定位文件");
  EXPECT_EQ(shell.located.size(), 1u);

  // Trusted now: a.exe ends and starts again, and is not reported.
  std::erase_if(source.processes, [](const auto& p) { return p.name == "a.exe"; });
  runtime.Tick(kMain, Timer::kTimer1);
  source.Start("a.exe", directory);
  const Text shown = scanState.shownNames;
  runtime.Tick(kMain, Timer::kTimer1);
  EXPECT_EQ(scanState.shownNames, shown);
  EXPECT_EQ(runtime.activations[kAlert], 0);
}

TEST_F(UiTest, TrustingFailsVisiblyWhenTheFileCannotBeWritten) {
  fs::create_directory(NativePath(TrustPath()));
  StartMonitoring({"x.exe"});
  NextScanWith({"a.exe"});
  runtime[kAlert].selection = 0;
  runtime.Choose(kAlert, "信任此进程");
  EXPECT_THAT(runtime.boxes, ElementsAre(::testing::Field(&Box::text, "信任失败。")));
}

#ifdef __linux__
// The run directory on a disk of its own that fills up or turns read-only while the program runs.
class TrustDiskTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (!disk.mounted()) GTEST_SKIP() << "mounting a tmpfs needs root";
    app.runDirectory = disk.path().string();
    FreeGlobals();
    InitGlobals({&source, &runtime, TrustPath(), RaiseAlertWindow});
  }

  // A list of about 20 KB, more than a full disk has left.
  static std::string UsersList() {
    std::string list = kTrustHeader;
    for (int i = 0; i < 1500; ++i) list += "\r\nname" + std::to_string(i) + ".exe";
    return list;
  }

  // a.exe is new, its row selected in the alert, and trusted.
  void TrustNewProcess() {
    StartMonitoring({"x.exe"});
    NextScanWith({"a.exe"});
    ASSERT_EQ(runtime[kAlert].rows.size(), 1u);
    runtime[kAlert].selection = 0;
    runtime.Choose(kAlert, "信任此进程");
  }

  TmpfsMount disk{dir.path() / "disk", 64 << 10};
};

TEST_F(TrustDiskTest, AWriteThatFillsTheDiskPartWayFailsVisiblyAndKeepsTheList) {
  const std::string list = UsersList();
  WriteFile(TrustPath(), list);
  disk.Fill(8192);
  TrustNewProcess();
  EXPECT_THAT(runtime.boxes, ElementsAre(::testing::Field(&Box::text, "信任失败。")));
  EXPECT_TRUE(ReadFile(TrustPath()) == list);
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), {}), 2) << "no temporary stays";
}

TEST_F(TrustDiskTest, AReadOnlyRunDirectoryFailsVisiblyAndKeepsTheList) {
  const std::string list = UsersList();
  WriteFile(TrustPath(), list);
  ASSERT_TRUE(disk.MakeReadOnly());
  TrustNewProcess();
  EXPECT_THAT(runtime.boxes, ElementsAre(::testing::Field(&Box::text, "信任失败。")));
  EXPECT_TRUE(ReadFile(TrustPath()) == list);
}

TEST_F(TrustDiskTest, AReadOnlyRunDirectoryWithoutAListStillMonitors) {
  ASSERT_TRUE(disk.MakeReadOnly());
  TrustNewProcess();
  EXPECT_FALSE(PathExists(TrustPath())) << "the header could not be written, silently";
  EXPECT_EQ(runtime[kMain].captions[Control::kButton1], "停止");
  EXPECT_THAT(runtime.boxes, ElementsAre(::testing::Field(&Box::text, "信任失败。")));
}
#endif

// --- start with Windows ------------------------------------------------------------------------

TEST_F(UiTest, TickingPlacesShortcutAndMarkerUntickingRemovesBoth) {
  runtime.LoadWindow(kMain);
  const Text link = shell.folder + kShortcutName;
  runtime.Click(kMain, Control::kCheckBox);
  ASSERT_EQ(shell.shortcuts.size(), 1u);
  EXPECT_EQ(shell.shortcuts[0].link, link);
  EXPECT_EQ(shell.shortcuts[0].target, app.runDirectory + kPathSeparator + "xiudeng.exe");
  EXPECT_EQ(shell.shortcuts[0].description, "新岫灯");
  EXPECT_EQ(ReadFile(app.markerPath), "1");
  EXPECT_TRUE(PathExists(link));

  runtime.Click(kMain, Control::kCheckBox);
  EXPECT_FALSE(PathExists(link));
  EXPECT_FALSE(PathExists(app.markerPath));
  runtime.Click(kMain, Control::kCheckBox);
  EXPECT_EQ(ReadFile(app.markerPath), "1") << "ticking again writes it anew";
}

TEST_F(UiTest, AFailedShortcutIsReportedAndWritesNoMarker) {
  runtime.LoadWindow(kMain);
  shell.shortcutsFail = true;
  runtime.Click(kMain, Control::kCheckBox);
  ASSERT_EQ(runtime.boxes.size(), 1u);
  EXPECT_EQ(runtime.boxes[0].text, "创建快捷方式到启动目录失败!");
  EXPECT_EQ(runtime.boxes[0].title, "失败");
  EXPECT_EQ(runtime.boxes[0].style, 16);
  EXPECT_FALSE(PathExists(app.markerPath));
  EXPECT_TRUE(runtime[kMain].ticked[Control::kCheckBox]);
}

}  // namespace
