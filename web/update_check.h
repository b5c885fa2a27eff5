#pragma once

// The tick of the main window's `时钟2`, 50 s after start: the one update check.
void CheckForUpdate();
