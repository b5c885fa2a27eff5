#include "ui/alert_window.h"

#include "monitor/scan.h"
#include "monitor/trust_list.h"
#include "platform/files.h"
#include "ui/app.h"

namespace {

constexpr WindowId kAlert = WindowId::kAlert;

bool open = false;  // between the created and the will-be-destroyed handler

WindowRuntime& Ui() {
  return *app.runtime;
}

int AddRow(const Text& name, const Text& directory) {
  const int row = Ui().InsertRow(kAlert, 1, name);
  Ui().SetCellText(kAlert, row, 1, directory);
  return row;
}

void Created() {
  open = true;
  Ui().SetVisualStyle(2);
  Ui().SetTopmost(kAlert, true);
  scanState.alertPending = false;
  if (scanState.pendingNames.empty()) Ui().DestroyWindow(kAlert);
  Ui().RemoveAllRows(kAlert);
  ScanHold hold;  // the walk processes events: no scan may empty the arrays under it
  for (size_t i = 0; i < scanState.pendingNames.size(); ++i) {
    AddRow(scanState.pendingNames[i], scanState.pendingDirs[i]);
    scanState.shownNames.append(scanState.pendingNames[i]).append("\r\n");
    Ui().ProcessPendingEvents();
  }
  Ui().MoveWindow(kAlert, Ui().ScreenWidth() - 261, Ui().ScreenHeight() - 240);
  Ui().SetShown(kAlert, true);
  Ui().SetTimerPeriod(kAlert, Timer::kTimer2, 3000);
}

// Every 3000 ms: back on top, and pending entries merged while a scan hands them over.
void RefreshTick() {
  Ui().SetTopmost(kAlert, true);
  if (!scanState.alertPending) return;
  ScanHold hold;
  for (size_t i = 0; i < scanState.pendingNames.size(); ++i) {
    if (!OccursIn(scanState.pendingNames[i], scanState.shownNames)) {
      const int row = Ui().InsertRow(kAlert, 1, scanState.pendingNames[i]);
      Ui().ProcessPendingEvents();
      Ui().SetCellText(kAlert, row, 1, scanState.pendingDirs[i]);
    }
    Ui().ProcessPendingEvents();
  }
  scanState.alertPending = false;
  Ui().RefreshList(kAlert);
}

// A name is listed when it is one of the lines of `shownNames`, not merely part of one: a new
// host.exe must reach the window while svchost.exe is listed.
bool IsListed(const Text& name) {
  return OccursIn("\r\n" + name + "\r\n", "\r\n" + scanState.shownNames);
}

void MergePendingEntries() {
  for (size_t i = 0; i < scanState.pendingNames.size(); ++i) {
    const Text& name = scanState.pendingNames[i];
    if (IsListed(name)) continue;
    AddRow(name, scanState.pendingDirs[i]);
    scanState.shownNames.append(name).append("\r\n");
  }
  scanState.alertPending = false;
  Ui().RefreshList(kAlert);
}

void StopTimers() {
  Ui().SetTimerPeriod(kAlert, Timer::kTimer2, 0);
  Ui().SetTimerPeriod(kAlert, Timer::kTimer1, 0);
}

void WillBeDestroyed() {
  StopTimers();
  scanState.shownNames.clear();
  open = false;
}

void OkClicked() {
  scanState.shownNames.clear();
  StopTimers();
  Ui().DestroyWindow(kAlert);
}

// Reports what it could not end, rather than claiming success for every row.
void EndAllClicked() {
  Text failed;
  const int rows = Ui().RowCount(kAlert);
  for (int row = 0; row < rows; ++row) {
    const Text name = Ui().CellText(kAlert, row, 0);
    if (!app.shell->EndProcessByName(name)) failed.append("\r\n").append(name);
  }
  if (failed.empty()) {
    Ui().ShowMessageBox("已经全部终止新进程", 0);
  } else {
    Ui().ShowMessageBox("未能终止以下进程：" + failed, WindowRuntime::kWarningIcon);
  }
  Ui().DestroyWindow(kAlert);
}

Text SelectedCell(int column) {
  return Ui().CellText(kAlert, Ui().Selection(kAlert), column);
}

void LocateFileSelected() {
  // The directory keeps its trailing backslash, so the name follows it directly.
  const Text path = SelectedCell(1) + SelectedCell(0);
  if (!path.empty() && PathExists(path)) app.shell->LocateFile(path);
}

void EndProcessSelected() {
  app.shell->EndProcessByName(SelectedCell(0));
}

void TrustProcessSelected() {
  if (!AppendTrustedName(TrustFilePath(app.runDirectory), SelectedCell(0))) {
    Ui().ShowMessageBox("信任失败。", 0);
  }
}

}  // namespace

void RaiseAlertWindow() {
  if (open) MergePendingEntries();
  Ui().LoadWindow(kAlert);
}

WindowDesign AlertWindowDesign() {
  WindowDesign design;
  design.title = "发现新进程";
  design.width = 260;
  design.height = 218;
  design.minimizeBox = false;
  design.taskbarButton = true;
  design.shownWhenLoaded = false;
  design.controls = {
      {Control::kList, ControlKind::kList, "", 0, 1, 248, 143, nullptr},
      {Control::kButton2, ControlKind::kButton, "终止全部", 0, 147, 72, 24, EndAllClicked},
      {Control::kLabel, ControlKind::kLabel, "右键可信任/定位文件", 79, 152, 120, 16, nullptr},
      {Control::kButton1, ControlKind::kButton, "OK", 201, 146, 45, 25, OkClicked},
  };
  design.menu = {{"定位文件", LocateFileSelected},
                 {"-", nullptr},
                 {"终止此进程", EndProcessSelected},
                 {"-", nullptr},
                 {"信任此进程", TrustProcessSelected}};
  design.created = Created;
  design.willBeDestroyed = WillBeDestroyed;
  design.listRightClick = [] { Ui().PopUpMenu(kAlert); };
  design.ticks = {{Timer::kTimer2, RefreshTick}};
  return design;
}
