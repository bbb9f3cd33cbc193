// The user's interface language picks the payload's override groups. Wine takes
// the language from the Unix locale of the process tree, so each language runs
// as its own test program start (see tests/CMakeLists.txt), told what to expect
// through WRENLET_EXPECT_LANGID and WRENLET_EXPECT_LOCALE.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

std::string expected(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

TEST(Locale, InterfaceLanguageSelectsCodeAndOverrideGroups) {
  const std::string langId = expected("WRENLET_EXPECT_LANGID");
  const std::string code = expected("WRENLET_EXPECT_LOCALE");
  ASSERT_FALSE(code.empty()) << "run through ctest, which sets the expected locale";
  ASSERT_EQ(GetUserDefaultUILanguage(), std::strtoul(langId.c_str(), nullptr, 16));

  payload::PayloadBuilder b;
  b.item(107, "0").message(1016, u"base {0}");
  b.group({"de", {{1016, u"A {0}"}}}).group({"de_DE", {{1016, u"B {0}"}}});
  b.group({"no", {{1016, u"N {0}"}}}).group({"sr", {{1016, u"S {0}"}}});
  b.group({"fr", {{1016, u"F {0}"}}});
  TestFolder folder;
  LauncherUnderTest app(folder, b);
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_TRUE(r.logContains("language/country is " + code + "\r\n")) << r.log;

  // No runtime: message 1016 shows which groups applied, the later one winning.
  const std::string message = code == "de_DE"      ? "B 64"
                              : code == "no_NO_NY" ? "N 64"
                              : code == "sr"       ? "S 64"
                                                   : "base 64";
  EXPECT_EQ(r.exitCode, 83u);
  EXPECT_EQ(r.err, message + "\n\nLog: " + narrowUtf8(r.logPath) + "\n");
}

}  // namespace
