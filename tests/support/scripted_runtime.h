// A window runtime kept in memory. Pending events are what the test queues, dispatched in that
// order; clicks, ticks and menu choices are the test's own calls.
#pragma once

#include <algorithm>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "platform/window_runtime.h"

class ScriptedRuntime : public WindowRuntime {
 public:
  using Row = std::vector<Text>;  // the cells of one row, column 0 first

  struct Exited {  // thrown by Exit, after the teardown
    int code;
  };
  struct Box {
    Text text;
    int style;
    Text title;
  };
  struct Window {
    bool open = false, shown = false, topmost = false, destroyRequested = false;
    int left = 0, top = 0;
    std::map<Timer, int> periods;
    std::map<Control, Text> captions;
    std::map<Control, bool> ticked;
    std::optional<Text> trayTip;
    std::vector<Row> rows;
    int selection = -1;
  };

  std::map<WindowId, WindowDesign> designs;
  std::map<WindowId, Window> windows;
  std::map<WindowId, int> creations, activations, trayMenus, menus;
  std::deque<Handler> events;  // dispatched by the next ProcessPendingEvents
  std::deque<int> answers;     // of the next message boxes; OK when none is left
  std::vector<Box> boxes;
  Handler teardown;
  int visualStyle = 0;

  Window& operator[](WindowId id) { return windows[id]; }

  // What a person does.
  void Click(WindowId id, Control control) {
    const ControlDesign& design = ControlOf(id, control);
    if (design.kind == ControlKind::kCheckBox) windows[id].ticked[control] ^= true;
    design.clicked();
  }
  void Tick(WindowId id, Timer timer) {
    for (const auto& [which, handler] : designs.at(id).ticks) {
      if (which == timer && windows[id].periods[timer] > 0) handler();
    }
  }
  void Choose(WindowId id, const Text& item) {
    for (const MenuItemDesign& entry : designs.at(id).menu) {
      if (entry.caption == item) return entry.selected();
    }
  }

  void ProcessPendingEvents() override {
    while (!events.empty()) {
      Handler event = std::move(events.front());
      events.pop_front();
      event();
    }
  }

  void LoadWindow(WindowId id) override {
    if (windows[id].destroyRequested) CarryOutDestroy(id);
    if (windows[id].open) {
      ++activations[id];
      return;
    }
    const WindowDesign& design = designs.at(id);
    windows[id] = Window();
    windows[id].open = true;
    for (const ControlDesign& control : design.controls) {
      windows[id].captions[control.id] = control.caption;
    }
    ++creations[id];
    if (design.created) design.created();
    if (design.shownWhenLoaded) windows[id].shown = true;
  }

  void DestroyWindow(WindowId id) override {
    windows[id].destroyRequested = true;
    events.push_back([this, id] {
      if (windows[id].destroyRequested) CarryOutDestroy(id);
    });
  }

  void SetShown(WindowId id, bool shown) override { windows[id].shown = shown; }
  void SetTopmost(WindowId id, bool topmost) override { windows[id].topmost = topmost; }
  void MoveWindow(WindowId id, int left, int top) override {
    windows[id].left = left;
    windows[id].top = top;
  }
  void SetTimerPeriod(WindowId id, Timer timer, int milliseconds) override {
    windows[id].periods[timer] = milliseconds;
  }
  Text Caption(WindowId id, Control control) override { return windows[id].captions[control]; }
  void SetCaption(WindowId id, Control control, const Text& caption) override {
    windows[id].captions[control] = caption;
  }
  bool Ticked(WindowId id, Control control) override { return windows[id].ticked[control]; }
  void SetTicked(WindowId id, Control control, bool ticked) override {
    windows[id].ticked[control] = ticked;
  }
  void SetTrayIcon(WindowId id, const Text& tip) override { windows[id].trayTip = tip; }
  void PopUpTrayMenu(WindowId id) override { ++trayMenus[id]; }
  void PopUpMenu(WindowId id) override { ++menus[id]; }

  int ShowMessageBox(const Text& text, int style, const Text& title) override {
    boxes.push_back({text, style, title.empty() ? "信息：" : title});
    if (answers.empty()) return kOk;
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }

  [[noreturn]] void Exit(int code) override {
    if (teardown) teardown();
    throw Exited{code};
  }

  void SetVisualStyle(int variant) override { visualStyle = variant; }
  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }

  void RemoveAllRows(WindowId id) override { windows[id].rows.clear(); }
  int InsertRow(WindowId id, int position, const Text& caption) override {
    std::vector<Row>& rows = windows[id].rows;
    const size_t at = position < 0 ? rows.size() : std::min<size_t>(position, rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{caption, ""});
    return static_cast<int>(at);
  }
  void SetCellText(WindowId id, int row, int column, const Text& text) override {
    windows[id].rows.at(static_cast<size_t>(row)).at(static_cast<size_t>(column)) = text;
  }
  Text CellText(WindowId id, int row, int column) override {
    const std::vector<Row>& rows = windows[id].rows;
    return row < 0 || static_cast<size_t>(row) >= rows.size() ? Text() : rows[row].at(column);
  }
  int RowCount(WindowId id) override { return static_cast<int>(windows[id].rows.size()); }
  int Selection(WindowId id) override { return windows[id].selection; }
  void RefreshList(WindowId) override {}

 private:
  const ControlDesign& ControlOf(WindowId id, Control control) {
    const auto& controls = designs.at(id).controls;
    return *std::find_if(controls.begin(), controls.end(),
                         [control](const ControlDesign& c) { return c.id == control; });
  }

  void CarryOutDestroy(WindowId id) {
    windows[id].destroyRequested = false;
    if (!windows[id].open) return;
    if (designs.at(id).willBeDestroyed) designs.at(id).willBeDestroyed();
    windows[id].open = windows[id].shown = false;
    windows[id].trayTip.reset();
  }
};
