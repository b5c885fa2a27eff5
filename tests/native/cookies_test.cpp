#include "web/cookies.h"

#include <gtest/gtest.h>

namespace {

struct MergeCase {
  Text cookies, newCookies, merged, newCookiesAfter;
};

void PrintTo(const MergeCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.cookies) << " + " << ::testing::PrintToString(c.newCookies);
}

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, MergesIntoTheCookieText) {
  const MergeCase& c = GetParam();
  Text cookies = c.cookies, newCookies = c.newCookies;
  EXPECT_EQ(MergeCookies(cookies, newCookies), c.merged);
  EXPECT_EQ(cookies, c.merged);
  EXPECT_EQ(newCookies, c.newCookiesAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTest,
    ::testing::Values(
        MergeCase{"a=1; b=2; c=3", "b=9; c=deleted", "b=9; a=1", "b=9;c=deleted"},
        MergeCase{"", "", "", ""},
        // Of several old pairs with one name the first stays; old deleted pairs go too.
        MergeCase{"a=1; b = 2 ;a=3; c=deleted", "", "a=1; b=2", ""},
        MergeCase{"a=deleted; a=1", "", "", ""},
        MergeCase{"", "x=1; y=2;z=3", "x=1; y=2; z=3", "x=1;y=2;z=3"},
        // Spaces go everywhere, values included; tabs stay.
        MergeCase{"a=x y; b=1\t", "c=p　q", "c=pq; a=xy; b=1\t", "c=pq"},
        MergeCase{"", "a=DELETED;b=Deleted;c=deleteD", "a=DELETED; b=Deleted; c=deleteD",
                  "a=DELETED;b=Deleted;c=deleteD"},
        MergeCase{"a=1; b=2", "a=deleted", "b=2", "a=deleted"},
        MergeCase{"a=1", "a=2; a=3", "a=2; a=3", "a=2;a=3"},
        MergeCase{"a=1", "b=2; b=2", "b=2; a=1", "b=2;b=2"},
        MergeCase{"a=1;", "b=2;", "b=2; a=1", "b=2;"}, MergeCase{"a=1;;b=2", "", "a=1; ; b=2", ""},
        MergeCase{"flag; a=1", "flag", "flag; a=1", "flag"},
        // A trail byte that looks like "=" or ";" neither ends a name nor splits a pair.
        MergeCase{"\x81=a=1", "\x81=b=2", "\x81=b=2; \x81=a=1", "\x81=b=2"},
        MergeCase{"v=1", "k=\x81;v", "k=\x81;v; v=1", "k=\x81;v"}));

TEST(CookieNameTest, IsTheTrimmedTextBeforeTheFirstEquals) {
  EXPECT_EQ(CookieName(" a =1=2"), "a");
  EXPECT_EQ(CookieName("　flag "), "flag");
  EXPECT_EQ(CookieName("=x"), "");
  EXPECT_EQ(CookieName(""), "");
}

TEST(CookieListHasTest, ComparesNames) {
  const TextArray pairs = {" a =1", "flag"};
  EXPECT_TRUE(CookieListHas(pairs, "a"));
  EXPECT_TRUE(CookieListHas(pairs, "flag"));
  EXPECT_FALSE(CookieListHas(pairs, "A"));
  EXPECT_FALSE(CookieListHas(pairs, "a=1"));
  EXPECT_FALSE(CookieListHas({}, ""));
}

TEST(JoinDistinctTest, KeepsTheFirstOfEachPiece) {
  EXPECT_EQ(JoinDistinct("a; b; a; ; c; ; b; ", "; "), "a; b; ; c");
  EXPECT_EQ(JoinDistinct(";", ";"), "");
  EXPECT_EQ(JoinDistinct("", "; "), "");
  EXPECT_EQ(JoinDistinct("abab", ""), "abab");
}

TEST(FindInListTest, GivesTheFirstEqualItem) {
  const TextArray items = {"a", "", "a"};
  EXPECT_EQ(FindInList(items, "a"), 1);
  EXPECT_EQ(FindInList(items, ""), 2);
  EXPECT_EQ(FindInList(items, "A"), -1);
  EXPECT_EQ(FindInList({}, "a"), -1);
}

}  // namespace
