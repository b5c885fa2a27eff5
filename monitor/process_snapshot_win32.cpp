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
    names.push_back(Narrow(exeFile));
    identifiers.push_back(entry.th32ProcessID);
  }
  return static_cast<int>(names.size());
}
