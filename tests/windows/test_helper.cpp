// A process for the tests to find: it waits for as many milliseconds as its first argument says.
// Given a second argument, it holds that file open without sharing it while it waits (trying for
// 5 s while someone else has it open), and ends at once with 1000 + the error when it cannot.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>

namespace {

HANDLE Hold(const wchar_t* path) {
  for (int attempt = 0;; ++attempt) {
    const HANDLE held = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (held != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION ||
        attempt == 5000) {
      return held;
    }
    Sleep(1);
  }
}

}  // namespace

int main() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  const HANDLE held = argc > 2 ? Hold(argv[2]) : INVALID_HANDLE_VALUE;
  if (argc > 2 && held == INVALID_HANDLE_VALUE) return 1000 + static_cast<int>(GetLastError());
  Sleep(argc > 1 ? static_cast<DWORD>(std::wcstoul(argv[1], nullptr, 10)) : 30000);
  if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
  LocalFree(argv);
  return 0;
}
