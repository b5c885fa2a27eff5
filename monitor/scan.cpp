#include "monitor/scan.h"

#include "platform/files.h"

ScanState scanState;

namespace {

ScanHost host;
int holds = 0;               // running scans and walks over the pending arrays
bool scanRequested = false;  // a scan asked for while one of them ran

void ScanOnce() {
  TextArray names;
  ProcessIds identifiers;
  const int count = host.processes->EnumerateProcesses(names, identifiers);
  if (count == 0) return;

  const Text trustText = TextFromBytes(ReadFileBytes(host.trustFilePath));
  WindowRuntime& runtime = *host.runtime;
  runtime.RemoveAllRows(WindowId::kMain);
  for (int i = 0; i < count; ++i) {
    const Text& name = names[i];
    // At position 1: the first process heads the list, the others follow in reverse order.
    const int row = runtime.InsertRow(WindowId::kMain, 1, name);
    runtime.ProcessPendingEvents();
    const Text directory = host.processes->CurrentDirectory(identifiers[i]);
    runtime.SetCellText(WindowId::kMain, row, 1, directory);
    if (scanState.baselineTaken && !OccursIn(name, scanState.previousNames) &&
        !OccursIn(name, trustText)) {
      scanState.pendingNames.push_back(name);
      scanState.pendingDirs.push_back(directory);
    }
  }

  if (!scanState.pendingNames.empty()) {
    scanState.alertPending = true;
    host.showAlert();
  }
  scanState.previousNames.clear();
  for (const Text& name : names) scanState.previousNames.append("\r\n").append(name);
  scanState.pendingNames.clear();
  scanState.pendingDirs.clear();
  scanState.baselineTaken = true;
}

// Runs the scans asked for, one after another, once nothing holds the pending arrays. A loop,
// not recursion: a scan that is asked for again while it runs costs no stack.
void RunRequestedScans() {
  while (scanRequested && holds == 0) {
    scanRequested = false;
    ++holds;
    ScanOnce();
    --holds;
  }
}

}  // namespace

void InitGlobals(const ScanHost& scanHost) {
  host = scanHost;
  scanState = ScanState();
  holds = 0;
  scanRequested = false;
}

void FreeGlobals() {
  scanState = ScanState();
}

void ScanProcesses() {
  scanRequested = true;
  RunRequestedScans();
}

ScanHold::ScanHold() {
  ++holds;
}

ScanHold::~ScanHold() {
  if (--holds == 0) RunRequestedScans();
}
