// The window runtime on real Win32 windows. One window class serves both windows; a hidden
// top-level window of the runtime owns the windows that have no taskbar button. Each window is
// laid out for the DPI of its monitor, and again when it moves to a monitor of another DPI.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

#include "platform/dpi.h"
#include "platform/window_runtime.h"

class Win32WindowRuntime final : public WindowRuntime {
 public:
  // designs: the two windows; teardown: runs once at the orderly end (Exit, or the end of Run).
  Win32WindowRuntime(std::map<WindowId, WindowDesign> designs, Handler teardown);
  // Windows still open go without their handlers: this is no orderly end.
  ~Win32WindowRuntime() override;
  Win32WindowRuntime(const Win32WindowRuntime&) = delete;
  Win32WindowRuntime& operator=(const Win32WindowRuntime&) = delete;

  // The message loop: returns 0 once the last loaded window has been destroyed, after the
  // teardown.
  int Run();

  void ProcessPendingEvents() override;
  void LoadWindow(WindowId window) override;
  void DestroyWindow(WindowId window) override;
  void SetShown(WindowId window, bool shown) override;
  void SetTopmost(WindowId window, bool topmost) override;
  void MoveWindow(WindowId window, int left, int top) override;
  void SetTimerPeriod(WindowId window, Timer timer, int milliseconds) override;
  Text Caption(WindowId window, Control control) override;
  void SetCaption(WindowId window, Control control, const Text& caption) override;
  bool Ticked(WindowId window, Control control) override;
  void SetTicked(WindowId window, Control control, bool ticked) override;
  void SetTrayIcon(WindowId window, const Text& tip) override;
  void PopUpTrayMenu(WindowId window) override;
  void PopUpMenu(WindowId window) override;
  int ShowMessageBox(const Text& text, int style, const Text& title) override;
  [[noreturn]] void Exit(int code) override;
  void SetVisualStyle(int variant) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  void RemoveAllRows(WindowId window) override;
  int InsertRow(WindowId window, int position, const Text& caption) override;
  void SetCellText(WindowId window, int row, int column, const Text& text) override;
  Text CellText(WindowId window, int row, int column) override;
  int RowCount(WindowId window) override;
  int Selection(WindowId window) override;
  void RefreshList(WindowId window) override;

 private:
  enum class State { kOpen, kDestroyRequested, kDestroying };
  struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
  };
  using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
  struct OpenWindow {
    HWND handle = nullptr;
    int dpi = kDesignDpi;
    UniqueFont font{};  // the controls' font at a DPI other than the system's
    State state = State::kOpen;
    std::map<Timer, int> periods{};  // 0 or absent: stopped
    // Looked up here: under Wine, GetDlgItem asks the server for the window's children.
    std::map<Control, HWND> controls{};
    std::optional<std::wstring> trayTip{};  // present once the window has a tray icon
    bool changingRows = false;              // the list is not redrawn until a pause
    ULONGLONG lastRowChange = 0;            // GetTickCount64
  };

  static LRESULT CALLBACK WindowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
  // False when the message is left to the default window procedure.
  bool OnMessage(WindowId window, UINT message, WPARAM wParam, LPARAM lParam);

  void Create(WindowId window);
  // Places and sizes the controls, their font and the list's columns for the window's DPI.
  void LayOut(WindowId window);
  // Runs the will-be-destroyed handler, removes the tray icon and destroys the window.
  void CarryOutDestroy(WindowId window);
  void QuitWhenNoWindows();
  void PopUp(WindowId window, UINT alignment, int dx, int dy, bool fromTray);
  void NotifyTray(HWND handle, const std::wstring& tip, DWORD action);
  void RunTeardown();
  // The list's redraw during and after bursts of row changes; see ChangeRows.
  void ChangeRows(WindowId window);
  void EndRowChanges(WindowId window);
  void UpdateRedraw(WindowId window, bool visible);

  HWND Find(WindowId window) const;
  std::optional<WindowId> IdOf(HWND handle) const;
  HWND ControlHandle(WindowId window, Control control) const;

  const std::map<WindowId, WindowDesign> designs_;  // never changes: safe to read from anywhere
  Handler teardown_;
  std::map<WindowId, OpenWindow> windows_;
  const UINT taskbarCreated_;
  HICON trayIcon_ = nullptr;  // shared with the system, never destroyed
  HWND owner_ = nullptr;
};
