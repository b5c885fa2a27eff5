// Drives a running program from outside, the way a person would: finds its windows and
// controls, clicks and types with real input, and reads its list views across the process
// boundary.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/handle_win32.h"

namespace driver {

// Polls `found` every 50 ms until it gives true or the time is up.
inline bool WaitFor(const std::function<bool()>& found, int milliseconds = 10000) {
  for (int waited = 0; waited < milliseconds; waited += 50) {
    if (found()) return true;
    Sleep(50);
  }
  return found();
}

inline std::wstring TextOf(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 512);
  return text;
}

inline std::wstring ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

inline DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process;
}

// The visible top-level window of the process with that title and class (any class when empty).
inline HWND TopWindow(DWORD process, const std::wstring& title,
                      const std::wstring& className = L"") {
  struct Search {
    DWORD process;
    const std::wstring& title;
    const std::wstring& className;
    HWND found;
  } search{process, title, className, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        if (IsWindowVisible(window) && ProcessOf(window) == s.process &&
            TextOf(window) == s.title && (s.className.empty() || ClassOf(window) == s.className)) {
          s.found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND WaitForTopWindow(DWORD process, const std::wstring& title,
                             const std::wstring& className = L"", int milliseconds = 10000) {
  HWND window = nullptr;
  WaitFor([&] { return (window = TopWindow(process, title, className)) != nullptr; }, milliseconds);
  return window;
}

// The child with that class and, when given, that text.
inline HWND Child(HWND parent, const std::wstring& className, const std::wstring& text = L"") {
  HWND child = nullptr;
  while ((child = FindWindowExW(parent, child, className.c_str(), nullptr)) != nullptr) {
    if (text.empty() || TextOf(child) == text) return child;
  }
  return nullptr;
}

inline void Click(HWND button) {
  PostMessageW(button, BM_CLICK, 0, 0);
}

// Real input: the mouse moves to the screen point and clicks there.
inline void MouseClick(POINT at, bool right = false) {
  SetCursorPos(at.x, at.y);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  SendInput(2, input, sizeof(INPUT));
}

inline void Key(WORD key) {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = key;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

// Memory in the other process, for the list-view messages that pass pointers.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size)
      : process_(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                             ProcessOf(window))),
        size_(size),
        address_(process_.valid()
                     ? VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE)
                     : nullptr) {}
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }

  char* address() const { return static_cast<char*>(address_); }
  void Write(SIZE_T offset, const void* data, SIZE_T size) {
    WriteProcessMemory(process_.get(), address() + offset, data, size, nullptr);
  }
  void Read(SIZE_T offset, void* data, SIZE_T size) {
    ReadProcessMemory(process_.get(), address() + offset, data, size, nullptr);
  }

 private:
  UniqueHandle process_;
  SIZE_T size_;
  void* address_;
};

using ListRow = std::array<std::wstring, 2>;

inline std::vector<ListRow> ReadList(HWND list) {
  constexpr int kChars = 1024;
  RemoteMemory memory(list, sizeof(LVITEMW) + kChars * sizeof(wchar_t));
  std::vector<ListRow> rows(static_cast<size_t>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)));
  for (size_t row = 0; row < rows.size(); ++row) {
    for (int column = 0; column < 2; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.pszText = reinterpret_cast<wchar_t*>(memory.address() + sizeof(LVITEMW));
      item.cchTextMax = kChars;
      memory.Write(0, &item, sizeof item);
      const auto length =
          SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(memory.address()));
      std::wstring text(static_cast<size_t>(length), L'\0');
      memory.Read(sizeof(LVITEMW), text.data(), text.size() * sizeof(wchar_t));
      rows[row][column] = text;
    }
  }
  return rows;
}

// The centre of a row, in screen coordinates.
inline POINT RowCentre(HWND list, int row) {
  RemoteMemory memory(list, sizeof(RECT));
  RECT rect{LVIR_LABEL, 0, 0, 0};
  memory.Write(0, &rect, sizeof rect);
  SendMessageW(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(memory.address()));
  memory.Read(0, &rect, sizeof rect);
  POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  ClientToScreen(list, &centre);
  return centre;
}

}  // namespace driver
