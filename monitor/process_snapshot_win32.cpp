#include "monitor/process_snapshot_win32.h"

#include <windows.h>
#include <tlhelp32.h>

#include "platform/cp936_win32.h"
#include "platform/handle_win32.h"

int EnumerateProcesses(TextArray& names, ProcessIds& identifiers) {
  names.clear();
  identifiers.clear();
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0));
  if (!snapshot.valid()) return 0;
  // The wide record, converted explicitly: the names are the same on every system code page.
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    const std::wstring_view exeFile(entry.szExeFile, wcsnlen(entry.szExeFile, MAX_PATH));
    // Under Wine a process caught while it is being set up has no name yet (nor its directory in
    // its final form). It is left to the next snapshot, which sees it whole: a nameless entry
    // would count as new in every scan and raise an alert that no one could act on.
    if (exeFile.empty()) continue;
    names.push_back(Narrow(exeFile));
    identifiers.push_back(entry.th32ProcessID);
  }
  return static_cast<int>(names.size());
}
