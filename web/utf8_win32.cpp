// The two conversions of the charset rule, over the platform's code-page conversion.
#include <windows.h>

#include <climits>

#include "web/fetch_url.h"

Bytes Utf8ToUnicode(const Bytes& utf8) {
  if (utf8.empty() || utf8.size() > INT_MAX) return {};
  const auto* input = reinterpret_cast<const char*>(utf8.data());
  const int size = static_cast<int>(utf8.size());
  const int units = MultiByteToWideChar(CP_UTF8, 0, input, size, nullptr, 0);
  if (units <= 0) return {};
  Bytes wide(static_cast<size_t>(units) * 2);
  MultiByteToWideChar(CP_UTF8, 0, input, size, reinterpret_cast<wchar_t*>(wide.data()), units);
  return wide;
}

Bytes Utf8ToAnsi(const Bytes& utf8) {
  constexpr UINT kCodePage = 936;  // the program's texts, whatever the system's ANSI code page
  const Bytes wide = Utf8ToUnicode(utf8);
  const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
  const int count = static_cast<int>(wide.size() / 2);
  const int size =
      WideCharToMultiByte(kCodePage, WC_COMPOSITECHECK, units, count, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  Bytes narrow(static_cast<size_t>(size));
  WideCharToMultiByte(kCodePage, WC_COMPOSITECHECK, units, count,
                      reinterpret_cast<char*>(narrow.data()), size, nullptr, nullptr);
  return narrow;
}
