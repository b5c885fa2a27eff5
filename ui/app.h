// What the window handlers work with, set once by program start (and by the tests).
#pragma once

#include "base/text.h"
#include "platform/shell.h"
#include "platform/window_runtime.h"

struct App {
  WindowRuntime* runtime = nullptr;
  Shell* shell = nullptr;
  Text runDirectory;    // holds the trust list
  Text executableName;  // the target of the Startup shortcut, with the run directory
  Text markerPath;      // the auto-start marker
};

extern App app;

// The marker's fixed place, independent of the user and of the run directory.
inline constexpr char kMarkerPath[] = "c:\\岫灯配置.txt";
