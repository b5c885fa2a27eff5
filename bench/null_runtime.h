// A window runtime that does nothing: a scan driven through it costs only its own work.
#pragma once

#include <cstdlib>

#include "platform/window_runtime.h"

class NullRuntime final : public WindowRuntime {
 public:
  void ProcessPendingEvents() override {}
  void LoadWindow(WindowId) override {}
  void DestroyWindow(WindowId) override {}
  void SetShown(WindowId, bool) override {}
  void SetTopmost(WindowId, bool) override {}
  void MoveWindow(WindowId, int, int) override {}
  void SetTimerPeriod(WindowId, Timer, int) override {}
  Text Caption(WindowId, Control) override { return {}; }
  void SetCaption(WindowId, Control, const Text&) override {}
  bool Ticked(WindowId, Control) override { return false; }
  void SetTicked(WindowId, Control, bool) override {}
  void SetTrayIcon(WindowId, const Text&) override {}
  void PopUpTrayMenu(WindowId) override {}
  void PopUpMenu(WindowId) override {}
  int ShowMessageBox(const Text&, int, const Text&) override { return kOk; }
  [[noreturn]] void Exit(int code) override { std::exit(code); }
  void SetVisualStyle(int) override {}
  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }
  void RemoveAllRows(WindowId) override { rows_ = 0; }
  int InsertRow(WindowId, int, const Text&) override { return rows_++; }
  void SetCellText(WindowId, int, int, const Text&) override {}
  Text CellText(WindowId, int, int) override { return {}; }
  int RowCount(WindowId) override { return rows_; }
  int Selection(WindowId) override { return -1; }
  void RefreshList(WindowId) override {}

 private:
  int rows_ = 0;
};
