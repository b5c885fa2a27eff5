// The web request over WinINet against a server on 127.0.0.1 that this process runs, which
// records the raw bytes of every request. Every test runs in a process of its own, so that the
// platform's cookie store starts empty.
#include "web/fetch_url.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "web/fetch_rules.h"
#include "windows/http_test_server.h"

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

constexpr char kDefaults[] =
    "Accept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

std::string AsString(const Bytes& bytes) {
  return std::string(bytes.begin(), bytes.end());
}

const std::string kOk = HttpResponse("HTTP/1.1 200 OK", "", "hello");

// Every output of the call, supplied.
struct Outputs {
  Text returnedCookies = "old", extraHeaders, location, responseHeaders;
  Bytes postBytes;
};

Bytes Fetch(const Text& url, Outputs& out, int method = 0, const Text& postText = {},
            Text* cookies = nullptr, bool noAutoRedirect = false,
            const std::optional<Text>& proxy = std::nullopt) {
  return FetchUrl(url, method, postText, cookies, &out.returnedCookies, &out.extraHeaders,
                  &out.location, noAutoRedirect, &out.postBytes, proxy, &out.responseHeaders);
}

TEST(FetchUrlTest, BareGetSendsTheDefaultHeadersAndAgent) {
  HttpTestServer server({kOk});
  const Text url = server.Url("/p?q=1");
  Outputs out;
  EXPECT_EQ(AsString(Fetch(url, out)), "hello");
  const std::string block = "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nConnection: close\r\n\r\n";
  EXPECT_THAT(server.Requests(),
              ElementsAre("GET /p?q=1 HTTP/1.1\r\nHost: 127.0.0.1:" +
                          std::to_string(server.port()) + "\r\nUser-Agent: " + kDefaultUserAgent +
                          "\r\nReferer: " + url + "\r\n" + kDefaults + "\r\n\r\n"));
  EXPECT_EQ(out.extraHeaders, "Referer: " + url + "\r\n" + kDefaults);
  EXPECT_EQ(out.responseHeaders, block);
  EXPECT_EQ(out.location, block) << "no Location line: the whole block";
  EXPECT_EQ(out.returnedCookies, "");
  EXPECT_EQ(AsString(FetchUrl(url)), "hello") << "every output omitted";
}

TEST(FetchUrlTest, ExtraHeadersGiveTheAgentAndKeepTheirLines) {
  const struct {
    Text extra, agentLine;
  } cases[] = {
      {"user-agent: Probe/1.0\r\nX-A: b", "user-agent: Probe/1.0\r\nX-A: b\r\n"},
      {"User-Agent: Solo/2", "User-Agent: Solo/2\r\n"},  // the fallback: no line break after it
      {"accept: text/html", Text("User-Agent: ") + kDefaultUserAgent + "\r\n"},
  };
  for (const auto& c : cases) {
    HttpTestServer server({kOk});
    const Text url = server.Url("/h");
    Outputs out;
    out.extraHeaders = c.extra;
    Fetch(url, out);
    EXPECT_EQ(out.extraHeaders, c.extra + "\r\nReferer: " + url + "\r\n" + kDefaults);
    // Of two lines of one name in any case, Wine sends the later one.
    const std::string request = server.Requests().at(0);
    EXPECT_THAT(request, HasSubstr("\r\n" + c.agentLine)) << c.extra;
    EXPECT_THAT(request, HasSubstr("\r\nAccept: */*\r\n")) << c.extra;
  }
}

TEST(FetchUrlTest, PostSendsThePostTextAndLeavesItInPostBytes) {
  HttpTestServer server({kOk, kOk});
  Outputs out;
  Fetch(server.Url("/post"), out, 1, "a=1&b=2");
  EXPECT_EQ(AsString(out.postBytes), "a=1&b=2");

  Outputs second;
  second.postBytes = BytesFromText("xyz");
  Fetch(server.Url("/two"), second, 2, "ignored");
  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_THAT(requests[0], StartsWith("POST /post HTTP/1.1\r\n"));
  EXPECT_THAT(requests[0], HasSubstr("\r\nContent-Length: 7\r\n"));
  EXPECT_THAT(requests[0], testing::EndsWith("\r\n\r\na=1&b=2"));
  EXPECT_THAT(requests[1], StartsWith("GET /two HTTP/1.1\r\n")) << "method 2 sends a body by GET";
  EXPECT_THAT(requests[1], testing::EndsWith("\r\n\r\nxyz"));
}

