#include "monitor/trust_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace {

class TrustListTest : public ::testing::Test {
 protected:
  void Write(const std::string& content) {
    ASSERT_TRUE(WriteFileBytes(path, Bytes(content.begin(), content.end())));
  }
  std::string Content() {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
  }

  TempDir dir;
  const Text path = TrustFilePath(dir.path().string());
};

TEST_F(TrustListTest, LivesBesideTheExecutableUnderItsOwnName) {
  EXPECT_EQ(TrustFilePath("run"), Text("run") + kPathSeparator + "岫灯_不通知的进程.txt");
}

TEST_F(TrustListTest, FirstStartWritesExactlyTheHeaderLine) {
  EnsureTrustFile(path);
  EXPECT_EQ(Content(), kTrustHeader);
  EXPECT_EQ(Content().size(), 41u);
}

TEST_F(TrustListTest, AnExistingFileIsNotTouched) {
  Write("mine");
  EnsureTrustFile(path);
  EXPECT_EQ(Content(), "mine");
}

TEST_F(TrustListTest, AppendingAddsALineBreakAndTheNameEveryTime) {
  EnsureTrustFile(path);
  ASSERT_TRUE(AppendTrustedName(path, "a.exe"));
  ASSERT_TRUE(AppendTrustedName(path, "a.exe"));
  ASSERT_TRUE(AppendTrustedName(path, ""));
  EXPECT_EQ(Content(), std::string(kTrustHeader) + "\r\na.exe\r\na.exe\r\n");
}

TEST_F(TrustListTest, AppendingKeepsEveryByteAfterAZeroByte) {
  const std::string utf16("a\0b\0", 4);
  Write(utf16);
  ASSERT_TRUE(AppendTrustedName(path, "x.exe"));
  EXPECT_EQ(Content(), utf16 + "\r\nx.exe");
}

TEST_F(TrustListTest, AMissingFileIsCreatedWithoutHeader) {
  ASSERT_TRUE(AppendTrustedName(path, "x.exe"));
  EXPECT_EQ(Content(), "\r\nx.exe");
}

TEST_F(TrustListTest, AFileDeletedWhileTheProgramRunsStartsAfreshWithoutHeader) {
  EnsureTrustFile(path);
  ASSERT_TRUE(AppendTrustedName(path, "a.exe"));
  std::filesystem::remove(NativePath(path));
  ASSERT_TRUE(AppendTrustedName(path, "b.exe"));
  EXPECT_EQ(Content(), "\r\nb.exe");
}

TEST_F(TrustListTest, ALargeFileKeepsEveryByte) {
  std::string large(4 << 20, 'n');
  for (size_t i = 0; i < large.size(); i += 64) large.replace(i, 5, "\r\nx\xB0\xA1");
  large[1000] = '\0';
  Write(large);
  ASSERT_TRUE(AppendTrustedName(path, "a.exe"));
  const std::string content = Content();
  ASSERT_EQ(content.size(), large.size() + 7);
  EXPECT_TRUE(content == large + "\r\na.exe");
}

TEST_F(TrustListTest, AnUnreadableFileIsNeitherReplacedNorReportedAsTrusted) {
  std::filesystem::create_directory(NativePath(path));
  EXPECT_FALSE(AppendTrustedName(path, "x.exe"));
  EXPECT_TRUE(std::filesystem::is_directory(NativePath(path)));
}

}  // namespace
