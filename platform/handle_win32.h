// Owns a kernel handle and closes it on every path out of the scope that opened it.
#pragma once

#include <windows.h>

#include <utility>

class UniqueHandle {
 public:
  explicit UniqueHandle(HANDLE handle = nullptr) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~UniqueHandle() {
    if (valid()) CloseHandle(handle_);
  }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};
