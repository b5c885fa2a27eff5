// The echo probe on Wine, to loopback only: nothing here may reach another machine.
#include "web/echo_probe_win32.h"

#include <gtest/gtest.h>

#include "support/scripted_runtime.h"
#include "ui/app.h"
#include "web/update_check.h"

namespace {

TEST(EchoProbeTest, LoopbackAnswersByAddressAndByName) {
  EXPECT_GE(EchoRoundTrip("127.0.0.1", 2000), 0);
  EXPECT_GE(EchoRoundTrip("localhost", 2000), 0) << "resolved from the hosts file";
}

TEST(EchoProbeTest, TheProbeHostIsReachableOverLoopback) {
  ScriptedRuntime runtime;
  app.runtime = &runtime;
  updateCheck.probeHost = "127.0.0.1";
  updateCheck.echo = EchoRoundTrip;
  // The reply reports 0 ms from the second probe on, and counts all the same.
  EXPECT_TRUE(IsInternetReachable(2000, true));
  EXPECT_TRUE(IsInternetReachable(2000, true));
  updateCheck = UpdateCheckSetup();
  app = App();
}

}  // namespace
