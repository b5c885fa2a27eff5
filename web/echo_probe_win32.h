#pragma once

#include "base/text.h"

// Sends one ICMP echo request without payload to `host` (a dotted IPv4 address, else resolved by
// name) and waits at most `timeoutMs` for the reply. The round trip in milliseconds that the first
// reply reports, whatever its status; -1 when Winsock or ICMP cannot be used, the name does not
// resolve or no reply came in time.
int EchoRoundTrip(const Text& host, int timeoutMs);
