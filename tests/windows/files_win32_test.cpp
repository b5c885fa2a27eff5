// What only Windows does to file replacement: another program can hold the file open.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/handle_win32.h"
#include "support/temp_dir.h"

namespace {

TEST(FilesWin32Test, AFileHeldOpenKeepsItsContentAndNoTemporaryStays) {
  TempDir dir;
  const Text path = dir.File("trust.txt");
  ASSERT_TRUE(WriteFileBytes(path, BytesFromText("old")));
  for (DWORD sharing : {DWORD{0}, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE}}) {
    UniqueHandle holder(CreateFileW(Wide(path).c_str(), GENERIC_READ, sharing, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.valid());
    EXPECT_FALSE(WriteFileBytes(path, BytesFromText("new"))) << sharing;
  }
  EXPECT_EQ(ReadFileBytes(path), BytesFromText("old"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
