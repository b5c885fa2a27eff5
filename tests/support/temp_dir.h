// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <atomic>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include "platform/cp936_win32.h"
#endif

// A code page 936 path as the standard library takes it: on Windows it would read the bytes in
// another code page.
inline std::filesystem::path NativePath(const std::string& text) {
#ifdef _WIN32
  return std::filesystem::path(Wide(text));
#else
  return std::filesystem::path(text);
#endif
}

class TempDir {
 public:
  TempDir() {
    static std::atomic<int> counter{0};
    const auto base = std::filesystem::temp_directory_path();
    do {
      path_ = base / ("xiudeng-test-" + std::to_string(Pid()) + "-" + std::to_string(counter++));
    } while (!std::filesystem::create_directory(path_));
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::filesystem::path& path() const { return path_; }
  // A file inside, as a text path (the names used by the tests are ASCII).
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  static long Pid();
  std::filesystem::path path_;
};

#ifdef _WIN32
#include <process.h>
inline long TempDir::Pid() {
  return _getpid();
}
#else
#include <unistd.h>
inline long TempDir::Pid() {
  return getpid();
}
#endif
