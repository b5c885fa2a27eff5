// Program start: the scan state, the main window, and the message loop until the program ends.
#include <windows.h>

#include "monitor/process_source_win32.h"
#include "monitor/scan.h"
#include "monitor/trust_list.h"
#include "platform/files.h"
#include "platform/shell_win32.h"
#include "platform/window_runtime_win32.h"
#include "ui/alert_window.h"
#include "ui/app.h"
#include "ui/main_window.h"
#include "web/echo_probe_win32.h"
#include "web/fetch_url.h"
#include "web/update_check.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  Win32Shell shell;
  Win32ProcessSource processes;
  Win32WindowRuntime runtime(
      {{WindowId::kMain, MainWindowDesign()}, {WindowId::kAlert, AlertWindowDesign()}},
      FreeGlobals);
  app = {&runtime, &shell, RunDirectory(), ExecutableName(), kMarkerPath};
  // Settings of the build (CMakeLists.txt): a test build points them at loopback.
  updateCheck = {XIUDENG_UPDATE_DELAY_MS,
                 XIUDENG_PROFILE_URL,
                 XIUDENG_DOWNLOAD_PAGE_URL,
                 XIUDENG_PROBE_HOST,
                 [](const Text& url) { return FetchUrl(url); },
                 EchoRoundTrip};
  InitGlobals({&processes, &runtime, TrustFilePath(app.runDirectory), RaiseAlertWindow});
  runtime.LoadWindow(WindowId::kMain);
  return runtime.Run();
}
