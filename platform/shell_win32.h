// The real shell: ShellExecute, the file browser, shell links, special folders and Toolhelp.
#pragma once

#include "platform/shell.h"

class Win32Shell : public Shell {
 public:
  Win32Shell() = default;
  Win32Shell(const Win32Shell&) = delete;
  Win32Shell& operator=(const Win32Shell&) = delete;
  ~Win32Shell() override;

  void ShellOpen(const Text& file, const Text& parameters, int showMode) override;
  void LocateFile(const Text& path) override;
  bool CreateShortcut(const Text& link, const Text& target, const Text& description) override;
  Text GetSpecialFolder(int kind) override;
  bool EndProcessByName(const Text& name) override;

 private:
  // The shell calls want COM on this thread, from their first use on: started then, so that
  // program start neither loads shell32 nor starts COM.
  void StartCom();

  bool comInitialized_ = false;
};
