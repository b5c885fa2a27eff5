// The Win32 window runtime on real windows (Wine with a display): small designs of the tests'
// own, driven through messages and synthesised input.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/cp936_win32.h"
#include "platform/dpi.h"
#include "platform/window_runtime_win32.h"

namespace {

constexpr int kWidth = 360, kHeight = 260;
constexpr WindowId kMain = WindowId::kMain;

// Every kind of control; a taskbar button and a minimise box. Hidden unless a test needs it
// shown: without a window manager, Wine waits 2 s for every shown window that is hidden or
// destroyed.
WindowDesign Design(const Text& title, bool shownWhenLoaded = false) {
  WindowDesign design{};
  design.title = title;
  design.width = kWidth;
  design.height = kHeight;
  design.minimizeBox = true;
  design.taskbarButton = true;
  design.shownWhenLoaded = shownWhenLoaded;
  design.controls = {
      {Control::kList, ControlKind::kList, "", 8, 8, 330, 130, nullptr},
      {Control::kCheckBox, ControlKind::kCheckBox, "选择框", 8, 146, 120, 20, nullptr},
      {Control::kButton1, ControlKind::kButton, "按钮", 136, 146, 80, 24, nullptr},
      {Control::kLabel, ControlKind::kLabel, "标签", 8, 178, 200, 20, nullptr},
  };
  return design;
}

HWND Window(const Text& title) {
  return FindWindowW(nullptr, Wide(title).c_str());
}

HWND Child(HWND parent, const wchar_t* className) {
  return FindWindowExW(parent, nullptr, className, nullptr);
}

bool QuitPending() {
  MSG message;
  return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != 0;
}

// Dispatches events for a while, running `each` before every round.
void ProcessFor(WindowRuntime& runtime, int milliseconds, const std::function<void()>& each = {}) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    if (each) each();
    runtime.ProcessPendingEvents();
    Sleep(10);
  }
}

void ClickAt(POINT point, DWORD down, DWORD up, int times = 1) {
  SetCursorPos(point.x, point.y);
  std::vector<INPUT> inputs(2 * times);
  for (size_t i = 0; i < inputs.size(); ++i) {
    inputs[i].type = INPUT_MOUSE;
    inputs[i].mi.dwFlags = i % 2 ? up : down;
  }
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

class RuntimeTest : public ::testing::Test {
 protected:
  // A quit left by a test's last window must not end the next test's loops.
  void TearDown() override {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
};

TEST_F(RuntimeTest, CreatedRunsInsideTheLoadBeforeTheWindowIsShown) {
  const Text title = "载入";
  WindowDesign design = Design(title, true);
  std::vector<std::pair<bool, bool>> existsAndVisible;  // one entry per run of the handler
  design.created = [&] {
    const HWND window = Window(title);
    existsAndVisible.emplace_back(window != nullptr, window && IsWindowVisible(window));
  };
  Win32WindowRuntime runtime({{kMain, design}, {WindowId::kAlert, Design("其他", true)}}, nullptr);

  runtime.LoadWindow(kMain);
  ASSERT_EQ(existsAndVisible, (std::vector<std::pair<bool, bool>>{{true, false}}));
  const HWND window = Window(title);
  EXPECT_TRUE(IsWindowVisible(window));
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);

  // Loading an open window restores or activates it, and creates nothing.
  ShowWindow(window, SW_MINIMIZE);
  runtime.LoadWindow(kMain);
  EXPECT_FALSE(IsIconic(window));
  runtime.LoadWindow(WindowId::kAlert);
  ASSERT_NE(GetForegroundWindow(), window);
  runtime.LoadWindow(kMain);
  EXPECT_EQ(GetForegroundWindow(), window);
  EXPECT_EQ(existsAndVisible.size(), 1u);
  EXPECT_EQ(Window(title), window);
}

TEST_F(RuntimeTest, FrameHasTheDesignSizeAndOnlyTheBoxesItAsksFor) {
  struct Case {
    bool minimizeBox, taskbarButton, shownWhenLoaded;
  };
  for (const Case& c :
       {Case{true, true, true}, Case{false, false, true}, Case{true, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.minimizeBox << c.taskbarButton << c.shownWhenLoaded);
    WindowDesign design = Design("外框");
    design.minimizeBox = c.minimizeBox;
    design.taskbarButton = c.taskbarButton;
    design.shownWhenLoaded = c.shownWhenLoaded;
    Win32WindowRuntime runtime({{kMain, design}}, nullptr);
    runtime.LoadWindow(kMain);
    const HWND window = Window("外框");
    ASSERT_NE(window, nullptr);

    RECT frame;
    GetWindowRect(window, &frame);
    EXPECT_EQ(frame.right - frame.left, kWidth);
    EXPECT_EQ(frame.bottom - frame.top, kHeight);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, c.minimizeBox);
    const HWND owner = GetWindow(window, GW_OWNER);
    EXPECT_EQ(owner != nullptr, !c.taskbarButton);
    if (owner) {
      EXPECT_FALSE(IsWindowVisible(owner));
    }
    EXPECT_EQ(IsWindowVisible(window) != 0, c.shownWhenLoaded);
  }
}

TEST_F(RuntimeTest, ControlsHaveTheGuiFontAndTheListItsColumns) {
  Win32WindowRuntime runtime({{kMain, Design("控件")}}, nullptr);
  runtime.LoadWindow(kMain);
  const HWND window = Window("控件");

  const HGDIOBJ guiFont = GetStockObject(DEFAULT_GUI_FONT);
  for (HWND control = GetWindow(window, GW_CHILD); control;
       control = GetWindow(control, GW_HWNDNEXT)) {
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), guiFont);
  }

  const HWND list = Child(window, WC_LISTVIEWW);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  const std::pair<Text, int> columns[] = {{"进程名称", 100}, {"所在路径", 300}};
  for (int column = 0; column < 2; ++column) {
    wchar_t text[32] = {};
    LVCOLUMNW description{};
    description.mask = LVCF_TEXT | LVCF_WIDTH;
    description.pszText = text;
    description.cchTextMax = 32;
    ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, column, reinterpret_cast<LPARAM>(&description)));
    EXPECT_EQ(Narrow(text), columns[column].first);
    EXPECT_EQ(description.cx, columns[column].second);
  }
}