TEST(FetchUrlTest, ManagedCookiesBypassThePlatformStoreAndAreMerged) {
  const std::string setsTwo = HttpResponse(
      "HTTP/1.1 200 OK", "Set-Cookie: a=1; path=/\r\nSet-Cookie: b=2; HttpOnly\r\n", "");
  HttpTestServer server({setsTwo, kOk, setsTwo, setsTwo});
  // Not managed: the platform stores them and sends them itself.
  Outputs unmanaged;
  Fetch(server.Url("/1"), unmanaged);
  EXPECT_EQ(unmanaged.returnedCookies, "a=1; b=2");
  Outputs stored;
  Fetch(server.Url("/2"), stored);

  // Supplied empty: no Cookie line, none from the store, and the merge runs.
  Text cookies;
  Outputs empty;
  Fetch(server.Url("/3"), empty, 0, {}, &cookies);
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(empty.returnedCookies, "a=1;b=2");

  Text mine = "x=9";
  Outputs managed;
  Fetch(server.Url("/4"), managed, 0, {}, &mine);
  EXPECT_EQ(mine, "a=1; b=2; x=9");

  const auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_THAT(requests[1], HasSubstr("\r\nCookie: a=1\r\n")) << "the platform keeps HttpOnly ones";
  EXPECT_THAT(requests[2], Not(HasSubstr("Cookie")));
  EXPECT_THAT(requests[3], HasSubstr("\r\nCookie: x=9\r\n"));
  EXPECT_THAT(requests[3], Not(HasSubstr("a=1")));
}

TEST(FetchUrlTest, ABareSetCookieLineGivesAnEmptyItem) {
  HttpTestServer server(
      {HttpResponse("HTTP/1.1 200 OK", "Set-Cookie: a=1\r\nSet-Cookie: b=2; path=/\r\n", "")});
  Outputs out;
  Fetch(server.Url("/c"), out);
  EXPECT_EQ(out.returnedCookies, "; b=2");
}

TEST(FetchUrlTest, LocationComesFromAnyLineNamingIt) {
  const struct {
    std::string headers;
    Text before, location;
  } cases[] = {
      {"Location: http://x.test/\r\n", "", "http://x.test/"},
      {"Content-Location: /y\r\n", "", "/y"},
      {"", "kept", "kept"},
  };
  for (const auto& c : cases) {
    HttpTestServer server({HttpResponse("HTTP/1.1 200 OK", c.headers, "")});
    Outputs out;
    out.location = c.before;
    Fetch(server.Url("/l"), out);
    EXPECT_EQ(out.location, c.location) << c.headers;
  }
}

TEST(FetchUrlTest, A301IsFollowedWithThePathAppended) {
  for (const std::string tail : {"", "/"}) {
    HttpTestServer server;
    const std::string host = "http://127.0.0.1:" + std::to_string(server.port());
    const std::string done = HttpResponse("HTTP/1.1 200 OK", "", "done");
    server.Respond(
        {HttpResponse("HTTP/1.1 301 Moved Permanently", "Location: " + host + tail + "\r\n", ""),
         done});
    const Text url = host + "/a/b?c=1";
    Outputs out;
    EXPECT_EQ(AsString(Fetch(url, out, 0, {}, nullptr, true)), "done");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_THAT(requests[1], StartsWith("GET " + tail + "/a/b?c=1 HTTP/1.1\r\n"));
    EXPECT_THAT(requests[1], HasSubstr("\r\nReferer: " + url + "\r\n")) << "the first URL";
    EXPECT_EQ(out.extraHeaders, "Referer: " + url + "\r\n" + kDefaults) << "appended once";
    EXPECT_EQ(out.location, out.responseHeaders) << "of the last response";
    EXPECT_THAT(out.responseHeaders, StartsWith("HTTP/1.1 200 OK\r\n"));
  }
}

TEST(FetchUrlTest, A301ChainEndsAfterTenFollowUps) {
  HttpTestServer server;
  const std::string self = "http://127.0.0.1:" + std::to_string(server.port());
  server.Respond(
      {HttpResponse("HTTP/1.1 301 Moved Permanently", "Location: " + self + "\r\n", "moved")});
  Outputs out;
  EXPECT_EQ(AsString(Fetch(self + "/loop", out, 0, {}, nullptr, true)), "moved");
  EXPECT_EQ(server.Requests().size(), 11u);
  EXPECT_EQ(out.location, self) << "where the last response pointed";
}

// The redirects the platform follows by itself: a relative Location is resolved against the URL,
// the caller's headers go again as they were, and a POST becomes a GET except after 307 and 308.
TEST(FetchUrlTest, RedirectsAreFollowedUnlessSwitchedOff) {
  const struct {
    std::string status;
    int method;
    bool noAutoRedirect;
    std::string second;  // the start of the second request; empty: there is none
  } cases[] = {
      {"HTTP/1.1 302 Found", 0, false, "GET /b/next?x=1 HTTP/1.1\r\n"},
      {"HTTP/1.0 301 Moved Permanently", 0, false, "GET /b/next?x=1 HTTP/1.1\r\n"},
      {"HTTP/1.1 303 See Other", 1, false, "GET /b/next?x=1 HTTP/1.1\r\n"},
      {"HTTP/1.1 302 Found", 1, false, "GET /b/next?x=1 HTTP/1.1\r\n"},
      {"HTTP/1.1 307 Temporary Redirect", 1, false, "POST /b/next?x=1 HTTP/1.1\r\n"},
      {"HTTP/1.1 302 Found", 0, true, ""},
  };
  for (const auto& c : cases) {
    HttpTestServer server({HttpResponse(c.status, "Location: next?x=1\r\n", "moved"),
                           HttpResponse("HTTP/1.1 200 OK", "", "done")});
    const Text url = server.Url("/b/a");
    Outputs out;
    const Bytes body = Fetch(url, out, c.method, "p=1", nullptr, c.noAutoRedirect);
    const auto requests = server.Requests();
    if (c.second.empty()) {
      EXPECT_EQ(AsString(body), "moved") << c.status;
      EXPECT_EQ(requests.size(), 1u) << c.status;
      continue;
    }
    EXPECT_EQ(AsString(body), "done") << c.status;
    ASSERT_EQ(requests.size(), 2u) << c.status;
    EXPECT_THAT(requests[1], StartsWith(c.second)) << c.status;
    EXPECT_THAT(requests[1], HasSubstr("\r\nReferer: " + url + "\r\n")) << c.status;
    EXPECT_EQ(requests[1].find("p=1") != std::string::npos, c.second[0] == 'P') << c.status;
    EXPECT_EQ(out.extraHeaders, "Referer: " + url + "\r\n" + kDefaults) << "appended once";
    EXPECT_THAT(out.responseHeaders, StartsWith("HTTP/1.1 200 OK\r\n"));
  }
}

