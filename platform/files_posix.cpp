#include <cstdio>
#include <memory>

#include "platform/files.h"

Bytes ReadFileBytes(const Text& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return {};
  Bytes bytes;
  std::uint8_t chunk[65536];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  return std::ferror(file.get()) ? Bytes() : bytes;
}
