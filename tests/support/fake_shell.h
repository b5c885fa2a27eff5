// A shell that records what it is asked to do. Shortcuts are real files, so that removing them
// can be seen on disk.
#pragma once

#include <set>
#include <vector>

#include "platform/files.h"
#include "platform/shell.h"

class FakeShell : public Shell {
 public:
  struct Shortcut {
    Text link, target, description;
  };

  Text folder;  // what GetSpecialFolder gives, for every kind
  bool shortcutsFail = false;
  std::set<Text> unendable;  // names whose processes cannot be ended
  std::vector<Text> opened, located, ended;
  std::vector<Shortcut> shortcuts;

  void ShellOpen(const Text& file, const Text&, int) override { opened.push_back(file); }
  void LocateFile(const Text& path) override { located.push_back(path); }
  bool CreateShortcut(const Text& link, const Text& target, const Text& description) override {
    if (shortcutsFail) return false;
    shortcuts.push_back({link, target, description});
    return WriteFileBytes(link, BytesFromText(target));
  }
  Text GetSpecialFolder(int) override { return folder; }
  bool EndProcessByName(const Text& name) override {
    ended.push_back(name);
    return !unendable.count(name);
  }
};
