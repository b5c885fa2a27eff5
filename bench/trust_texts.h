// Trust texts of a given size, made the way users make them: the header line, then one process
// name per line, mostly ASCII with a Chinese name now and then.
#pragma once

#include <cstddef>
#include <random>

#include "base/text.h"
#include "monitor/trust_list.h"

inline Text MakeTrustText(std::size_t size) {
  std::mt19937 random(20240601);
  const char letters[] = "abcdefghijklmnopqrstuvwxyz_0123456789";
  Text text = kTrustHeader;
  while (text.size() < size) {
    if (random() % 8 == 0) {
      text += "更新程序";  // two-byte characters in the build's code page 936
    }
    const std::size_t length = 4 + random() % 12;
    for (std::size_t i = 0; i < length; ++i) text += letters[random() % (sizeof letters - 1)];
    text += ".exe\r\n";
  }
  text.resize(size);
  // A cut through a two-byte character would leave a lone lead byte, which no name begins with.
  return text;
}

// A name that occurs nowhere, so that every search runs over the whole text.
inline constexpr char kAbsentName[] = "xiudeng_absent.exe";
