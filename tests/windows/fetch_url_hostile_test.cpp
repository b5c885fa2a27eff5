// The web request against servers that misbehave: each call comes back within the platform's
// time-outs with what it got, and the process stays up (a crash would end this test).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "web/fetch_rules.h"
#include "web/fetch_url.h"
#include "windows/http_test_server.h"

namespace {

using ::testing::EndsWith;
using ::testing::StartsWith;

struct Result {
  std::string body, responseHeaders, location;
  ULONGLONG milliseconds;
};

Result Fetch(const Text& url, bool noAutoRedirect = false) {
  Result r;
  const ULONGLONG start = GetTickCount64();
  const Bytes body = FetchUrl(url, 0, {}, nullptr, nullptr, nullptr, &r.location, noAutoRedirect,
                              nullptr, std::nullopt, &r.responseHeaders);
  r.milliseconds = GetTickCount64() - start;
  r.body.assign(body.begin(), body.end());
  std::printf("%s: %llu ms, %zu body bytes\n",
              ::testing::UnitTest::GetInstance()->current_test_info()->name(), r.milliseconds,
              r.body.size());
  return r;
}

// Followed by this program, not by WinINet, which under Wine follows a redirect to itself without
// end.
TEST(FetchUrlHostileTest, AnEndlessRedirectChainEnds) {
  HttpTestServer server;
  const std::string self = server.Url("/loop");
  for (const bool noAutoRedirect : {true, false}) {
    server.Respond(
        {HttpResponse("HTTP/1.1 301 Moved Permanently", "Location: " + self + "\r\n", "moved")});
    const Result r = Fetch(self, noAutoRedirect);
    EXPECT_EQ(r.body, "moved");
    EXPECT_EQ(server.Requests().size(), 11u) << "ten follow-ups in all, whoever makes them";
    EXPECT_LT(r.milliseconds, 20000u);
  }
}

// Wine's WinINet takes a while over ten thousand header lines: 15 s on an idle machine, 60 s on a
// busy one. It does come back.
TEST(FetchUrlHostileTest, AHeaderBlockOfAMegabyte) {
  std::string padding;
  for (int i = 0; padding.size() < (1 << 20); ++i) {
    padding += "X-Pad-" + std::to_string(i) + ": " + std::string(100, 'p') + "\r\n";
  }
  HttpTestServer server({HttpResponse("HTTP/1.1 200 OK", padding, "body")});
  const Result r = Fetch(server.Url("/big"));
  EXPECT_EQ(r.body, "body");
  EXPECT_EQ(r.responseHeaders, std::string(5000, ' ')) << "too long for the query: left blank";
}

// WinINet takes it for a response without headers: everything is the body.
TEST(FetchUrlHostileTest, NoStatusLine) {
  const std::string raw = "no status line here\r\nX: y\r\n\r\nbody";
  HttpTestServer server({raw});
  const Result r = Fetch(server.Url("/raw"));
  EXPECT_LT(r.milliseconds, 20000u);
  EXPECT_FALSE(IsMovedPermanently(r.responseHeaders));
}

TEST(FetchUrlHostileTest, InvalidUtf8UnderAUtf8Charset) {
  HttpTestServer server(
      {HttpResponse("HTTP/1.1 200 OK", "Content-Type: text/html; charset=utf-8\r\n",
                    "a\xFF\xFE\xC3(\xE4\xB8"
                    "b\xED\xA0\x80z\xE4")});
  const Result r = Fetch(server.Url("/bad"));
  EXPECT_THAT(r.body, StartsWith("a"));
  EXPECT_THAT(r.body, EndsWith("z?")) << "what cannot be converted becomes the default character";
}

TEST(FetchUrlHostileTest, ATruncatedBody) {
  HttpTestServer server({"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial"});
  const Result r = Fetch(server.Url("/cut"));
  EXPECT_LT(r.milliseconds, 20000u);
  EXPECT_EQ(r.body, "partial");
}

// Silent for longer than the request waits: it gives up after its 30 s with what it has.
TEST(FetchUrlHostileTest, AServerThatFallsSilentIsGivenUpOn) {
  const struct {
    std::string response, body;
  } cases[] = {
      {"", ""},
      {"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\npartial", "partial"},
  };
  for (const auto& c : cases) {
    HttpTestServer server({c.response});
    server.StallFor(60000);
    const Result r = Fetch(server.Url("/stall"));
    EXPECT_EQ(r.body, c.body);
    EXPECT_GE(r.milliseconds, 29000u);
    EXPECT_LT(r.milliseconds, 45000u);
  }
}

}  // namespace
