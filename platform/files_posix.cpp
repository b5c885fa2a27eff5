#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "platform/files.h"

namespace {

// Owns a file descriptor and closes it on every path out of the scope that opened it.
class UniqueFd {
 public:
  explicit UniqueFd(int fd) : fd_(fd) {}
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&&) = delete;
  ~UniqueFd() { Close(); }

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closing can report a failed write of the last data, so the result counts.
  bool Close() { return !valid() || ::close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// A file of a name no other file has, beside `target`; `name` receives its path.
UniqueFd CreateTemporaryBeside(const Text& target, Text& name) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = target + "." + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
    UniqueFd file(::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (file.valid() || errno != EEXIST) return file;
  }
  return UniqueFd(-1);
}

bool WriteAll(int fd, const Bytes& bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<size_t>(wrote);
  }
  return true;
}

Text ExecutablePath() {
  std::string path(256, '\0');
  for (;;) {
    const ssize_t size = ::readlink("/proc/self/exe", path.data(), path.size());
    if (size < 0) return {};
    if (static_cast<size_t>(size) < path.size()) return path.substr(0, size);
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::optional<Bytes> TryReadFileBytes(const Text& path) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!file) return {};
  Bytes bytes;
  std::uint8_t chunk[65536];
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (std::ferror(file.get())) return std::nullopt;
  return bytes;
}

bool WriteFileBytes(const Text& path, const Bytes& bytes) {
  if (path.empty()) return false;
  Text temporary;
  UniqueFd file = CreateTemporaryBeside(path, temporary);
  if (!file.valid()) return false;
  // On disk before the rename, so that a crash leaves either the old or the new content.
  const bool written = WriteAll(file.get(), bytes) && ::fsync(file.get()) == 0 && file.Close();
  if (written && ::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

bool PathExists(const Text& path) {
  struct stat status;
  return ::stat(path.c_str(), &status) == 0;
}

void DeleteFileAt(const Text& path) {
  ::unlink(path.c_str());
}

Text RunDirectory() {
  const Text path = ExecutablePath();
  const size_t separator = path.rfind('/');
  return separator == Text::npos ? Text() : path.substr(0, separator);
}

Text ExecutableName() {
  const Text path = ExecutablePath();
  return path.substr(path.rfind('/') + 1);
}
