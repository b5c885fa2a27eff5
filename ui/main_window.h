// The main window "新岫灯v1.0": the process list, monitoring on and off, the tray icon and its
// menu, quitting.
#pragma once

#include "platform/window_runtime.h"

WindowDesign MainWindowDesign();

// Switches monitoring on (a scan every 5000 ms, and one at once) or off; the caption of `按钮1`
// is the only record of which it is.
void ToggleMonitoring();
void HideMainWindow();
