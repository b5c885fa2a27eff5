#include "base/text.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// "\x81\\" is one two-byte character whose trail byte is a backslash.
const Text kTrailBackslash = "\x81\\";

TEST(TextTest, LiteralsAreCodePage936) {
  EXPECT_EQ(Text("中"), "\xD6\xD0");
  EXPECT_EQ(Text("　"), "\xA1\xA1");
}

struct FindCase {
  Text text, needle;
  int start;
  bool ignoreCase;
  int expected;
};

void PrintTo(const FindCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.text) << " / " << ::testing::PrintToString(c.needle)
       << " from " << c.start << (c.ignoreCase ? ", ignoring case" : "");
}

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, MatchesOnlyWhereACharacterBegins) {
  const FindCase& c = GetParam();
  EXPECT_EQ(Find(c.text, c.needle, c.start, c.ignoreCase), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    ::testing::Values(
        FindCase{"abcabc", "abc", 1, false, 1}, FindCase{"abcabc", "abc", 2, false, 4},
        FindCase{"abcabc", "abc", 0, false, 1}, FindCase{"abcabc", "abc", -5, false, 1},
        FindCase{"abc", "c", 4, false, -1}, FindCase{"abc", "", 1, false, -1},
        FindCase{"", "a", 1, false, -1},
        // A trail byte equal to the needle is no match; the same byte standing alone is.
        FindCase{"a" + kTrailBackslash + "b", "\\", 1, false, -1},
        FindCase{"a" + kTrailBackslash + "b\\", "\\", 1, false, 5},
        FindCase{kTrailBackslash + kTrailBackslash + "\\", "\\", 1, false, 5},
        // The last byte of one character and the first of the next are no character.
        FindCase{"中文", "\xD0\xCE", 1, false, -1}, FindCase{"中文", "文", 1, false, 3},
        // A lone lead byte at the end never pulls in a byte past the end.
        FindCase{"ab\xB0", "\xB0", 1, false, 3}, FindCase{"ab\xB0", "\xB0\xA1", 1, false, -1},
        // Only single-byte ASCII letters fold.
        FindCase{"ABC", "b", 1, false, -1}, FindCase{"ABC", "b", 1, true, 2},
        FindCase{"x\x81"
                 "a",
                 "\x81"
                 "A",
                 1, true, -1},
        FindCase{"x\xC4\xE3", "\xC4\xE3", 1, true, 2},
        FindCase{"a" + kTrailBackslash + "\\", "\\", 1, true, 4}));

// The one-byte-at-a-time reading of the rule, to hold the fast search against.
int SteppingFind(const Text& text, const Text& needle) {
  for (size_t i = 0; i < text.size(); i += IsLeadByte(text[i]) ? 2 : 1) {
    if (text.compare(i, needle.size(), needle) == 0 && i + needle.size() <= text.size()) {
      return static_cast<int>(i + 1);
    }
  }
  return -1;
}

TEST(TextTest, FastSearchAgreesWithSteppingSearch) {
  const char alphabet[] = {'a', 'b', '\\', '\x81', '\xA1', '\xB0'};
  std::mt19937 random(7);
  auto draw = [&](size_t maxLength) {
    Text text(random() % (maxLength + 1), ' ');
    for (char& byte : text) byte = alphabet[random() % sizeof alphabet];
    return text;
  };
  for (int i = 0; i < 50000; ++i) {
    const Text text = draw(14), needle = draw(3);
    if (needle.empty()) continue;
    ASSERT_EQ(Find(text, needle), SteppingFind(text, needle))
        << testing::PrintToString(text) << " / " << needle;
  }
}

TEST(TextTest, FindLastTakesTheLastMatchWhereACharacterBegins) {
  EXPECT_EQ(FindLast("a:b:c", ":"), 4);
  EXPECT_EQ(FindLast("a:" + kTrailBackslash, "\\"), -1);
  EXPECT_EQ(FindLast("a\\" + kTrailBackslash, "\\"), 2);
  EXPECT_EQ(FindLast("中中", "中"), 3);
  EXPECT_EQ(FindLast("aaa", "aa"), 2);
  EXPECT_EQ(FindLast("abc", ":"), -1);
  EXPECT_EQ(FindLast("abc", ""), -1);
}

TEST(TextTest, OccursInIsASubstringTest) {
  EXPECT_TRUE(OccursIn("host.exe", "\r\nsvchost.exe"));
  EXPECT_FALSE(OccursIn("NOTEPAD.EXE", "\r\nnotepad.exe"));
  EXPECT_FALSE(OccursIn("a.exe", ""));
}

TEST(TextTest, ReplaceIsExactAndDoesNotOverlap) {
  EXPECT_EQ(Replace("#引号a#引号", "#引号", "\""), "\"a\"");
  EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
  EXPECT_EQ(Replace("#引号", "#引", "x"), "x号");
  EXPECT_EQ(Replace("abc", "", "x"), "abc");
}

TEST(TextTest, TrimTakesAsciiAndFullWidthSpacesOnly) {
  EXPECT_EQ(Trim("　 ab c 　"), "ab c");
  EXPECT_EQ(Trim("\t ab\r\n"), "\t ab\r\n");
  EXPECT_EQ(Trim("  　"), "");
  // B0 A1 is a character, so the A1 A1 that follows it is a space and the one inside it is not.
  EXPECT_EQ(Trim("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
  EXPECT_EQ(Trim("x\xB0\xA1\xA1"), "x\xB0\xA1\xA1");
}

TEST(TextTest, RemoveSpacesDeletesBothKinds) {
  EXPECT_EQ(RemoveSpaces(" a b　c\t"), "abc\t");
  EXPECT_EQ(RemoveSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

TEST(TextTest, LowerChangesOnlyAsciiLetters) {
  EXPECT_EQ(Lower("AbC中Z"), "abc中z");
  EXPECT_EQ(Lower("\x81"
                  "A"),
            "\x81"
            "A");
}

TEST(TextTest, SplitKeepsLeadingAndInnerEmptyPieces) {
  EXPECT_THAT(Split("a,,b,", ","), ElementsAre("a", "", "b"));
  EXPECT_THAT(Split(",a", ","), ElementsAre("", "a"));
  EXPECT_THAT(Split(",", ","), ElementsAre(""));
  EXPECT_THAT(Split("", ","), IsEmpty());
  EXPECT_THAT(Split("ab", ""), ElementsAre("ab"));
  EXPECT_THAT(Split("a\r\nb", "\r\n"), ElementsAre("a", "b"));
  EXPECT_THAT(Split(kTrailBackslash + "\\x", "\\"), ElementsAre(kTrailBackslash, "x"));
}

TEST(TextTest, BytesAndTextMeetAtTheFirstZeroByte) {
  EXPECT_EQ(TextFromBytes(Bytes{'a', 0, 'b'}), "a");
  EXPECT_EQ(TextFromBytes(Bytes{'a', 'b'}), "ab");
  EXPECT_EQ(TextFromBytes(Bytes{}), "");
  EXPECT_EQ(BytesFromText("中"), (Bytes{0xD6, 0xD0}));
}

}  // namespace
