// Host, port and path of any text taken as a URL: the host is lower case, holds no "/" and, without
// its port, no ":"; the reduced host has at most one dot outside its port; the port is the
// scheme's when the host names none; the path is "/" or a tail of the URL that starts with "/".
#include <cstdint>

#include "check.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string url(reinterpret_cast<const char*>(data), size);
  const Text host = UrlHost(url), withPort = UrlHost(url, false, true);
  FUZZ_CHECK(Lower(host) == host && Lower(withPort) == withPort);
  FUZZ_CHECK(Find(host, "/") < 0 && Find(withPort, "/") < 0);
  FUZZ_CHECK(Find(host, ":") < 0);
  FUZZ_CHECK(withPort.starts_with(host));

  const Text domain = UrlHost(url, true, true);
  const int colon = Find(domain, ":");
  const Text domainName = colon < 0 ? domain : domain.substr(0, static_cast<size_t>(colon) - 1);
  FUZZ_CHECK(Split(domainName, ".").size() <= 2);

  const int port = UrlPort(url);
  if (FindLast(withPort, ":") < 0) FUZZ_CHECK(port == 80 || port == 443);

  const Text path = UrlPath(url);
  FUZZ_CHECK(path.starts_with('/'));
  FUZZ_CHECK(path == "/" || url.ends_with(path));
  return 0;
}
