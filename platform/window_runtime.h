// What the handlers need of the windows they run in. The Win32 runtime drives real windows; the
// scripted one in the tests replays events in an exact order.
#pragma once

#include "base/text.h"

// The program's two windows. Each holds one report-style list view, `超级列表框1`.
enum class WindowId { kMain, kAlert };

class WindowRuntime {
 public:
  virtual ~WindowRuntime() = default;

  // Dispatches every message waiting in the thread's queue, timer ticks and clicks included, and
  // returns when the queue is empty. Any handler may run inside this call.
  virtual void ProcessPendingEvents() = 0;

  // Creates the window and runs its created handler before returning; an open window is only
  // restored or activated.
  virtual void LoadWindow(WindowId window) = 0;

  virtual void RemoveAllRows(WindowId window) = 0;
  // Inserts before the row at `position` (past the last row appends; negative appends) and
  // returns the new row's index.
  virtual int InsertRow(WindowId window, int position, const Text& caption) = 0;
  virtual void SetCellText(WindowId window, int row, int column, const Text& text) = 0;
};
