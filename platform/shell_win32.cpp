#include "platform/shell_win32.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "platform/com_ref_win32.h"
#include "platform/cp936_win32.h"
#include "platform/handle_win32.h"

namespace {

int ShowCommand(int showMode) {
  switch (showMode) {
    case 1:
      return SW_HIDE;
    case 2:
      return SW_SHOWMINNOACTIVE;
    default:
      return SW_SHOWNORMAL;
  }
}

// The CSIDL of the shell folder kinds; -1 for the kinds that are not shell folders.
int ShellFolderId(int kind) {
  static constexpr int kFolders[] = {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL, CSIDL_FAVORITES,
                                     CSIDL_DESKTOPDIRECTORY, CSIDL_FONTS,    CSIDL_STARTMENU,
                                     CSIDL_PROGRAMS,         CSIDL_STARTUP,  CSIDL_APPDATA};
  if (kind >= 0 && kind < static_cast<int>(std::size(kFolders))) return kFolders[kind];
  return kind == 12 ? CSIDL_INTERNET_CACHE : -1;
}

std::wstring FolderOfKind(int kind) {
  constexpr UINT kCapacity = MAX_PATH + 1;
  wchar_t buffer[kCapacity] = {};
  // These give the size they need, not zero, when the buffer is too small.
  const auto filled = [&](UINT size) { return size != 0 && size < kCapacity; };
  switch (kind) {
    case 9:
      return filled(GetWindowsDirectoryW(buffer, kCapacity)) ? buffer : L"";
    case 10:
      return filled(GetSystemDirectoryW(buffer, kCapacity)) ? buffer : L"";
    case 11:
      return filled(GetTempPathW(kCapacity, buffer)) ? buffer : L"";
  }
  const int folder = ShellFolderId(kind);
  if (folder < 0 || !SHGetSpecialFolderPathW(nullptr, buffer, folder, FALSE)) return L"";
  return buffer;
}

// The id of the first process of the snapshot that runs the executable, ignoring case.
std::optional<DWORD> FirstProcessNamed(HANDLE snapshot, const std::wstring& name) {
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more;
       more = Process32NextW(snapshot, &entry)) {
    if (CompareStringOrdinal(entry.szExeFile, -1, name.c_str(), static_cast<int>(name.size()),
                             TRUE) == CSTR_EQUAL) {
      return entry.th32ProcessID;
    }
  }
  return {};
}

}  // namespace

Win32Shell::~Win32Shell() {
  if (comInitialized_) CoUninitialize();
}

void Win32Shell::StartCom() {
  if (!comInitialized_)
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

void Win32Shell::ShellOpen(const Text& file, const Text& parameters, int showMode) {
  StartCom();
  const std::wstring wideParameters = Wide(parameters);
  ShellExecuteW(nullptr, L"open", Wide(file).c_str(),
                parameters.empty() ? nullptr : wideParameters.c_str(), L"", ShowCommand(showMode));
}

void Win32Shell::LocateFile(const Text& path) {
  StartCom();
  const std::unique_ptr<ITEMIDLIST, decltype(&ILFree)> item(ILCreateFromPathW(Wide(path).c_str()),
                                                            &ILFree);
  if (item) SHOpenFolderAndSelectItems(item.get(), 0, nullptr, 0);
}

bool Win32Shell::CreateShortcut(const Text& link, const Text& target, const Text& description) {
  StartCom();
  ComRef<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              shellLink.out()))) {
    return false;
  }
  shellLink->SetPath(Wide(target).c_str());
  shellLink->SetShowCmd(SW_SHOW);
  if (!description.empty()) shellLink->SetDescription(Wide(description).c_str());
  ComRef<IPersistFile> file;
  if (FAILED(shellLink->QueryInterface(IID_IPersistFile, file.out()))) return false;
  const Text path = link.find('.') == Text::npos ? link + ".lnk" : link;
  return SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

Text Win32Shell::GetSpecialFolder(int kind) {
  std::wstring folder = FolderOfKind(kind);
  if (folder.empty()) return "";
  if (folder.back() != L'\\') folder += L'\\';
  return Narrow(folder);
}

bool Win32Shell::EndProcessByName(const Text& name) {
  if (name.empty()) return false;
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return false;
  const std::optional<DWORD> id = FirstProcessNamed(snapshot.get(), Wide(name));
  if (!id) return true;  // none runs: nothing is left to end
  UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, *id));
  // An id that names no process any more: it ended after the snapshot.
  if (!process.valid()) return GetLastError() == ERROR_INVALID_PARAMETER;
  return TerminateProcess(process.get(), 0);
}
