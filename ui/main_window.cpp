#include "ui/main_window.h"

#include "monitor/scan.h"
#include "monitor/trust_list.h"
#include "ui/app.h"
#include "ui/autostart.h"
#include "web/update_check.h"

namespace {

constexpr WindowId kMain = WindowId::kMain;
constexpr char kStart[] = "启动";
constexpr char kStop[] = "停止";

bool creating = false;  // the created handler is running

WindowRuntime& Ui() {
  return *app.runtime;
}

void Created() {
  creating = true;
  if (ReadAutoStartMarker(app.markerPath)) Ui().SetTicked(kMain, Control::kCheckBox, true);
  EnsureTrustFile(TrustFilePath(app.runDirectory));
  Ui().SetTimerPeriod(kMain, Timer::kTimer2, updateCheck.delayMs);
  if (Ui().Ticked(kMain, Control::kCheckBox)) {
    Ui().SetTimerPeriod(kMain, Timer::kTimer3, 1500);
    ToggleMonitoring();
  }
  creating = false;
}

// Hides the window 1.5 s after an automatic start. The load shows the window after the created
// handler, so a tick that a slow first scan dispatches inside that handler would be undone: it
// leaves the timer to fire again right after the window has been shown.
void Timer3Tick() {
  if (creating) {
    Ui().SetTimerPeriod(kMain, Timer::kTimer3, 1);
    return;
  }
  Ui().SetTimerPeriod(kMain, Timer::kTimer3, 0);
  HideMainWindow();
}

void OpenTrustFile() {
  app.shell->ShellOpen(TrustFilePath(app.runDirectory), "", 0);
}

void ShowMainWindow() {
  Ui().SetShown(kMain, true);
}

void Quit() {
  if (Ui().ShowMessageBox("是否真的要关闭人家呢？？？", WindowRuntime::kYesNo, "询问") ==
      WindowRuntime::kYes) {
    Ui().Exit(0);
  }
}

}  // namespace

void ToggleMonitoring() {
  if (Ui().Caption(kMain, Control::kButton1) == kStart) {
    Ui().SetTimerPeriod(kMain, Timer::kTimer1, 5000);
    Ui().SetCaption(kMain, Control::kButton1, kStop);
    ScanProcesses();
  } else {
    Ui().SetTimerPeriod(kMain, Timer::kTimer1, 0);
    Ui().SetCaption(kMain, Control::kButton1, kStart);
  }
  const bool on = Ui().Caption(kMain, Control::kButton1) == kStop;
  Ui().SetTrayIcon(kMain, on ? "岫灯 > 启动中" : "岫灯 > 未启动");
}

void HideMainWindow() {
  Ui().SetShown(kMain, false);
}

WindowDesign MainWindowDesign() {
  WindowDesign design;
  design.title = "新岫灯v1.0";
  design.width = 408;
  design.height = 297;
  design.minimizeBox = true;
  design.taskbarButton = false;
  design.shownWhenLoaded = true;
  design.controls = {
      {Control::kList, ControlKind::kList, "", 0, 0, 400, 248, nullptr},
      {Control::kButton2, ControlKind::kButton, "隐藏界面", 0, 248, 83, 24, HideMainWindow},
      {Control::kTrustButton, ControlKind::kButton, "信任名单", 88, 248, 64, 24, OpenTrustFile},
      {Control::kCheckBox, ControlKind::kCheckBox, "开机自动运行", 176, 249, 104, 24,
       AutoStartClicked},
      {Control::kButton1, ControlKind::kButton, kStart, 318, 248, 83, 24, ToggleMonitoring},
  };
  design.menu = {{"显示界面", ShowMainWindow}, {"-", nullptr}, {"退出", Quit}};
  design.created = Created;
  design.trayEvent = [] { Ui().PopUpTrayMenu(kMain); };
  design.ticks = {{Timer::kTimer1, ScanProcesses},
                  {Timer::kTimer2, CheckForUpdate},
                  {Timer::kTimer3, Timer3Tick}};
  return design;
}