// Both ways a window ends: the handlers' request and the close box. The will-be-destroyed
// handler runs from the queue, and the end of the last window ends Run after the teardown.
TEST_F(RuntimeTest, WindowEndsFromTheQueueAndTheLastOneEndsRun) {
  const std::function<void(Win32WindowRuntime&, HWND)> ends[] = {
      [](Win32WindowRuntime& runtime, HWND) { runtime.DestroyWindow(kMain); },
      [](Win32WindowRuntime&, HWND window) { PostMessageW(window, WM_CLOSE, 0, 0); },
  };
  for (const auto& end : ends) {
    std::vector<std::string> events;
    WindowDesign design = Design("结束");
    design.willBeDestroyed = [&] { events.push_back("will be destroyed"); };
    Win32WindowRuntime runtime({{kMain, design}}, [&] { events.push_back("teardown"); });
    runtime.LoadWindow(kMain);
    const HWND window = Window("结束");

    end(runtime, window);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(events.empty());
    runtime.ProcessPendingEvents();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(events, std::vector<std::string>{"will be destroyed"});

    ASSERT_TRUE(QuitPending());
    EXPECT_EQ(runtime.Run(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"will be destroyed", "teardown"}));
  }
}

TEST_F(RuntimeTest, LoadAfterAPendingDestroyCarriesItOutFirst) {
  std::vector<std::string> events;
  WindowDesign design = Design("重载");
  design.created = [&] { events.push_back("created"); };
  design.willBeDestroyed = [&] { events.push_back("will be destroyed"); };
  Win32WindowRuntime runtime({{kMain, design}}, nullptr);
  runtime.LoadWindow(kMain);
  const HWND old = Window("重载");

  runtime.DestroyWindow(kMain);
  runtime.LoadWindow(kMain);
  EXPECT_EQ(events, (std::vector<std::string>{"created", "will be destroyed", "created"}));
  EXPECT_FALSE(IsWindow(old));
  const HWND fresh = Window("重载");
  EXPECT_NE(fresh, nullptr);

  // The old request does not reach the new window, and the program goes on.
  runtime.ProcessPendingEvents();
  EXPECT_EQ(events.size(), 3u);
  EXPECT_TRUE(IsWindow(fresh));
  EXPECT_FALSE(QuitPending());
}

