// The rules of the web request that need no network.
#include "web/fetch_rules.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr char kUrl[] = "http://a.b/p?q=1";
constexpr char kDefaults[] =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

TEST(FetchRulesTest, UserAgentComesFromTheExtraHeadersOrIsTheDefault) {
  const struct {
    Text headers, agent;
  } cases[] = {
      {"", kDefaultUserAgent},
      {"Accept: x", kDefaultUserAgent},
      {"user-agent: Probe/1.0 \r\nX-A: b", "Probe/1.0"},
      // The last line has no line break: everything after the first colon of the whole text.
      {"User-Agent: Solo/2", "Solo/2"},
      {"X-A: b\r\nUser-Agent: C", "b\r\nUser-Agent: C"},
      {"User-Agent: \r\nX-A: b", "\r\nX-A: b"},
      {"User-Agent:\xA1\xA1Wide\xA1\xA1\r\n", "Wide"},
  };
  for (const auto& c : cases) EXPECT_EQ(UserAgentFor(c.headers), c.agent) << c.headers;
}

TEST(FetchRulesTest, RequestFlags) {
  const std::uint32_t always = kFlagReload | kFlagNeedFile;
  EXPECT_EQ(RequestFlags(kUrl, false, false), always | kFlagIgnoreRedirectToHttps);
  EXPECT_EQ(RequestFlags("HTTPS://a.b", true, true),
            always | kFlagNoCookies | kFlagNoAutoRedirect | kFlagSecure);
  EXPECT_EQ(RequestFlags("a.b/https", false, false), always | kFlagIgnoreRedirectToHttps);
}

TEST(FetchRulesTest, DefaultHeadersAreAppendedUnlessTheTextHoldsThem) {
  const struct {
    Text headers, cookies, sent;
  } cases[] = {
      {"", "", Text("Referer: ") + kUrl + kDefaults},
      // The markers are case-sensitive: a lower-case Accept line still gets the default one.
      {"accept: text/html", "", Text("accept: text/html\r\nReferer: ") + kUrl + kDefaults},
      // Found anywhere in the text, not only at a line start; "Accept-Language:" is no "Accept:".
      {"X-Referer: z\r\nAccept-Language: en", "",
       "X-Referer: z\r\nAccept-Language: en\r\nAccept: */*\r\nContent-Type: "
       "application/x-www-form-urlencoded"},
      // A Cookie line is appended even after one of the caller's.
      {"Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: t\r\nCookie: a=1", "b=2",
       "Referer: r\r\nAccept: a\r\nAccept-Language: l\r\nContent-Type: t\r\nCookie: a=1\r\nCookie: "
       "b=2"},
  };
  for (const auto& c : cases) {
    Text headers = c.headers;
    AppendDefaultHeaders(headers, kUrl, c.cookies);
    EXPECT_EQ(headers, c.sent) << c.headers;
  }
}

struct HeaderCase {
  const char* label;
  Text block;
  std::optional<Text> cookies;  // managed when given
  Text locationBefore;
  Text returned, cookiesAfter, location;
};

void PrintTo(const HeaderCase& c, std::ostream* out) {
  *out << c.label;
}

class ResponseHeadersTest : public ::testing::TestWithParam<HeaderCase> {};

TEST_P(ResponseHeadersTest, SetTheCookiesAndTheLocation) {
  const HeaderCase& c = GetParam();
  Text returned = "old", location = c.locationBefore;
  std::optional<Text> cookies = c.cookies;
  TakeResponseHeaders(c.block, returned, cookies ? &*cookies : nullptr, location);
  EXPECT_EQ(returned, c.returned);
  EXPECT_EQ(cookies.value_or("-"), c.cookiesAfter);
  EXPECT_EQ(location, c.location);
}

const Text kTwoCookies =
    "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2; HttpOnly\r\n\r\n";
const Text kBareCookieFirst =
    "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nSet-Cookie: b=2; path=/\r\n\r\n";
const Text kLocations = "HTTP/1.1 200 OK\r\nLocation: http://x/\r\nContent-Location: /y\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, ResponseHeadersTest,
    ::testing::Values(
        HeaderCase{"TwoCookies", kTwoCookies, std::nullopt, "", "a=1; b=2", "-", kTwoCookies},
        HeaderCase{"MergedWithoutSpaces", kTwoCookies, "x=9", "", "a=1;b=2", "a=1; b=2; x=9",
                   kTwoCookies},
        HeaderCase{"SuppliedEmpty", kTwoCookies, "", "", "a=1;b=2", "a=1; b=2", kTwoCookies},
        // A line without ";" gives an empty item.
        HeaderCase{"BareCookieFirst", kBareCookieFirst, std::nullopt, "", "; b=2", "-",
                   kBareCookieFirst},
        HeaderCase{"LaterLocationWins", kLocations, std::nullopt, "kept", "", "-", "/y"},
        HeaderCase{"NoLocationKeepsTheCallers", "HTTP/1.1 200 OK\r\nlocation: z\r\n\r\n",
                   std::nullopt, "kept", "", "-", "kept"},
        HeaderCase{"NoLocationGivesTheBlock", "HTTP/1.1 200 OK\r\n\r\n", std::nullopt, "", "", "-",
                   "HTTP/1.1 200 OK\r\n\r\n"}),
    [](const auto& info) { return info.param.label; });

TEST(FetchRulesTest, OnlyA301UnderHttp11IsFollowed) {
  EXPECT_TRUE(IsMovedPermanently("HTTP/1.1 301 Moved Permanently\r\nLocation: x\r\n\r\n"));
  EXPECT_FALSE(IsMovedPermanently("HTTP/1.0 301 Moved Permanently\r\n\r\n"));
  EXPECT_FALSE(IsMovedPermanently("HTTP/1.1 302 Moved Temporarily\r\n\r\n"));
  EXPECT_FALSE(IsMovedPermanently("HTTP/1.1 301 OK\r\n\r\n"));
}

TEST(FetchRulesTest, FollowUpAppendsThePathAndQuery) {
  EXPECT_EQ(FollowUpUrl("http://h:81", kUrl), "http://h:81/p?q=1");
  EXPECT_EQ(FollowUpUrl("http://h/", kUrl), "http://h//p?q=1");
  EXPECT_EQ(FollowUpUrl("http://h/new", kUrl), "http://h/new/p?q=1");
  EXPECT_EQ(FollowUpUrl("http://h", "http://a.b"), "http://h/");
}

Bytes BodyWithMarkerAt(int position, const char* marker = "charset=utf-8") {
  Bytes body(static_cast<size_t>(position - 1), 'x');
  const Text tail = Text(marker) + "\xE4\xB8\xAD";
  body.insert(body.end(), tail.begin(), tail.end());
  return body;
}

TEST(FetchRulesTest, Utf8ByTheBodyMarkerBeforeByte500OrByAHeader) {
  EXPECT_TRUE(IsUtf8Body(BodyWithMarkerAt(1), ""));
  EXPECT_TRUE(IsUtf8Body(BodyWithMarkerAt(499), ""));
  EXPECT_FALSE(IsUtf8Body(BodyWithMarkerAt(500), "HTTP/1.1 200 OK\r\n\r\n"));
  EXPECT_FALSE(IsUtf8Body(BodyWithMarkerAt(1, "CHARSET=UTF-8"), ""));
  EXPECT_TRUE(IsUtf8Body(BodyWithMarkerAt(500), "Content-Type: text/html; charset=UTF-8\r\n"));
  EXPECT_TRUE(IsUtf8Body({}, "X-Note: Utf-8\r\n"));
}

}  // namespace
