// The trust list while another process holds it open without sharing it, as an editor or a
// virus scanner may: trusting fails and not a byte of the list is lost.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>

#include "monitor/trust_list.h"
#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/handle_win32.h"
#include "support/temp_dir.h"
#include "windows/child_process.h"

namespace {

// True once nobody may open the file any more, within 10 s.
bool BecomesLocked(const Text& path) {
  for (int i = 0; i < 1000; ++i) {
    UniqueHandle probe(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe.valid() && GetLastError() == ERROR_SHARING_VIOLATION) return true;
    Sleep(10);
  }
  return false;
}

TEST(TrustListWin32Test, AListLockedByAnotherProcessIsNeitherReadNorReplaced) {
  TempDir dir;
  const Text path = TrustFilePath(Narrow(dir.path().wstring()));
  const Bytes list = BytesFromText(Text(kTrustHeader) + "\r\nmine.exe");
  ASSERT_TRUE(WriteFileBytes(path, list));
  {
    ChildProcess holder(HelperPath(), {}, L"30000 \"" + Wide(path) + L"\"");
    ASSERT_TRUE(BecomesLocked(path)) << "the helper ended with " << holder.ExitCode();
    EXPECT_FALSE(TryReadFileBytes(path));
    EXPECT_FALSE(AppendTrustedName(path, "a.exe"));
    EnsureTrustFile(path);
  }
  EXPECT_EQ(ReadFileBytes(path), list);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  EXPECT_TRUE(AppendTrustedName(path, "a.exe")) << "free again once the holder ends";
}

}  // namespace