TEST_F(RuntimeTest, TimerRestartsOnlyForANewPeriodAndZeroStopsIt) {
  int ticks1 = 0, ticks2 = 0;
  WindowDesign design = Design("时钟");
  design.ticks = {{Timer::kTimer1, [&] { ++ticks1; }}, {Timer::kTimer2, [&] { ++ticks2; }}};
  Win32WindowRuntime runtime({{kMain, design}}, nullptr);
  runtime.LoadWindow(kMain);

  // Set every 10 ms: the same period again keeps the timer running, a new one restarts it.
  ProcessFor(runtime, 700, [&] { runtime.SetTimerPeriod(kMain, Timer::kTimer2, 200); });
  EXPECT_GE(ticks2, 2);
  EXPECT_EQ(ticks1, 0);
  int period = 200;
  ticks2 = 0;
  ProcessFor(runtime, 700, [&] {
    period = period == 200 ? 210 : 200;
    runtime.SetTimerPeriod(kMain, Timer::kTimer2, period);
  });
  EXPECT_EQ(ticks2, 0);

  runtime.SetTimerPeriod(kMain, Timer::kTimer2, 50);
  ProcessFor(runtime, 300);
  EXPECT_GE(ticks2, 2);
  runtime.SetTimerPeriod(kMain, Timer::kTimer2, 0);
  ticks2 = 0;
  ProcessFor(runtime, 300);
  EXPECT_EQ(ticks2, 0);
}

TEST_F(RuntimeTest, ListRowsGoWhereAsked) {
  Win32WindowRuntime runtime({{kMain, Design("列表")}}, nullptr);
  runtime.LoadWindow(kMain);

  const struct {
    int position;
    const char* caption;
    int index;
  } inserts[] = {{1, "b", 0}, {1, "d", 1}, {0, "a", 0}, {2, "c", 2}, {99, "e", 4}, {-1, "f", 5}};
  for (const auto& insert : inserts) {
    EXPECT_EQ(runtime.InsertRow(kMain, insert.position, insert.caption), insert.index)
        << insert.caption;
  }
  ASSERT_EQ(runtime.RowCount(kMain), 6);
  for (int row = 0; row < 6; ++row) EXPECT_EQ(runtime.CellText(kMain, row, 0), Text(1, 'a' + row));

  const Text path = "C:\\进程\\" + Text(600, 'x');  // longer than a first guess of buffer
  runtime.SetCellText(kMain, 2, 1, path);
  EXPECT_EQ(runtime.CellText(kMain, 2, 1), path);
  EXPECT_EQ(runtime.CellText(kMain, -1, 0), "");
  EXPECT_EQ(runtime.CellText(kMain, 6, 0), "");

  EXPECT_EQ(runtime.Selection(kMain), -1);
  LVITEMW selected{};
  selected.stateMask = selected.state = LVIS_SELECTED;
  SendMessageW(Child(Window("列表"), WC_LISTVIEWW), LVM_SETITEMSTATE, 3,
               reinterpret_cast<LPARAM>(&selected));
  EXPECT_EQ(runtime.Selection(kMain), 3);

  runtime.RemoveAllRows(kMain);
  EXPECT_EQ(runtime.RowCount(kMain), 0);
  EXPECT_EQ(runtime.Selection(kMain), -1);
}

// A list is painted once a burst of row changes is over, not after every row, and only while its
// window is visible; the rows it shows then are all there.
TEST_F(RuntimeTest, AListIsPaintedWhenItsRowsSettleAndOnlyWhileShown) {
  Win32WindowRuntime runtime({{kMain, Design("重绘", true)}}, nullptr);
  runtime.LoadWindow(kMain);
  const HWND list = Child(Window("重绘"), WC_LISTVIEWW);
  static int paints;
  paints = 0;
  SetWindowSubclass(
      list,
      [](HWND handle, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
        if (message == WM_PAINT) ++paints;
        return DefSubclassProc(handle, message, wParam, lParam);
      },
      1, 0);
  const auto fill = [&] {
    runtime.RemoveAllRows(kMain);
    for (int row = 0; row < 40; ++row) {
      runtime.SetCellText(kMain, runtime.InsertRow(kMain, 1, "进程.exe"), 1, "C:\\");
      runtime.ProcessPendingEvents();
    }
  };
  ProcessFor(runtime, 300);

  paints = 0;
  fill();
  EXPECT_EQ(paints, 0) << "painted during the burst";
  ProcessFor(runtime, 300);
  EXPECT_GE(paints, 1) << "not painted after it";
  EXPECT_EQ(runtime.RowCount(kMain), 40);

  runtime.SetShown(kMain, false);
  paints = 0;
  fill();
  ProcessFor(runtime, 300);
  EXPECT_EQ(paints, 0) << "painted while hidden";
  runtime.SetShown(kMain, true);
  ProcessFor(runtime, 300);
  EXPECT_GE(paints, 1) << "not painted when shown again";
}

