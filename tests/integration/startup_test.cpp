// The start-up sequence of the real launcher: markers, exit codes, console arguments.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

namespace {

TEST(Startup, NoUsableRuntimeEndsWithExitCode83) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_EQ(r.exitCode, 83u);
  EXPECT_TRUE(r.logContains("rawDataSize: "));
}

TEST(Startup, RebootMarkerWithMoreTextStartsNormally) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r =
      app.run({.arguments = L"__ksl_reboot x", .environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_EQ(r.exitCode, 83u);
  EXPECT_TRUE(r.logContains("number of sections: "));
}

TEST(Startup, PayloadErrorEndsWithExitCode1) {
  TestFolder folder;
  LauncherUnderTest app(folder, payload::PayloadBuilder().magic(0));
  LaunchResult r = app.run({.arguments = L"-q_ksl_internal"});
  EXPECT_EQ(r.exitCode, 1u);
}

}  // namespace
