// The one update check, armed when the main window is created: when the profile page comes back
// without the marker word while the probe host answers an echo request, the user is asked to
// download the newest version, the download page opens and the program ends.
#pragma once

#include <functional>

#include "base/text.h"

// Where the check looks and the two network operations it rests on. Program start installs the
// Win32 ones with the endpoints of the build (CMakeLists.txt); the tests script their own.
struct UpdateCheckSetup {
  int delayMs = 50000;  // from the main window's creation to the check
  Text profileUrl, downloadPageUrl, probeHost;
  std::function<Bytes(const Text& url)> fetch;               // a GET with no options
  std::function<int(const Text& host, int timeoutMs)> echo;  // round trip in ms, -1: no reply
};

extern UpdateCheckSetup updateCheck;

// The tick of the main window's `时钟2`.
void CheckForUpdate();

// The body of a GET of `url` up to its first zero byte; empty when the request fails.
Text FetchUrlText(const Text& url);

// The probe host answers an echo request within `timeoutMs`, or 2000 ms without `useTimeout`.
// Pending events are dispatched first, since the probe blocks the GUI thread.
bool IsInternetReachable(int timeoutMs, bool useTimeout);