TEST_F(RuntimeTest, CheckBoxRaisesClickedOnlyWhenClicked) {
  std::vector<bool> tickedInHandler;
  WindowDesign design = Design("选择");
  Win32WindowRuntime* self = nullptr;
  design.controls[1].clicked = [&] {
    tickedInHandler.push_back(self->Ticked(kMain, Control::kCheckBox));
  };
  Win32WindowRuntime runtime({{kMain, design}}, nullptr);
  self = &runtime;
  runtime.LoadWindow(kMain);
  const HWND checkBox = FindWindowExW(Window("选择"), nullptr, nullptr, L"选择框");
  ASSERT_NE(checkBox, nullptr);

  SendMessageW(checkBox, BM_CLICK, 0, 0);
  EXPECT_EQ(tickedInHandler, std::vector<bool>{true});
  runtime.SetTicked(kMain, Control::kCheckBox, false);
  EXPECT_FALSE(runtime.Ticked(kMain, Control::kCheckBox));
  runtime.SetTicked(kMain, Control::kCheckBox, true);
  EXPECT_TRUE(runtime.Ticked(kMain, Control::kCheckBox));
  runtime.ProcessPendingEvents();
  EXPECT_EQ(tickedInHandler.size(), 1u);

  runtime.SetCaption(kMain, Control::kLabel, "监视中");
  EXPECT_EQ(runtime.Caption(kMain, Control::kLabel), "监视中");
}

