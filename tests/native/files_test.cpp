#include "platform/files.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;
using ::testing::StartsWith;

Bytes Pattern(size_t size) {
  Bytes bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

// The entries of a directory: a temporary file left behind shows up here.
Names Entries(const fs::path& directory) {
  Names names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace(name.begin(), name.end());
  }
  return names;
}

class FilesTest : public ::testing::Test {
 protected:
  Text Path(const Text& name) const { return dir.path().string() + kPathSeparator + name; }
  void Create(const std::string& name, const std::string& content) {
    std::ofstream(dir.path() / name, std::ios::binary) << content;
  }

  TempDir dir;
};

TEST_F(FilesTest, WriteCreatesTheFileWithExactlyItsBytes) {
  const struct {
    Text name;
    Bytes bytes;
  } cases[] = {
      {"empty.bin", {}},
      {"zeros.bin", {0, 'a', 0, 0, 0xFF, 0}},
      {"large.bin", Pattern(300000)},  // more than one chunk of a read or write
      {"岫灯配置.txt", {'1'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(PathExists(Path(c.name)));
    EXPECT_TRUE(WriteFileBytes(Path(c.name), c.bytes));
    EXPECT_EQ(TryReadFileBytes(Path(c.name)), c.bytes);
  }
  EXPECT_EQ(Entries(dir.path()).size(), std::size(cases));
}

TEST_F(FilesTest, WriteReplacesTheWholeContent) {
  const Text path = Path("data.bin");
  ASSERT_TRUE(WriteFileBytes(path, Pattern(100000)));
  for (const Bytes& bytes : {Bytes{0, 1, 0}, Bytes{}, Pattern(70000)}) {
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    EXPECT_EQ(TryReadFileBytes(path), bytes);
  }
  EXPECT_EQ(Entries(dir.path()), Names{"data.bin"});
}

TEST_F(FilesTest, AFailedWriteChangesNothing) {
  const std::string old("old\0content", 11);
  Create("keep.txt", old);
  fs::create_directory(dir.path() / "folder");
  std::ofstream(dir.path() / "folder" / "inner.txt") << "inner";
  const Text sep(1, kPathSeparator);
  const Text targets[] = {
      Path("folder"),                      // a directory
      Path("missing") + sep + "new.txt",   // in a directory that does not exist
      Path("keep.txt") + sep + "new.txt",  // below a file
      Path("folder") + sep,
      "",
  };
  for (const Text& target : targets) {
    SCOPED_TRACE(target);
    EXPECT_FALSE(WriteFileBytes(target, Pattern(10)));
    EXPECT_EQ(ReadFileBytes(Path("keep.txt")), BytesFromText(old));
    EXPECT_EQ(ReadFileBytes(Path("folder") + sep + "inner.txt"), BytesFromText("inner"));
    EXPECT_EQ(Entries(dir.path()), Names({"folder", "keep.txt"}));
    EXPECT_EQ(Entries(dir.path() / "folder"), Names{"inner.txt"});
  }
}

TEST_F(FilesTest, PathExistsForFilesAndDirectories) {
  Create("file.txt", "x");
  fs::create_directory(dir.path() / "folder");
  EXPECT_TRUE(PathExists(Path("file.txt")));
  EXPECT_TRUE(PathExists(Path("folder")));
  EXPECT_TRUE(PathExists(dir.path().string()));
  EXPECT_FALSE(PathExists(Path("missing.txt")));
  EXPECT_FALSE(PathExists(""));
}

TEST_F(FilesTest, DeleteFileAtRemovesFilesOnly) {
  Create("file.txt", "x");
  fs::create_directory(dir.path() / "folder");
  DeleteFileAt(Path("file.txt"));
  DeleteFileAt(Path("folder"));
  DeleteFileAt(Path("missing.txt"));
  EXPECT_EQ(Entries(dir.path()), Names{"folder"});
}

TEST(RunDirectoryTest, TogetherWithTheNameItGivesTheRunningExecutable) {
  const Text directory = RunDirectory();
  const Text name = ExecutableName();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), kPathSeparator);
  EXPECT_THAT(name, StartsWith("core_tests"));
  EXPECT_TRUE(PathExists(directory + kPathSeparator + name));
}

}  // namespace
