// What the handlers need of the windows they run in. The Win32 runtime drives real windows; the
// scripted one in the tests replays events in an exact order. Everything runs on one GUI thread.
#pragma once

#include <functional>
#include <vector>

#include "base/text.h"

// Sizes and positions are in design units, pixels at 96 DPI (platform/dpi.h): a runtime on a
// monitor of another DPI scales them.

// The program's two windows. Each holds one report-style list view, `超级列表框1`, with the
// columns "进程名称" (100) and "所在路径" (300).
enum class WindowId { kMain, kAlert };

// The controls of both windows, by their design names.
enum class Control {
  kList,         // 超级列表框1
  kButton1,      // 按钮1
  kButton2,      // 按钮2
  kTrustButton,  // 不提示的进程
  kCheckBox,     // 选择框1
  kLabel,        // 标签1
};
enum class ControlKind { kList, kButton, kCheckBox, kLabel };
enum class Timer { kTimer1, kTimer2, kTimer3 };  // 时钟1, 时钟2, 时钟3

using Handler = std::function<void()>;

struct ControlDesign {
  Control id;
  ControlKind kind;
  Text caption;
  int left, top, width, height;  // client coordinates
  Handler clicked;               // buttons and the check box
};

// A pop-up menu item; the caption "-" is a separator.
struct MenuItemDesign {
  Text caption;
  Handler selected;
};

struct WindowDesign {
  Text title;
  int width, height;  // frame included
  bool minimizeBox;
  bool taskbarButton;    // without one, the window is owned by a hidden window of the runtime
  bool shownWhenLoaded;  // shown after the created handler, centred on the primary screen
  std::vector<ControlDesign> controls;
  std::vector<MenuItemDesign> menu;  // the window's one hidden pop-up menu
  Handler created;                   // runs inside the load, before the window is shown
  Handler willBeDestroyed;
  Handler trayEvent;       // left up, left double click or right up on the window's tray icon
  Handler listRightClick;  // any right click in the list view
  std::vector<std::pair<Timer, Handler>> ticks;
};

class WindowRuntime {
 public:
  virtual ~WindowRuntime() = default;

  // Dispatches every message waiting in the thread's queue, timer ticks, clicks and queued
  // destroy requests included, and returns when the queue is empty. Any handler may run inside.
  virtual void ProcessPendingEvents() = 0;

  // Creates the window from its design and runs its created handler before returning, then shows
  // it if its design says so. An open window is only restored (minimised) or activated. A load
  // after a destroy request that has not been carried out carries it out first.
  virtual void LoadWindow(WindowId window) = 0;
  // Deferred: returns at once; the will-be-destroyed handler runs when the request is dispatched.
  virtual void DestroyWindow(WindowId window) = 0;

  // false hides; true shows the window in its current state (a minimised window stays so).
  virtual void SetShown(WindowId window, bool shown) = 0;
  // Above every window that is not always on top, without activating it.
  virtual void SetTopmost(WindowId window, bool topmost) = 0;
  // On the primary screen, each figure measured from the nearer edge of the screen: a window placed
  // by its distance from the right or bottom edge keeps that distance, scaled.
  virtual void MoveWindow(WindowId window, int left, int top) = 0;

  // 0 stops the timer. A value other than the current one restarts it; the current value again
  // changes nothing.
  virtual void SetTimerPeriod(WindowId window, Timer timer, int milliseconds) = 0;

  virtual Text Caption(WindowId window, Control control) = 0;
  virtual void SetCaption(WindowId window, Control control, const Text& caption) = 0;
  // Writing does not raise the clicked event; inside it, reading gives the new state.
  virtual bool Ticked(WindowId window, Control control) = 0;
  virtual void SetTicked(WindowId window, Control control, bool ticked) = 0;

  // The first call adds the program icon to the notification area; later ones replace the tip.
  virtual void SetTrayIcon(WindowId window, const Text& tip) = 0;
  // The menu's right edge 5 pixels left of the cursor, its top 5 pixels above it, the window
  // brought to the foreground first.
  virtual void PopUpTrayMenu(WindowId window) = 0;
  // The menu's top-left corner 3 pixels right of and below the cursor.
  virtual void PopUpMenu(WindowId window) = 0;

  // Task-modal, no owner; an empty title gives "信息：". The result is the Windows button code
  // minus 1: OK 0, Cancel 1, Yes 5, No 6.
  virtual int ShowMessageBox(const Text& text, int style, const Text& title = "") = 0;
  static constexpr int kOk = 0, kYes = 5, kNo = 6;
  static constexpr int kYesNo = 4, kErrorIcon = 16, kWarningIcon = 48;

  // Runs the teardown, then ends the process with the code.
  [[noreturn]] virtual void Exit(int code) = 0;

  // The flat look for the standard controls of every window, open or created later.
  virtual void SetVisualStyle(int variant) = 0;

  // Of the whole primary screen, in design units.
  virtual int ScreenWidth() = 0;
  virtual int ScreenHeight() = 0;

  // The window's list view.
  virtual void RemoveAllRows(WindowId window) = 0;
  // Inserts before the row at `position` (past the last row appends; negative appends) and
  // returns the new row's index.
  virtual int InsertRow(WindowId window, int position, const Text& caption) = 0;
  virtual void SetCellText(WindowId window, int row, int column, const Text& text) = 0;
  // A row that does not exist, such as -1, gives the empty text.
  virtual Text CellText(WindowId window, int row, int column) = 0;
  virtual int RowCount(WindowId window) = 0;
  virtual int Selection(WindowId window) = 0;  // -1 when no row is selected
  virtual void RefreshList(WindowId window) = 0;
};
