// Command line, start-up options, flavour and locale as the real launcher sees them.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> loggedArguments(const LaunchResult& r) {
  std::vector<std::string> args;
  for (const std::string& line : logLines(r.log))
    if (line.rfind("argument ", 0) == 0) args.push_back(line.substr(line.find(": ") + 2));
  return args;
}

TEST(CommandLine, TheLaunchersOwnQuotingRuleSplitsTheProcessCommandLine) {
  struct Case {
    std::wstring tail;
    std::vector<std::string> arguments;  // after the program
  };
  const Case cases[] = {
      {L"-x \"a b\" c", {"-x", "a b", "c"}},
      {L"a   b ", {"a", "b"}},
      {L"\"a\"b", {"a", "b"}},
      {L"a\"\"", {"a"}},
      {L"a \"\" b", {"a", "", "b"}},
      {L"'it''s'", {"it", "s"}},
      {L"say \"a 'b' c\"", {"say", "a 'b' c"}},
      {L"ab\"c d\" e", {"abc d", "e"}},
      {L"x=\"1 2\"y", {"x=1 2", "y"}},
      {L"\"C:\\dir\\\" next", {"C:\\dir\\", "next"}},
      {L"a'b c", {"ab c"}},
      {L"a\tb", {"a\tb"}},
      {L"\"abc", {"abc"}},
  };
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload(), L"my app.exe");
  for (const Case& c : cases) {
    LaunchResult r = app.run({.arguments = c.tail, .environment = {{L"KESTREL_LOG", L"yes"}}});
    auto args = loggedArguments(r);
    ASSERT_FALSE(args.empty()) << r.log;
    EXPECT_EQ(args[0], narrowUtf8(app.exePath()));  // the program, without its quotes
    EXPECT_EQ(std::vector<std::string>(args.begin() + 1, args.end()), c.arguments)
        << narrowUtf8(c.tail);
  }
}

TEST(StartupOptions, CreateLogOptionCountsOnlyAsFirstArgument) {
  struct Case {
    std::wstring tail;
    bool logged;
    std::vector<std::string> arguments;
  };
  const Case cases[] = {
      {L"-create-wrl-log x", true, {"x"}},
      {L"-create-ksl-log", true, {}},
      {L"/create-wrl-log x", true, {"x"}},
      {L"/create-ksl-log", true, {}},
      {L"x -create-wrl-log", false, {}},
      {L"-Create-wrl-log x", false, {}},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    LauncherUnderTest app(folder, consolePayload());
    LaunchResult r = app.run({.arguments = c.tail, .unset = {L"KESTREL_LOG", L"WRENLET_LOG"}});
    EXPECT_EQ(r.hasLog(), c.logged) << narrowUtf8(c.tail);
    if (c.logged) {
      auto args = loggedArguments(r);
      EXPECT_EQ(std::vector<std::string>(args.begin() + 1, args.end()), c.arguments);
    }
  }
  // As element 2 it is an ordinary argument that the application receives.
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r =
      app.run({.arguments = L"x -create-wrl-log", .environment = {{L"KESTREL_LOG", L"yes"}}});
  auto args = loggedArguments(r);
  EXPECT_EQ(std::vector<std::string>(args.begin() + 1, args.end()),
            (std::vector<std::string>{"x", "-create-wrl-log"}));
}

TEST(StartupOptions, WorkingDirectoryUnchangedWithoutItemAndUntouchedDuringLanguageRestart) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_TRUE(r.logContains("working directory unchanged"));
  LaunchResult restart =
      app.run({.arguments = L"__ksl_lang_restart", .environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_FALSE(restart.logContains("working directory"));
  auto args = loggedArguments(restart);
  ASSERT_EQ(args.size(), 2u);
  EXPECT_EQ(args[1], "__ksl_lang_restart");  // the marker stays in the argument list
}

}  // namespace
