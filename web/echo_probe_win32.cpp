#include "web/echo_probe_win32.h"

#include <windows.h>
#include <winsock2.h>
// The address and reply types, which icmpapi.h uses without including them.
#include <ipexport.h>

#include <icmpapi.h>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

class IcmpHandle {
 public:
  IcmpHandle() : handle_(IcmpCreateFile()) {}
  IcmpHandle(const IcmpHandle&) = delete;
  IcmpHandle& operator=(const IcmpHandle&) = delete;
  ~IcmpHandle() {
    if (valid()) IcmpCloseHandle(handle_);
  }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// Started once for the process and left to end with it: the probe needs no more than 1.1.
bool WinsockReady() {
  static const bool ready = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(1, 1), &data) == 0;
  }();
  return ready;
}

// A dotted address as it is, else the first IPv4 address of the name.
std::optional<IPAddr> Resolve(const Text& host) {
  const unsigned long address = inet_addr(host.c_str());
  if (address != INADDR_NONE) return address;
  const hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list[0]) return std::nullopt;
  IPAddr resolved;
  std::memcpy(&resolved, entry->h_addr_list[0], sizeof resolved);
  return resolved;
}

}  // namespace

int EchoRoundTrip(const Text& host, int timeoutMs) {
  if (!WinsockReady()) return -1;
  const std::optional<IPAddr> address = Resolve(host);
  if (!address) return -1;
  IcmpHandle icmp;
  if (!icmp.valid()) return -1;
  // One reply and 8 bytes for an ICMP error. That is 36 bytes on x86; on x86-64 the reply holds
  // two pointers and is 40 bytes, so a fixed 36 would be too small there.
  alignas(ICMP_ECHO_REPLY) unsigned char reply[sizeof(ICMP_ECHO_REPLY) + 8] = {};
  const DWORD replies = IcmpSendEcho(icmp.get(), *address, nullptr, 0, nullptr, reply, sizeof reply,
                                     static_cast<DWORD>(std::max(timeoutMs, 0)));
  if (replies == 0) return -1;
  return static_cast<int>(reinterpret_cast<const ICMP_ECHO_REPLY*>(reply)->RoundTripTime);
}
