// The real launcher reading its own payload: located behind the last section,
// broken payloads reported with their fixed texts, never a crash or a hang.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

namespace {

// Console errors from the start, so that texts shown before the payload is read
// reach standard error.
const std::wstring kQuiet = L"-q_ksl_internal";

payload::PayloadBuilder smallPayload() {
  payload::PayloadBuilder b;
  b.item(107, "0").item(2001, "w").message(1000, u"Oops").message(1016, u"No Java {0}");
  b.group({"de", {{1016, u"Kein Java {0}"}}});
  return b;
}

TEST(Payload, StubWithoutPayloadStopsAtReadInt) {
  TestFolder folder;
  LauncherUnderTest app(folder, std::string());
  LaunchResult r = app.run({.arguments = kQuiet});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err, "Internal Error: readInt\n");
}

TEST(Payload, WrongMagicIsReported) {
  TestFolder folder;
  LauncherUnderTest app(folder, payload::PayloadBuilder().magic(0x12345678).item(107, "0"));
  LaunchResult r = app.run({.arguments = kQuiet});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err, "Internal Error: magic\n");
}

TEST(Payload, CutInsideAnEightBitEntryStopsAtReadString) {
  payload::PayloadBuilder b;
  b.item(107, "0").item(121, "lib\\app.jar;lib\\other.jar");
  std::string bytes = b.bytes();
  bytes.resize(bytes.size() - 20);  // inside the class path text, before the UTF-16 table
  TestFolder folder;
  LauncherUnderTest app(folder, bytes);
  LaunchResult r = app.run({.arguments = kQuiet});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err, "Internal Error: readString\n");
}

TEST(Payload, PayloadCutAtEveryOffsetEndsCleanly) {
  const std::string full = smallPayload().bytes();
  TestFolder folder;
  std::vector<std::unique_ptr<LauncherUnderTest>> apps;
  for (std::size_t cut = 0; cut < full.size(); ++cut)
    apps.push_back(std::make_unique<LauncherUnderTest>(folder, full.substr(0, cut),
                                                       L"cut" + std::to_wstring(cut) + L".exe"));
  // A few launchers at a time: each start costs mostly waiting for Wine.
  std::vector<LaunchResult> results(apps.size());
  std::atomic<std::size_t> next{0};
  std::vector<std::thread> workers;
  for (int w = 0; w < 4; ++w)
    workers.emplace_back([&] {
      for (std::size_t i = next++; i < apps.size(); i = next++)
        results[i] = apps[i]->run({.arguments = kQuiet, .timeoutMs = 60000});
    });
  for (std::thread& worker : workers) worker.join();

  for (std::size_t cut = 0; cut < results.size(); ++cut) {
    const LaunchResult& r = results[cut];
    SCOPED_TRACE("cut at " + std::to_string(cut));
    ASSERT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_EQ(r.err.rfind("Internal Error: read", 0), 0u) << r.err;
  }
}

}  // namespace
