// The alert window "发现新进程": the new processes of a scan, at the bottom right of the screen
// and above every other window, with ways to end, locate or trust them.
#pragma once

#include "platform/window_runtime.h"

WindowDesign AlertWindowDesign();

// How a scan hands over its new processes: the window opens with them, or, when it is open
// already, lists those it does not list yet and comes to the front.
void RaiseAlertWindow();
