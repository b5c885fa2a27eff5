// The Win32 shell on Wine: special folders, real shell links read back through the shell-link
// object, and real processes started and ended.
#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "monitor/process_parameter_win32.h"
#include "platform/com_ref_win32.h"
#include "platform/cp936_win32.h"
#include "platform/files.h"
#include "platform/handle_win32.h"
#include "platform/shell_win32.h"
#include "support/temp_dir.h"
#include "windows/child_process.h"

namespace {

namespace fs = std::filesystem;
using ::testing::EndsWith;
using ::testing::StartsWith;

struct Listed {
  DWORD id;
  std::wstring name;
};

// The processes in the order a fresh snapshot lists them.
std::vector<Listed> Snapshot() {
  std::vector<Listed> processes;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    processes.push_back({entry.th32ProcessID, entry.szExeFile});
  }
  return processes;
}

class ShellWin32Test : public ::testing::Test {
 protected:
  Text Path(const Text& name) const { return Narrow(dir.path().wstring()) + "\\" + name; }

  // test_helper.exe under a name of this test run's own, so that ending processes by name cannot
  // reach the helpers of other tests.
  fs::path Helper() {
    const fs::path helper =
        dir.path() / (L"Helper岫灯-" + std::to_wstring(GetCurrentProcessId()) + L".exe");
    if (!fs::exists(helper)) fs::copy_file(HelperPath(), helper);
    return helper;
  }

  TempDir dir;  // outlives the processes started from it
  Win32Shell shell;
};

TEST_F(ShellWin32Test, SpecialFoldersEndInOneBackslash) {
  std::set<Text> folders;
  for (int kind = 1; kind <= 12; ++kind) {
    const Text folder = shell.GetSpecialFolder(kind);
    SCOPED_TRACE(kind);
    const std::wstring wide = Wide(folder);
    ASSERT_GE(wide.size(), 4u);
    EXPECT_EQ(wide.back(), L'\\');
    EXPECT_NE(wide[wide.size() - 2], L'\\');
    folders.insert(folder);
  }
  EXPECT_EQ(folders.size(), 12u) << "every kind has a folder of its own";
  EXPECT_EQ(shell.GetSpecialFolder(0), shell.GetSpecialFolder(3));
  // Folders that lie inside others.
  EXPECT_THAT(shell.GetSpecialFolder(4), StartsWith(shell.GetSpecialFolder(9)));
  EXPECT_THAT(shell.GetSpecialFolder(10), StartsWith(shell.GetSpecialFolder(9)));
  EXPECT_THAT(shell.GetSpecialFolder(6), StartsWith(shell.GetSpecialFolder(5)));
  EXPECT_THAT(shell.GetSpecialFolder(7), StartsWith(shell.GetSpecialFolder(6)));
  for (int kind : {-1, 13, 100}) EXPECT_EQ(shell.GetSpecialFolder(kind), "") << kind;
}

struct LinkContent {
  std::wstring target, description;
  DWORD showCommand = 0;
};

// Where the header of a shell link file keeps the show command (a little-endian DWORD).
constexpr size_t kShowCommandAt = 0x3C;

LinkContent ReadLink(const Text& path) {
  LinkContent content;
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;
  wchar_t text[MAX_PATH] = {};
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              link.out())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.out())) ||
      FAILED(file->Load(Wide(path).c_str(), STGM_READ))) {
    return content;
  }
  if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) content.target = text;
  if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) content.description = text;
  // Loading reports SW_SHOWNORMAL for SW_SHOW (under Wine), so the saved header field is read.
  const Bytes bytes = ReadFileBytes(path);
  if (bytes.size() >= kShowCommandAt + sizeof content.showCommand) {
    std::memcpy(&content.showCommand, bytes.data() + kShowCommandAt, sizeof content.showCommand);
  }
  return content;
}

TEST_F(ShellWin32Test, ShortcutsAreRealShellLinks) {
  // A dot anywhere in the path keeps it as it is.
  ASSERT_EQ(Path("").find('.'), Text::npos) << "the test needs a temporary directory without dots";
  const Text target = Path("新岫灯.exe");
  ASSERT_TRUE(WriteFileBytes(target, BytesFromText("MZ")));
  const struct {
    Text link, description, file;
  } cases[] = {
      {"岫灯软件.lnk", "新岫灯", "岫灯软件.lnk"},
      {"岫灯软件", "", "岫灯软件.lnk"},
      {"岫灯.快捷方式", "新岫灯", "岫灯.快捷方式"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    DeleteFileAt(Path(c.file));  // the first two write the same file
    EXPECT_TRUE(shell.CreateShortcut(Path(c.link), target, c.description));
    const LinkContent content = ReadLink(Path(c.file));
    EXPECT_EQ(Narrow(content.target), target);
    EXPECT_EQ(Narrow(content.description), c.description);
    EXPECT_EQ(content.showCommand, static_cast<DWORD>(SW_SHOW));
  }
  EXPECT_FALSE(PathExists(Path("岫灯软件")));
}

TEST_F(ShellWin32Test, AShortcutInAMissingDirectoryFails) {
  const Text link = Path("missing") + "\\岫灯软件.lnk";
  EXPECT_FALSE(shell.CreateShortcut(link, Path("x.exe"), "新岫灯"));
  EXPECT_FALSE(PathExists(Path("missing")));
}

TEST_F(ShellWin32Test, EndsTheFirstProcessOfTheNameWhateverItsCase) {
  ChildProcess first(Helper()), second(Helper());
  ASSERT_TRUE(first.Running());
  ASSERT_TRUE(second.Running());
  const std::vector<Listed> listed = Snapshot();
  const auto position = [&](DWORD id) {
    return std::find_if(listed.begin(), listed.end(), [&](const Listed& p) { return p.id == id; });
  };
  ASSERT_NE(position(first.id()), listed.end());
  ASSERT_NE(position(second.id()), listed.end());
  const bool firstIsEarlier = position(first.id()) < position(second.id());
  ChildProcess& earlier = firstIsEarlier ? first : second;
  ChildProcess& later = firstIsEarlier ? second : first;

  EXPECT_FALSE(shell.EndProcessByName(""));
  EXPECT_TRUE(earlier.Running());
  EXPECT_TRUE(later.Running());

  std::wstring name = Helper().filename().wstring();
  CharUpperW(name.data());
  EXPECT_TRUE(shell.EndProcessByName(Narrow(name)));
  EXPECT_TRUE(earlier.Ended());
  EXPECT_EQ(earlier.ExitCode(), 0u);
  EXPECT_TRUE(later.Running());

  EXPECT_TRUE(shell.EndProcessByName(Narrow(name)));
  EXPECT_TRUE(later.Ended());
  EXPECT_TRUE(shell.EndProcessByName(Narrow(name))) << "none runs: nothing is left to end";
}

TEST_F(ShellWin32Test, ShellOpenStartsTheProgramWithItsParameters) {
  shell.ShellOpen(Narrow(Helper().wstring()), "30001", 1);
  DWORD id = 0;
  for (int attempt = 0; attempt < 500 && id == 0; ++attempt) {
    for (const Listed& process : Snapshot()) {
      if (process.name == Helper().filename()) id = process.id;
    }
    if (id == 0) Sleep(10);
  }
  ASSERT_NE(id, 0u);
  ChildProcess started(id);
  Text commandLine;
  for (int attempt = 0; attempt < 500 && commandLine.empty(); ++attempt) {
    commandLine = ReadProcessParameter(id, kCommandLine);
    if (commandLine.empty()) Sleep(10);
  }
  EXPECT_THAT(commandLine, EndsWith(" 30001"));
}

}  // namespace
