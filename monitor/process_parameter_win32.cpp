#include "monitor/process_parameter_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/cp936_win32.h"
#include "platform/handle_win32.h"

extern "C" {
LONG NTAPI ZwQueryInformationProcess(HANDLE process, ULONG infoClass, PVOID info, ULONG length,
                                     PULONG returned);
LONG NTAPI NtReadVirtualMemory(HANDLE process, PVOID address, PVOID buffer, SIZE_T size,
                               PSIZE_T read);
}

namespace {

constexpr ULONG kProcessBasicInformation = 0;
constexpr ULONG kProcessWow64Information = 26;

// The longest path Windows knows, 32,767 UTF-16 units, and its terminator. The region that holds
// the text is the other process's to size, so nothing beyond this is ever read.
constexpr SIZE_T kMaxTextBytes = (32767 + 1) * sizeof(WCHAR);

// Where the parameter block sits in the PEB, and where each kind's buffer address sits in the
// parameter block, for the 32-bit and the 64-bit layouts.
struct Layout {
  std::uint64_t parameters;
  std::uint64_t text[3];
  SIZE_T pointerSize;
};
constexpr Layout kLayout32 = {0x10, {0x44, 0x3C, 0x28}, 4};
[[maybe_unused]] constexpr Layout kLayout64 = {0x20, {0x78, 0x68, 0x40}, 8};

struct BasicInformation {
  LONG_PTR exitStatus;
  ULONG_PTR pebBaseAddress;
  ULONG_PTR affinityMask;
  LONG_PTR basePriority;
  ULONG_PTR uniqueProcessId;
  ULONG_PTR parentProcessId;
};

PVOID AsAddress(std::uint64_t address) {
  return reinterpret_cast<PVOID>(static_cast<ULONG_PTR>(address));
}

// A failed read leaves zeros, so the next read of a chain fails as well.
std::uint64_t ReadPointer(HANDLE process, std::uint64_t address, SIZE_T size) {
  unsigned char bytes[8] = {};
  NtReadVirtualMemory(process, AsAddress(address), bytes, size, nullptr);
  std::uint64_t value = 0;
  for (SIZE_T i = size; i-- > 0;) value = value << 8 | bytes[i];
  return value;
}

// The target's PEB and the layout it is read with. A 64-bit build reads a WOW64 target through
// its 32-bit PEB.
std::uint64_t FindPeb(HANDLE process, const Layout*& layout) {
#ifdef _WIN64
  ULONG_PTR peb32 = 0;
  ZwQueryInformationProcess(process, kProcessWow64Information, &peb32, sizeof peb32, nullptr);
  if (peb32 != 0) {
    layout = &kLayout32;
    return peb32;
  }
  layout = &kLayout64;
#else
  layout = &kLayout32;
#endif
  BasicInformation information{};
  ZwQueryInformationProcess(process, kProcessBasicInformation, &information, sizeof information,
                            nullptr);
  return information.pebBaseAddress;
}

}  // namespace

Text ReadProcessParameter(std::uint32_t processId, int kind) {
  if (kind < kCommandLine || kind > kCurrentDirectory) return {};
  UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId));
  if (!process.valid()) return {};

  const Layout* layout = nullptr;
  const std::uint64_t peb = FindPeb(process.get(), layout);
  const std::uint64_t parameters =
      ReadPointer(process.get(), peb + layout->parameters, layout->pointerSize);
  const std::uint64_t text =
      ReadPointer(process.get(), parameters + layout->text[kind], layout->pointerSize);
  if (text == 0) return {};

  MEMORY_BASIC_INFORMATION region{};
  if (VirtualQueryEx(process.get(), AsAddress(text), &region, sizeof region) == 0) return {};
  const std::uint64_t regionEnd =
      reinterpret_cast<ULONG_PTR>(region.BaseAddress) + region.RegionSize;
  if (regionEnd <= text) return {};

  Bytes bytes(std::min<std::uint64_t>(regionEnd - text, kMaxTextBytes), 0);
  NtReadVirtualMemory(process.get(), AsAddress(text), bytes.data(), bytes.size(), nullptr);
  return UnicodeToAnsi(bytes);
}

Text UnicodeToAnsi(const Bytes& bytes) {
  if (bytes.size() < sizeof(wchar_t)) return {};
  std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(units.data(), bytes.data(), units.size() * sizeof(wchar_t));
  return Narrow(std::wstring_view(units.c_str()));
}
