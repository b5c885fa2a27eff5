#include <algorithm>
#include <atomic>
#include <string>

#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/handle_win32.h"

namespace {

// A file of a name no other file has, beside `target`; `name` receives its path.
UniqueHandle CreateTemporaryBeside(const std::wstring& target, std::wstring& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L".tmp";
    UniqueHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.valid() || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return UniqueHandle();
}

bool WriteAll(HANDLE file, const Bytes& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
    DWORD wrote = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) return false;
    done += wrote;
  }
  return true;
}

// The path of the running executable, however long.
std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  while (path.size() <= 32768) {
    const DWORD size = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (size == 0) break;
    if (size < path.size()) return path.substr(0, size);
    path.resize(path.size() * 2);  // truncated
  }
  return {};
}

// Split in UTF-16: the second byte of a code page 936 character can be a backslash.
size_t LastSeparator(const std::wstring& path) {
  return path.find_last_of(L"\\/");
}

}  // namespace

std::optional<Bytes> TryReadFileBytes(const Text& path) {
  UniqueHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return {};
  Bytes bytes;
  std::uint8_t chunk[65536];
  for (DWORD got; ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr);) {
    if (got == 0) return bytes;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return {};
}

bool WriteFileBytes(const Text& path, const Bytes& bytes) {
  if (path.empty()) return false;
  const std::wstring target = Wide(path);
  std::wstring temporary;
  bool written;
  {
    UniqueHandle file = CreateTemporaryBeside(target, temporary);
    if (!file.valid()) return false;
    written = WriteAll(file.get(), bytes) && FlushFileBuffers(file.get());
  }  // closed, so that it can move
  if (written && MoveFileExW(temporary.c_str(), target.c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

bool PathExists(const Text& path) {
  return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void DeleteFileAt(const Text& path) {
  DeleteFileW(Wide(path).c_str());
}

Text RunDirectory() {
  const std::wstring path = ModulePath();
  const size_t separator = LastSeparator(path);
  return separator == std::wstring::npos ? Text() : Narrow(path.substr(0, separator));
}

Text ExecutableName() {
  const std::wstring path = ModulePath();
  return Narrow(path.substr(LastSeparator(path) + 1));
}
