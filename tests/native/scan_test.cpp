#include "monitor/scan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "support/fake_process_source.h"
#include "support/scripted_runtime.h"
#include "support/temp_dir.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Row = ScriptedRuntime::Row;

const Text kHeader = "'将不想被通知的进程 写在下面(一行一个):\r\n";

class ScanTest : public ::testing::Test {
 protected:
  struct Alert {
    TextArray names, dirs;
  };

  void SetUp() override { InitGlobals(Host()); }
  // Stands in for the alert window: it takes what the scan hands over.
  ScanHost Host() {
    return {&source, &runtime, trustPath, [this] {
              alerts.push_back({scanState.pendingNames, scanState.pendingDirs});
              if (duringAlert) duringAlert();
            }};
  }
  void TearDown() override { FreeGlobals(); }

  void WriteTrust(const Text& content) { std::ofstream(trustPath, std::ios::binary) << content; }
  const std::vector<Row>& MainList() { return runtime[WindowId::kMain].rows; }

  TempDir dir;
  const Text trustPath = dir.File("trust.txt");
  FakeProcessSource source;
  ScriptedRuntime runtime;
  std::vector<Alert> alerts;
  std::function<void()> duringAlert;
};

TEST_F(ScanTest, FirstScanReportsNothingSecondReportsWhatStartedBetween) {
  source.Start("a.exe");
  source.Start("b.exe");
  ScanProcesses();
  EXPECT_THAT(alerts, IsEmpty());
  EXPECT_TRUE(scanState.baselineTaken);

  source.Start("new.exe", "C:\\新目录\\");
  ScanProcesses();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_THAT(alerts[0].names, ElementsAre("new.exe"));
  EXPECT_THAT(alerts[0].dirs, ElementsAre("C:\\新目录\\"));
  // The stand-in alert window does not clear the flag; the arrays are emptied after the hand-over.
  EXPECT_TRUE(scanState.alertPending);
  EXPECT_THAT(scanState.pendingNames, IsEmpty());
  EXPECT_THAT(scanState.pendingDirs, IsEmpty());

  ScanProcesses();
  EXPECT_EQ(alerts.size(), 1u) << "a process still running is not new again";
}

TEST_F(ScanTest, ListShowsTheFirstProcessOnTopAndTheRestInReverse) {
  source.Start("A", "C:\\a\\");
  source.Start("B", "C:\\b\\");
  source.Start("C", "C:\\c\\");
  ScanProcesses();
  EXPECT_THAT(MainList(),
              ElementsAre(Row{"A", "C:\\a\\"}, Row{"C", "C:\\c\\"}, Row{"B", "C:\\b\\"}));
  EXPECT_EQ(scanState.previousNames, "\r\nA\r\nB\r\nC");

  ScanProcesses();
  EXPECT_EQ(MainList().size(), 3u) << "every scan rebuilds the list from nothing";
}

struct TrustCase {
  const char* label;
  Text previous;                  // the one process of the first scan
  std::optional<Text> trustText;  // nullopt: no trust file
  Text started;                   // the process that starts before the second scan
  bool reported;
};

void PrintTo(const TrustCase& c, std::ostream* out) {
  *out << c.label;
}

class TrustRuleTest : public ScanTest, public ::testing::WithParamInterface<TrustCase> {};

