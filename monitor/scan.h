// One scan: a process snapshot, the main list rebuilt from it, and the names that are new since
// the previous scan and not trusted handed to the alert window through the scan state.
#pragma once

#include "base/text.h"
#include "monitor/process_source.h"
#include "platform/window_runtime.h"

struct ScanState {
  bool baselineTaken = false;  // a scan with at least one process has completed
  Text previousNames;          // "\r\n" before each name of the last completed scan
  TextArray pendingNames;      // new names of the running scan, waiting for the alert window
  TextArray pendingDirs;       // the current directory of each pending name, at the same index
  bool alertPending = false;   // set before the alert window is loaded, cleared by it
  Text shownNames;             // names listed in the alert window, each followed by "\r\n"
};

extern ScanState scanState;

// What a scan reads and fills.
struct ScanHost {
  ProcessSource* processes;
  WindowRuntime* runtime;  // the main window's list, and processing pending events
  Text trustFilePath;
  Handler showAlert;  // hands the pending entries to the alert window before they are emptied
};

// Once at program start, before any window exists; every global takes its start value.
void InitGlobals(const ScanHost& host);
// The teardown: releases every text and array of the scan state.
void FreeGlobals();

// Asked for by the scan timer and by switching monitoring on. A scan never starts inside a
// running scan or inside a walk over the pending arrays: one asked for meanwhile runs once, right
// after the last of them ends.
void ScanProcesses();

// Held by every walk over the pending arrays that may process pending events, so that no scan
// empties the arrays under it.
class ScanHold {
 public:
  ScanHold();
  ~ScanHold();
  ScanHold(const ScanHold&) = delete;
  ScanHold& operator=(const ScanHold&) = delete;
};
