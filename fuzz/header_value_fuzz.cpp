// A header line's value: empty without a colon, else what follows the first colon with the spaces
// around it gone, and no space character at either end.
#include <cstdint>

#include "check.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  const Text value = HeaderValue(line);
  const int colon = Find(line, ":");
  if (colon < 0) {
    FUZZ_CHECK(value.empty());
    return 0;
  }
  const std::string_view after = std::string_view(line).substr(static_cast<size_t>(colon));
  FUZZ_CHECK(value == Trim(after));
  FUZZ_CHECK(after.find(value) != std::string_view::npos);
  FUZZ_CHECK(Trim(value) == value);
  FUZZ_CHECK(!value.starts_with(' ') && !value.starts_with("\xA1\xA1"));
  return 0;
}