TEST_P(TrustRuleTest, NewNameIsReportedUnlessItOccursInPreviousNamesOrTrustText) {
  const TrustCase& c = GetParam();
  if (c.trustText) WriteTrust(*c.trustText);
  source.Start(c.previous);
  ScanProcesses();
  source.Start(c.started);
  ScanProcesses();
  EXPECT_EQ(alerts.size(), c.reported ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrustRuleTest,
    ::testing::Values(
        TrustCase{"NoTrustFile", "a.exe", std::nullopt, "b.exe", true},
        TrustCase{"EmptyTrustFile", "a.exe", "", "b.exe", true},
        TrustCase{"PartOfAPreviousName", "svchost.exe", kHeader, "host.exe", false},
        TrustCase{"CaseDiffers", "notepad.exe", kHeader, "NOTEPAD.EXE", true},
        TrustCase{"TrustedLine", "a.exe", kHeader + "\r\nb.exe", "b.exe", false},
        TrustCase{"InsideALongerTrustLine", "a.exe", kHeader + "\r\nmy_b.exe.bak", "b.exe", false},
        TrustCase{"HeaderCounts", "a.exe", kHeader, "进程", false},
        TrustCase{"AfterAZeroByte", "a.exe", Text("\r\nx.exe\0\r\nb.exe", 14), "b.exe", true}),
    [](const auto& info) { return info.param.label; });

TEST_F(ScanTest, TwoNewProcessesOfOneNameGiveTwoEntries) {
  source.Start("a.exe");
  ScanProcesses();
  source.Start("twin.exe", "C:\\one\\");
  source.Start("twin.exe", "C:\\two\\");
  ScanProcesses();
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_THAT(alerts[0].names, ElementsAre("twin.exe", "twin.exe"));
  EXPECT_THAT(alerts[0].dirs, ElementsAre("C:\\one\\", "C:\\two\\"));
}

TEST_F(ScanTest, ProcessEndedBeforeItsDirectoryIsReadKeepsAnEmptyDirectory) {
  source.Start("a.exe");
  ScanProcesses();
  source.Start("brief.exe");
  source.beforeRead = [this](std::uint32_t) {
    std::erase_if(source.processes, [](const auto& p) { return p.name == "brief.exe"; });
  };
  ScanProcesses();
  EXPECT_THAT(MainList(), ElementsAre(Row{"a.exe", "C:\\Tools\\"}, Row{"brief.exe", ""}));
  ASSERT_EQ(alerts.size(), 1u);
  EXPECT_THAT(alerts[0].dirs, ElementsAre(""));
}

TEST_F(ScanTest, FailedSnapshotChangesNothing) {
  source.Start("a.exe", "C:\\a\\");
  ScanProcesses();
  source.snapshotFails = true;
  ScanProcesses();
  EXPECT_THAT(MainList(), ElementsAre(Row{"a.exe", "C:\\a\\"}));
  EXPECT_EQ(scanState.previousNames, "\r\na.exe");

  // Nor does it take the baseline.
  FreeGlobals();
  InitGlobals(Host());
  ScanProcesses();
  EXPECT_FALSE(scanState.baselineTaken);
}

TEST_F(ScanTest, TicksDuringAScanRunOnceRightAfterIt) {
  source.Start("A");
  source.Start("B");
  ScanProcesses();
  source.Start("C");
  // Two ticks wait in the queue when the first row's events are processed; D starts meanwhile.
  runtime.events.push_back([this] {
    source.Start("D");
    ScanProcesses();
    ScanProcesses();
    EXPECT_EQ(source.snapshots, 2) << "no scan starts inside a running one";
  });
  ScanProcesses();

  EXPECT_EQ(source.snapshots, 3) << "the two ticks were coalesced into one scan";
  ASSERT_EQ(alerts.size(), 2u);
  EXPECT_THAT(alerts[0].names, ElementsAre("C"));
  EXPECT_THAT(alerts[1].names, ElementsAre("D"));
  EXPECT_THAT(MainList(), ElementsAre(Row{"A", "C:\\Tools\\"}, Row{"D", "C:\\Tools\\"},
                                      Row{"C", "C:\\Tools\\"}, Row{"B", "C:\\Tools\\"}));
  EXPECT_EQ(scanState.previousNames, "\r\nA\r\nB\r\nC\r\nD");
}

TEST_F(ScanTest, ScanAskedForDuringAWalkOverPendingEntriesWaitsForTheWalk) {
  source.Start("a.exe");
  ScanProcesses();
  source.Start("b.exe");
  source.Start("c.exe");
  // The alert window walks the pending entries and processes events between them.
  duringAlert = [this] {
    ScanHold hold;
    for (size_t i = 0; i < scanState.pendingNames.size(); ++i) {
      runtime.events.push_back([] { ScanProcesses(); });
      runtime.ProcessPendingEvents();
      ASSERT_EQ(scanState.pendingNames.size(), 2u);
      ASSERT_EQ(scanState.pendingDirs.size(), 2u);
    }
  };
  ScanProcesses();
  EXPECT_EQ(source.snapshots, 3);

  // A walk outside any scan: the scan waits for the hold to end, then runs once.
  {
    ScanHold hold;
    ScanProcesses();
    ScanProcesses();
    EXPECT_EQ(source.snapshots, 3);
  }
  EXPECT_EQ(source.snapshots, 4);
}

}  // namespace
