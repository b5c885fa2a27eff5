#include "web/url.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// "\x81[" and "\x81]" are two-byte characters whose trail bytes look like the markers.
const Text kTrailOpen = "\x81[", kTrailClose = "\x81]";

struct UrlCase {
  Text url, host, domain, hostWithPort;
  int port;
  Text path;
};

void PrintTo(const UrlCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.url);
}

class UrlTest : public ::testing::TestWithParam<UrlCase> {};

TEST_P(UrlTest, TakesTheUrlApart) {
  const UrlCase& c = GetParam();
  EXPECT_EQ(UrlHost(c.url), c.host);
  EXPECT_EQ(UrlHost(c.url, true), c.domain);
  EXPECT_EQ(UrlHost(c.url, false, true), c.hostWithPort);
  EXPECT_EQ(UrlPort(c.url), c.port);
  EXPECT_EQ(UrlPath(c.url), c.path);
}

INSTANTIATE_TEST_SUITE_P(WorkedExamples, UrlTest,
                         ::testing::Values(UrlCase{"HTTPS://Mail.A.B:8443/Inbox?id=7", "mail.a.b",
                                                   "a.b", "mail.a.b:8443", 8443, "/Inbox?id=7"},
                                           UrlCase{"http://a.b", "a.b", "a.b", "a.b", 80, "/"},
                                           UrlCase{"https://x.a.b/p/q", "x.a.b", "a.b", "x.a.b",
                                                   443, "/p/q"},
                                           UrlCase{"a.b:81/z", "a.b", "a.b", "a.b:81", 81, "/z"},
                                           UrlCase{"a", "a", "a", "a", 80, "/"}));

INSTANTIATE_TEST_SUITE_P(
    EdgeCases, UrlTest,
    ::testing::Values(UrlCase{"", "", "", "", 80, "/"},
                      // The domain is taken before the port is cut.
                      UrlCase{"a.b.c:81", "a.b.c", "b.c", "a.b.c:81", 81, "/"},
                      UrlCase{"http://a.b:/x", "a.b", "a.b", "a.b:", 0, "/x"},
                      // The port follows the last ":", the host ends at the first.
                      UrlCase{"http://u:p@h:81/", "u", "u", "u:p@h:81", 81, "/"},
                      UrlCase{"a.b:８１/z", "a.b", "a.b", "a.b:８１", 81, "/z"},
                      // Only "/" ends the host, so a query right after it stays in the host.
                      UrlCase{"http://a.b?x=1", "a.b?x=1", "a.b?x=1", "a.b?x=1", 80, "/"},
                      // "http://" anywhere makes the host the text after it.
                      UrlCase{"a.b/?u=http://C.d/E", "c.d", "c.d", "c.d", 80, "/E"},
                      // Only the first five bytes tell the scheme's port.
                      UrlCase{"HTTPServer/x", "httpserver", "httpserver", "httpserver", 443,
                              "/x"}));

TEST(UrlTest, ReducedHostKeepsItsPortWhenAsked) {
  EXPECT_EQ(UrlHost("http://a.b.c:81/", true, true), "b.c:81");
}

struct BetweenCase {
  Text source, left, right;
  int start;
  bool caseSensitive;
  Text expected;
};

void PrintTo(const BetweenCase& c, std::ostream* out) {
  *out << ::testing::PrintToString(c.source) << " between " << ::testing::PrintToString(c.left)
       << " and " << ::testing::PrintToString(c.right) << " from " << c.start
       << (c.caseSensitive ? ", case-sensitive" : "");
}

class TextBetweenTest : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetweenTest, CutsBetweenMarkers) {
  const BetweenCase& c = GetParam();
  EXPECT_EQ(TextBetween(c.source, c.left, c.right, c.start, c.caseSensitive), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetweenTest,
    ::testing::Values(
        BetweenCase{"a[b]c[d]", "[", "]", 1, false, "b"},
        BetweenCase{"a[b]c", "(", "]", 1, false, ""},
        // A right marker before the left one does not count.
        BetweenCase{"x]a[b", "[", "]", 1, false, ""}, BetweenCase{"a[", "[", "]", 1, false, ""},
        BetweenCase{"a[]b]", "[", "]", 1, false, ""},
        BetweenCase{"[1][2]", "[", "]", 2, false, "2"},
        BetweenCase{"[1][2]", "[", "]", 0, false, "1"}, BetweenCase{"[1]", "[", "]", 4, false, ""},
        BetweenCase{"USER-AGENT: x\r\n", "User-Agent:", "\r\n", 1, false, " x"},
        BetweenCase{"USER-AGENT: x\r\n", "User-Agent:", "\r\n", 1, true, ""},
        BetweenCase{"<B>x<b>y</b>", "<b>", "</b>", 1, false, "x<b>y"},
        BetweenCase{"<B>x<b>y</b>", "<b>", "</b>", 1, true, "y"},
        BetweenCase{"<b>x</B>y</b>", "<b>", "</b>", 1, true, "x</B>y"},
        BetweenCase{kTrailOpen + "x[y]", "[", "]", 1, false, "y"},
        BetweenCase{kTrailOpen + "x[y]", "[", "]", 1, true, "y"},
        BetweenCase{"[a" + kTrailClose + "b]", "[", "]", 1, false, "a" + kTrailClose + "b"},
        BetweenCase{"[a" + kTrailClose + "b]", "[", "]", 1, true, "a" + kTrailClose + "b"},
        BetweenCase{"say \"hi\" and \"bye\"", "#引号", "#引号", 1, false, "hi"},
        BetweenCase{"<a href=\"/x\">", "HREF=#引号", "#引号>", 1, false, "/x"},
        BetweenCase{"中[文]", "中[", "]", 1, false, "文"}));

TEST(HeaderValueTest, TakesTheTrimmedTextAfterTheFirstColon) {
  EXPECT_EQ(HeaderValue("Location: http://a.b:81/x"), "http://a.b:81/x");
  EXPECT_EQ(HeaderValue("Name: 　v w　 "), "v w");
  EXPECT_EQ(HeaderValue("Name: v\t"), "v\t");
  EXPECT_EQ(HeaderValue("Name: v\r"), "v\r");
  EXPECT_EQ(HeaderValue("Name:"), "");
  EXPECT_EQ(HeaderValue("no colon"), "");
  EXPECT_EQ(HeaderValue(""), "");
}

TEST(ReadNumberTest, ReadsAsciiAndFullWidthForms) {
  EXPECT_EQ(ReadNumber("8443"), 8443);
  EXPECT_EQ(ReadNumber("８４４３"), 8443);
  EXPECT_EQ(ReadNumber("1２3"), 123);
  EXPECT_EQ(ReadNumber(" \t\n\v\f\r　42"), 42);
  EXPECT_EQ(ReadNumber("+7"), 7);
  EXPECT_EQ(ReadNumber("－７"), -7);
  EXPECT_EQ(ReadNumber("81?x=1"), 81);
  EXPECT_EQ(ReadNumber("8 1"), 8);
  EXPECT_EQ(ReadNumber("x81"), 0);
  EXPECT_EQ(ReadNumber("+-1"), 0);
  EXPECT_EQ(ReadNumber("-"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("99999999999"), INT_MAX);
  EXPECT_EQ(ReadNumber("-2147483648"), INT_MIN);
  EXPECT_EQ(ReadNumber("-99999999999"), INT_MIN);
}

}  // namespace
