#include "platform/cp936_win32.h"

#include <windows.h>

namespace {
constexpr UINT kCodePage = 936;
}

std::wstring Wide(std::string_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  std::wstring wide(MultiByteToWideChar(kCodePage, 0, text.data(), size, nullptr, 0), L'\0');
  MultiByteToWideChar(kCodePage, 0, text.data(), size, wide.data(), static_cast<int>(wide.size()));
  return wide;
}

Text Narrow(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  Text narrow(WideCharToMultiByte(kCodePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr),
              '\0');
  WideCharToMultiByte(kCodePage, 0, text.data(), size, narrow.data(),
                      static_cast<int>(narrow.size()), nullptr, nullptr);
  return narrow;
}
