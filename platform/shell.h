// The shell operations that the windows ask for. The Win32 shell is the real one; the tests use
// a recording one.
#pragma once

#include "base/text.h"

class Shell {
 public:
  virtual ~Shell() = default;

  // ShellExecute "open", no owner window, an empty working directory. Show mode 1 hides,
  // 2 shows minimised without activating, anything else shows normally. The result is not used.
  virtual void ShellOpen(const Text& file, const Text& parameters, int showMode) = 0;

  // Opens the folder that holds the file in the file browser, with the file selected.
  virtual void LocateFile(const Text& path) = 0;

  // A shell link at `link` (".lnk" appended when it has no dot) to `target`, shown with
  // SW_SHOW, with the description when one is given. True only when the file was saved.
  virtual bool CreateShortcut(const Text& link, const Text& target, const Text& description) = 0;

  // The folder of the kind, ending in a backslash; the empty text on failure.
  // 0 or 3 desktop directory, 1 documents, 2 favourites, 4 fonts, 5 Start menu, 6 programs,
  // 7 Startup, 8 application data, 9 Windows, 10 system, 11 temporary, 12 internet cache.
  virtual Text GetSpecialFolder(int kind) = 0;

  // Ends, with exit code 0, the first process of a fresh snapshot whose executable name equals
  // `name` regardless of case. False only when such a process was found and could not be ended:
  // a process that is gone already counts as ended. An empty name ends nothing.
  virtual bool EndProcessByName(const Text& name) = 0;
};
