#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/handle_win32.h"

Bytes ReadFileBytes(const Text& path) {
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