TEST_F(RuntimeTest, RightClickAnywhereInTheListRunsItsHandler) {
  int rightClicks = 0;
  WindowDesign design = Design("右键", true);
  design.listRightClick = [&] { ++rightClicks; };
  Win32WindowRuntime runtime({{kMain, design}}, nullptr);
  runtime.LoadWindow(kMain);
  runtime.InsertRow(kMain, -1, "a");
  const HWND list = Child(Window("右键"), WC_LISTVIEWW);

  RECT row{};
  row.left = LVIR_BOUNDS;
  SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  RECT client;
  GetClientRect(list, &client);
  POINT onRow{row.left + 20, (row.top + row.bottom) / 2};
  POINT belowRows{client.right / 2, client.bottom - 10};
  for (POINT point : {onRow, belowRows}) {
    ClientToScreen(list, &point);
    const int before = rightClicks;
    ClickAt(point, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
    ProcessFor(runtime, 200);
    EXPECT_EQ(rightClicks, before + 1) << point.x << "," << point.y;
  }
}

// Wine shows the notification area as a window of its own; clicks on its first icon go to the
// window that added it.
TEST_F(RuntimeTest, ClicksOnTheTrayIconRunTheTrayHandler) {
  int trayEvents = 0;
  WindowDesign design = Design("托盘");
  design.trayEvent = [&] { ++trayEvents; };
  Win32WindowRuntime runtime({{kMain, design}}, nullptr);
  runtime.LoadWindow(kMain);
  runtime.SetTrayIcon(kMain, "新岫灯");
  runtime.SetTrayIcon(kMain, "新岫灯：监视中");

  HWND tray = nullptr;
  for (int attempt = 0; attempt < 100 && !tray; ++attempt, Sleep(10)) {
    tray = FindWindowW(nullptr, L"Wine System Tray");
  }
  ASSERT_NE(tray, nullptr);
  POINT icon{GetSystemMetrics(SM_CXSMICON) / 2 + 2, GetSystemMetrics(SM_CYSMICON) / 2 + 2};
  ClientToScreen(tray, &icon);
  // A double click is up, double click, up: three events.
  const struct {
    DWORD down, up;
    int times, events;
  } clicks[] = {{MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 1, 1},
                {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP, 1, 1},
                {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, 2, 3},
                {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP, 1, 0}};
  for (const auto& click : clicks) {
    const int before = trayEvents;
    ClickAt(icon, click.down, click.up, click.times);
    ProcessFor(runtime, 300);
    EXPECT_EQ(trayEvents, before + click.events) << click.down << " x" << click.times;
  }

  // An Explorer started anew knows no icons (the runtime's is id 1 of its window) and announces
  // its taskbar: the icon comes back.
  NOTIFYICONDATAW forgotten{};
  forgotten.cbSize = sizeof forgotten;
  forgotten.hWnd = Window("托盘");
  forgotten.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &forgotten));
  SendMessageW(forgotten.hWnd, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  const int before = trayEvents;
  ClickAt(icon, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
  ProcessFor(runtime, 300);
  EXPECT_EQ(trayEvents, before + 1);
}

// The menu is found from a timer tick while it is open, then driven with keys: down, down
// skips the separator to the second item, return chooses it.
TEST_F(RuntimeTest, MenusOpenBesideTheCursorAndRunTheChoiceAfterClosing) {
  struct Case {
    void (WindowRuntime::*popUp)(WindowId);
    bool rightAligned;
    int dx, dy;
  };
  const POINT cursor{500, 400};
  for (const Case& c : {Case{&WindowRuntime::PopUpMenu, false, 3, 3},
                        Case{&WindowRuntime::PopUpTrayMenu, true, -5, -5}}) {
    SCOPED_TRACE(c.rightAligned ? "tray menu" : "menu");
    RECT menuFrame{};
    bool menuOpenInHandler = true;
    std::vector<std::string> chosen;
    WindowDesign design = Design("菜单");
    Win32WindowRuntime* self = nullptr;
    auto menuWindow = [] {
      const HWND menu = FindWindowW(L"#32768", nullptr);
      return menu && IsWindowVisible(menu) ? menu : nullptr;
    };
    design.ticks = {{Timer::kTimer1, [&] {
                       const HWND menu = menuWindow();
                       if (!menu) return;
                       self->SetTimerPeriod(kMain, Timer::kTimer1, 0);
                       GetWindowRect(menu, &menuFrame);
                       const HWND window = Window("菜单");
                       for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
                         PostMessageW(window, WM_KEYDOWN, key, 0);
                       }
                     }}};
    design.menu = {{"一", [&] { chosen.push_back("一"); }},
                   {"-", [&] { chosen.push_back("-"); }},
                   {"二", [&] {
                      chosen.push_back("二");
                      menuOpenInHandler = menuWindow() != nullptr;
                    }}};
    Win32WindowRuntime runtime({{kMain, design}}, nullptr);
    self = &runtime;
    runtime.LoadWindow(kMain);
    runtime.SetTimerPeriod(kMain, Timer::kTimer1, 50);
    SetCursorPos(cursor.x, cursor.y);

    (runtime.*c.popUp)(kMain);
    EXPECT_EQ(chosen, std::vector<std::string>{"二"});
    EXPECT_FALSE(menuOpenInHandler);
    EXPECT_EQ(c.rightAligned ? menuFrame.right : menuFrame.left, cursor.x + c.dx);
    EXPECT_EQ(menuFrame.top, cursor.y + c.dy);
  }
}

