// A small tmpfs mounted over a fresh directory, for a disk that fills up or turns read-only under
// the program. Mounting needs root; a test without it skips.
#pragma once

#include <sys/mount.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class TmpfsMount {
 public:
  TmpfsMount(const std::filesystem::path& at, size_t bytes) : at_(at) {
    std::filesystem::create_directory(at);
    const std::string options = "size=" + std::to_string(bytes);
    mounted_ = ::mount("tmpfs", at.c_str(), "tmpfs", 0, options.c_str()) == 0;
  }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;
  ~TmpfsMount() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }

  bool mounted() const { return mounted_; }
  const std::filesystem::path& path() const { return at_; }

  bool MakeReadOnly() {
    return ::mount("tmpfs", at_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }

  // Writes a filler file until the disk refuses another byte, then frees `leftFree` bytes of it.
  void Fill(size_t leftFree) {
    const std::filesystem::path filler = at_ / "filler";
    {
      std::ofstream out(filler, std::ios::binary);
      const std::vector<char> block(512, 'f');
      while (out.write(block.data(), static_cast<std::streamsize>(block.size())).flush()) {
      }
    }
    std::filesystem::resize_file(filler, std::filesystem::file_size(filler) - leftFree);
  }

 private:
  std::filesystem::path at_;
  bool mounted_ = false;
};
