// Processes that a test starts, ended with the test if they still run.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "platform/handle_win32.h"

inline std::filesystem::path BuildDirectory() {
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  return std::filesystem::path(module).parent_path();
}

// A console program that waits for as many milliseconds as its argument says (30 s without one).
inline std::filesystem::path HelperPath() {
  return BuildDirectory() / L"test_helper.exe";
}

class ChildProcess {
 public:
  // Started in `directory`, or in the test's own current directory when it is empty.
  explicit ChildProcess(const std::filesystem::path& executable,
                        const std::filesystem::path& directory = {},
                        const std::wstring& arguments = L"")
      : commandLine_(L"\"" + executable.wstring() + L"\"" +
                     (arguments.empty() ? L"" : L" " + arguments)) {
    std::wstring commandLine = commandLine_;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                       CREATE_NO_WINDOW, nullptr, directory.empty() ? nullptr : directory.c_str(),
                       &startup, &info)) {
      handle_ = UniqueHandle(info.hProcess);
      UniqueHandle thread(info.hThread);
      id_ = info.dwProcessId;
    }
  }
  // One that someone else started.
  explicit ChildProcess(DWORD id)
      : handle_(OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE,
                            FALSE, id)),
        id_(id) {}
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() { End(); }

  void End() {
    if (!handle_.valid()) return;
    if (Running()) TerminateProcess(handle_.get(), 1);
    WaitForSingleObject(handle_.get(), 10000);
  }
  bool Running() const { return WaitForSingleObject(handle_.get(), 0) == WAIT_TIMEOUT; }
  bool Ended() const { return WaitForSingleObject(handle_.get(), 10000) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(handle_.get(), &code);
    return code;
  }
  DWORD id() const { return id_; }
  const std::wstring& commandLine() const { return commandLine_; }

 private:
  std::wstring commandLine_;
  UniqueHandle handle_;
  DWORD id_ = 0;
};
