// The program's texts are code page 936 whatever the system's ANSI code page is, so every
// crossing into the W functions of Windows converts explicitly.
#pragma once

#include <string>
#include <string_view>

#include "base/text.h"

std::wstring Wide(std::string_view text);
// Characters that code page 936 cannot hold come out as its default character.
Text Narrow(std::wstring_view text);
