// Start with Windows: a shortcut in the user's Startup folder, and a one-byte marker file that
// the next start reads.
#pragma once

#include "base/text.h"

inline constexpr char kShortcutName[] = "岫灯软件.lnk";

// True when the marker holds exactly "1" (up to its first zero byte).
bool ReadAutoStartMarker(const Text& markerPath);

// The clicked handler of the check box `选择框1`: the box already shows its new state.
void AutoStartClicked();
