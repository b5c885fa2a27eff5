// A window runtime whose pending events are what the test queues, dispatched in that order.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <vector>

#include "platform/window_runtime.h"

class ScriptedRuntime : public WindowRuntime {
 public:
  using Row = std::vector<Text>;  // the cells of one row, column 0 first

  std::deque<std::function<void()>> events;  // dispatched by the next ProcessPendingEvents
  std::map<WindowId, std::function<void()>> createdHandlers;
  std::map<WindowId, std::vector<Row>> lists;
  std::map<WindowId, int> loads;

  void ProcessPendingEvents() override {
    while (!events.empty()) {
      auto event = std::move(events.front());
      events.pop_front();
      event();
    }
  }

  void LoadWindow(WindowId window) override {
    ++loads[window];
    if (auto handler = createdHandlers.find(window); handler != createdHandlers.end()) {
      handler->second();
    }
  }

  void RemoveAllRows(WindowId window) override { lists[window].clear(); }

  int InsertRow(WindowId window, int position, const Text& caption) override {
    std::vector<Row>& rows = lists[window];
    const size_t at = position < 0 ? rows.size() : std::min<size_t>(position, rows.size());
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(at), Row{caption});
    return static_cast<int>(at);
  }

  void SetCellText(WindowId window, int row, int column, const Text& text) override {
    Row& cells = lists[window].at(static_cast<size_t>(row));
    if (cells.size() <= static_cast<size_t>(column)) cells.resize(column + 1);
    cells[column] = text;
  }
};