TEST(FetchUrlTest, Utf8BodiesAreConvertedByTheMarkerOrAHeader) {
  const std::string utf8 = "\xE4\xB8\xAD", gbk = "\xD6\xD0";  // 中
  const auto bodyWithMarkerAt = [&](size_t position) {
    return std::string(position - 1, 'x') + "charset=utf-8" + utf8;
  };
  const struct {
    std::string headers, body, expected;
  } cases[] = {
      {"", bodyWithMarkerAt(499), bodyWithMarkerAt(499).substr(0, 511) + gbk},
      {"", bodyWithMarkerAt(500), bodyWithMarkerAt(500)},
      {"Content-Type: text/html; charset=UTF-8\r\n", utf8, gbk},
  };
  for (const auto& c : cases) {
    HttpTestServer server({HttpResponse("HTTP/1.1 200 OK", c.headers, c.body)});
    EXPECT_EQ(AsString(FetchUrl(server.Url("/u"))), c.expected) << c.headers << c.body.size();
  }
}

TEST(FetchUrlTest, AProxyIsUsedEvenWhenEmpty) {
  HttpTestServer server({kOk});
  Outputs direct;
  EXPECT_EQ(AsString(Fetch(server.Url("/d"), direct, 0, {}, nullptr, false, Text())), "hello")
      << "Wine takes \"http=\" for no proxy at all";

  HttpTestServer proxy({kOk});
  Outputs through;
  const Text proxyAddress = "127.0.0.1:" + std::to_string(proxy.port());
  EXPECT_EQ(AsString(Fetch("http://127.0.0.1:1/x", through, 0, {}, nullptr, false, proxyAddress)),
            "hello");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_THAT(proxy.Requests()[0], StartsWith("GET http://127.0.0.1:1/x HTTP/1.1\r\n"));
}

TEST(FetchUrlTest, AClosedPortGivesAnEmptyBodyAfterTheHeadersWereBuilt) {
  int port;
  {
    HttpTestServer gone;
    port = gone.port();
  }
  Outputs out;
  out.extraHeaders = "X-A: b";
  const Text url = "http://127.0.0.1:" + std::to_string(port) + "/x";
  EXPECT_TRUE(Fetch(url, out).empty());
  // The connection is made by the send, after the default headers went in.
  EXPECT_EQ(out.extraHeaders, "X-A: b\r\nReferer: " + url + "\r\n" + kDefaults);
  EXPECT_EQ(out.returnedCookies, "");
  EXPECT_EQ(out.location, out.responseHeaders);
}

TEST(FetchUrlTest, ARequestThatCannotBeOpenedWritesNoOutput) {
  Text cookies = "c=1";
  Outputs out;
  out.extraHeaders = "X-A: b";
  out.location = "l";
  out.responseHeaders = "h";
  for (const Text url : {"http:///no-host", "http://127.0.0.1:70000/"}) {
    EXPECT_TRUE(Fetch(url, out, 1, "body", &cookies).empty()) << url;
    EXPECT_EQ(cookies, "c=1");
    EXPECT_EQ(out.returnedCookies, "old");
    EXPECT_EQ(out.extraHeaders, "X-A: b");
    EXPECT_EQ(out.location, "l");
    EXPECT_EQ(out.responseHeaders, "h");
    EXPECT_TRUE(out.postBytes.empty());
  }
}

TEST(FetchUrlTest, Utf8Conversions) {
  EXPECT_EQ(AsString(Utf8ToAnsi(BytesFromText("\xE4\xB8\xAD"))), "\xD6\xD0");
  EXPECT_EQ(AsString(Utf8ToAnsi(BytesFromText("ab"))), "ab");
  EXPECT_TRUE(Utf8ToAnsi({}).empty());
  EXPECT_EQ(Utf8ToUnicode(BytesFromText("A")), (Bytes{0x41, 0x00}));
  EXPECT_TRUE(Utf8ToUnicode({}).empty());
}

}  // namespace