// The box is found from a timer tick while it is open, read, and answered.
TEST_F(RuntimeTest, MessageBoxIsTaskModalWithADefaultTitle) {
  struct Case {
    int style;
    Text title, shownTitle;
    WPARAM button;
    int result;
  };
  for (const Case& c : {Case{0, "", "信息：", IDOK, WindowRuntime::kOk},
                        Case{WindowRuntime::kYesNo, "确认", "确认", IDNO, WindowRuntime::kNo},
                        Case{WindowRuntime::kYesNo, "确认", "确认", IDYES, WindowRuntime::kYes}}) {
    SCOPED_TRACE(c.result);
    Text shownTitle;
    bool windowEnabled = true;
    WindowDesign design = Design("消息");
    Win32WindowRuntime* self = nullptr;
    design.ticks = {{Timer::kTimer1, [&] {
                       const HWND box = FindWindowW(L"#32770", nullptr);
                       if (!box) return;
                       self->SetTimerPeriod(kMain, Timer::kTimer1, 0);
                       wchar_t title[64] = {};
                       GetWindowTextW(box, title, 64);
                       shownTitle = Narrow(title);
                       windowEnabled = IsWindowEnabled(Window("消息"));
                       PostMessageW(box, WM_COMMAND, c.button, 0);
                     }}};
    Win32WindowRuntime runtime({{kMain, design}}, nullptr);
    self = &runtime;
    runtime.LoadWindow(kMain);
    runtime.SetTimerPeriod(kMain, Timer::kTimer1, 50);

    WindowRuntime& handlersView = runtime;
    EXPECT_EQ(handlersView.ShowMessageBox("正文", c.style, c.title), c.result);
    EXPECT_EQ(shownTitle, c.shownTitle);
    EXPECT_FALSE(windowEnabled);
    EXPECT_TRUE(IsWindowEnabled(Window("消息")));
  }
}

TEST_F(RuntimeTest, ShowingKeepsTheStateAndMovingKeepsTheSize) {
  Win32WindowRuntime runtime({{kMain, Design("状态", true)}}, nullptr);
  runtime.LoadWindow(kMain);
  const HWND window = Window("状态");

  runtime.MoveWindow(kMain, 10, 20);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 20);
  EXPECT_EQ(frame.right - frame.left, kWidth);
  EXPECT_EQ(frame.bottom - frame.top, kHeight);

  runtime.SetTopmost(kMain, true);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  runtime.SetTopmost(kMain, false);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

  ShowWindow(window, SW_MINIMIZE);
  runtime.SetShown(kMain, false);
  EXPECT_FALSE(IsWindowVisible(window));
  runtime.SetShown(kMain, true);
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(IsIconic(window));
}

// Runs at 96 DPI with the others, and on its own in a prefix of another DPI (dpi_144).
TEST_F(RuntimeTest, LayoutFollowsTheMonitorDpi) {
  Win32WindowRuntime runtime({{kMain, Design("缩放", true)}}, nullptr);
  runtime.LoadWindow(kMain);
  const HWND window = Window("缩放");
  const HWND list = Child(window, WC_LISTVIEWW);
  ASSERT_NE(list, nullptr);
  auto expectLayout = [&](int dpi) {
    RECT frame, listFrame;
    GetWindowRect(window, &frame);
    GetWindowRect(list, &listFrame);
    EXPECT_EQ(frame.right - frame.left, ToPixels(kWidth, dpi));
    EXPECT_EQ(frame.bottom - frame.top, ToPixels(kHeight, dpi));
    EXPECT_EQ(listFrame.right - listFrame.left, ToPixels(330, dpi));
    EXPECT_EQ(listFrame.bottom - listFrame.top, ToPixels(130, dpi));
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 1, 0), ToPixels(300, dpi));
  };
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  if (const char* expected = std::getenv("XIUDENG_EXPECTED_DPI")) {
    ASSERT_EQ(dpi, std::atoi(expected));
  }
  expectLayout(dpi);

  // Placed by its distance from the bottom-right corner, as the alert window is.
  runtime.MoveWindow(kMain, runtime.ScreenWidth() - 261, runtime.ScreenHeight() - 240);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, GetSystemMetrics(SM_CXSCREEN) - ToPixels(261, dpi));
  EXPECT_EQ(frame.top, GetSystemMetrics(SM_CYSCREEN) - ToPixels(240, dpi));

  // Moved to a monitor at 200 %: the frame the system suggests, and the controls laid out anew.
  RECT suggested{10, 20, 10 + ToPixels(kWidth, 192), 20 + ToPixels(kHeight, 192)};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  GetWindowRect(window, &frame);
  EXPECT_EQ(frame.left, 10);
  EXPECT_EQ(frame.top, 20);
  expectLayout(192);
  LOGFONTW shown{}, stock{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)), sizeof shown, &shown);
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof stock, &stock);
  EXPECT_EQ(shown.lfHeight, MulDivRounded(stock.lfHeight, 192, dpi));
}

}  // namespace
