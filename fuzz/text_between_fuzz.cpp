// The text between two markers: a piece of the source that starts right after a match of the left
// marker and ends right before the first match of the right one, so it never holds the right
// marker itself. "#引号" (written here in code page 936 bytes) stands for a double quote.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

#include "check.h"
#include "web/url.h"

namespace {

constexpr char kQuoteWord[] = "#\xD2\xFD\xBA\xC5";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const bool caseSensitive = input.ConsumeBool();
  const int start = input.ConsumeIntegralInRange<int>(-2, 64);
  const std::string left = input.ConsumeRandomLengthString(8);
  const std::string right = input.ConsumeRandomLengthString(8);
  const std::string source = input.ConsumeRemainingBytesAsString();

  const Text between = TextBetween(source, left, right, start, caseSensitive);
  const Text l = Replace(left, kQuoteWord, "\""), r = Replace(right, kQuoteWord, "\"");
  const int p = Find(source, l, start, !caseSensitive);
  if (p < 0 || Find(source, r, p + static_cast<int>(l.size()), !caseSensitive) < 0) {
    FUZZ_CHECK(between.empty());
    return 0;
  }
  const size_t begin = static_cast<size_t>(p) - 1 + l.size();
  FUZZ_CHECK(source.compare(begin, between.size(), between) == 0);
  // Searched from where the piece begins, the right marker is found only where the piece ends.
  FUZZ_CHECK(Find(source, r, static_cast<int>(begin) + 1, !caseSensitive) ==
             static_cast<int>(begin + between.size()) + 1);
  FUZZ_CHECK(Find(between, r, 1, !caseSensitive) < 0);
  // With the quote word written out, the caller's markers give the same piece.
  FUZZ_CHECK(TextBetween(source, l, r, start, caseSensitive) == between);
  return 0;
}
