#include "ui/autostart.h"

#include "platform/files.h"
#include "ui/app.h"

bool ReadAutoStartMarker(const Text& markerPath) {
  return TextFromBytes(ReadFileBytes(markerPath)) == "1";
}

void AutoStartClicked() {
  WindowRuntime& ui = *app.runtime;
  const Text link = app.shell->GetSpecialFolder(7) + kShortcutName;
  if (!ui.Ticked(WindowId::kMain, Control::kCheckBox)) {
    DeleteFileAt(link);
    DeleteFileAt(app.markerPath);
    return;
  }
  const Text target = app.runDirectory + kPathSeparator + app.executableName;
  if (app.shell->CreateShortcut(link, target, "新岫灯")) {
    WriteFileBytes(app.markerPath, BytesFromText("1"));
  } else {
    ui.ShowMessageBox("创建快捷方式到启动目录失败!", WindowRuntime::kErrorIcon, "失败");
  }
}
