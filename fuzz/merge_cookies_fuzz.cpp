// Merging the cookies a response sets: the result is what the caller's text now holds, its only
// space characters are those of the "; " between pairs, no pair ends in "=deleted" or comes twice,
// and the result merged as the new pairs of an empty text comes back unchanged. (A pair that ends
// in a lone lead byte takes the ";" after it into its last character, so for such a result the
// joins cannot be told apart again; that input is not a text of code page 936. An empty last pair
// is kept in the result but, like any piece after a trailing separator, not split out again.)
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <set>

#include "check.h"
#include "web/cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  Text cookies = input.ConsumeRandomLengthString(256);
  Text newCookies = input.ConsumeRemainingBytesAsString();
  const Text merged = MergeCookies(cookies, newCookies);
  FUZZ_CHECK(merged == cookies);
  FUZZ_CHECK(!HasSpaceCharacter(newCookies));

  FUZZ_CHECK(OnlySeparatorSpaces(merged));
  std::set<Text> seen;
  for (const Text& pair : Split(merged, "; ")) {
    FUZZ_CHECK(!pair.ends_with("=deleted"));
    FUZZ_CHECK(seen.insert(pair).second);
  }
  const std::vector<bool> starts = CharacterStarts(merged);
  bool wholeJoins = !merged.ends_with("; ");
  for (size_t i = 0; i + 1 < merged.size(); ++i) {
    if (merged[i] == ';' && merged[i + 1] == ' ' && !starts[i]) wholeJoins = false;
  }
  Text none, again = merged;
  if (wholeJoins) FUZZ_CHECK(MergeCookies(none, again) == merged);
  return 0;
}
