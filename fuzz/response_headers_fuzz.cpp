// What the web request reads out of a raw response header block: the returned cookies hold no
// line break, a managed cookie text comes out merged (no space character, nothing "=deleted"),
// the location is one line's value or, when that is empty, the whole block, a 301 is seen only
// where the block says "301", and the follow-up URL is the location with the old path after it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "check.h"
#include "web/fetch_rules.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool managed = input.ConsumeBool();
  Text cookies = input.ConsumeRandomLengthString(64);
  Text location = input.ConsumeRandomLengthString(16);
  const Text url = input.ConsumeRandomLengthString(64);
  const std::string headers = input.ConsumeRemainingBytesAsString();

  const Text locationBefore = location;
  Text returned = "stale";
  TakeResponseHeaders(headers, returned, managed ? &cookies : nullptr, location);
  // A merge takes the spaces out of the returned text too, which can bring a lone CR and a lone LF
  // of one line together: a line WinINet never hands over, as it ends its lines at every LF.
  const bool loneLineFeed = Find(Replace(headers, "\r\n", ""), "\n") > 0;
  FUZZ_CHECK(Find(returned, "\r\n") < 0 || (managed && loneLineFeed));
  if (managed) {
    FUZZ_CHECK(OnlySeparatorSpaces(cookies));
    for (const Text& pair : Split(cookies, "; ")) FUZZ_CHECK(!pair.ends_with("=deleted"));
  }
  const bool named = Find(headers, "Location:") > 0;
  if (named) {
    FUZZ_CHECK(Find(location, "\r\n") < 0 || location == headers);  // an empty value
  } else {
    FUZZ_CHECK(location == (locationBefore.empty() ? headers : locationBefore));
  }

  if (IsMovedPermanently(headers)) FUZZ_CHECK(Find(headers, "HTTP/1.1 301 Moved", 1, true) > 0);
  const Text next = FollowUpUrl(location, url);
  FUZZ_CHECK(next == location + UrlPath(url));

  const Bytes body(headers.begin(), headers.end());
  if (Find(headers, "utf-8", 1, true) > 0) FUZZ_CHECK(IsUtf8Body(body, headers));
  return 0;
}
