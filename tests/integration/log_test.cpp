// The launcher log: off unless asked for, numbered files, BOM and header line.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

namespace {

TEST(Log, EnvironmentVariableEnablesTheLogWithBomAndHeader) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}});
  ASSERT_TRUE(r.hasLog());
  EXPECT_EQ(r.log.rfind("\xEF\xBB\xBF", 0), 0u);
  auto lines = logLines(r.log);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0].rfind("Started executable ", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find("app.exe at "), std::string::npos) << lines[0];
  // ctime layout: "Www Mmm dd hh:mm:ss yyyy" is 24 characters at the end of the line.
  EXPECT_EQ(lines[0].substr(lines[0].size() - 24)[3], ' ');
  EXPECT_EQ(lines[1], "");
  EXPECT_EQ(lines[2].rfind("number of sections: ", 0), 0u) << lines[2];
  EXPECT_TRUE(r.logContains("rawDataSize: "));
}

TEST(Log, OnlyTheExactValueYesEnablesIt) {
  struct Case {
    const wchar_t* name;
    const wchar_t* value;
    bool logged;
  };
  const Case cases[] = {{L"KESTREL_LOG", L"yes", true},
                        {L"WRENLET_LOG", L"yes", true},
                        {L"KESTREL_LOG", L"YES", false},
                        {L"WRENLET_LOG", L"1", false}};
  for (const Case& c : cases) {
    TestFolder folder;
    LauncherUnderTest app(folder, consolePayload());
    LaunchResult r = app.run({.environment = {{c.name, c.value}},
                              .unset = {c.name == std::wstring(L"KESTREL_LOG") ? L"WRENLET_LOG"
                                                                                : L"KESTREL_LOG"}});
    EXPECT_EQ(r.hasLog(), c.logged) << narrowUtf8(c.name) << "=" << narrowUtf8(c.value);
  }
}

TEST(Log, NewLogTakesTheNextFreeNumber) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  CreateDirectoryW(app.tempDirectory().c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(app.tempDirectory() + L"\\ksl_nlog_1.log", "one"));
  ASSERT_TRUE(writeWholeFile(app.tempDirectory() + L"\\ksl_nlog_2.log", "two"));
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_EQ(r.logPath, app.tempDirectory() + L"\\ksl_nlog_3.log");
  EXPECT_EQ(readWholeFile(app.tempDirectory() + L"\\ksl_nlog_1.log"), "one");
  EXPECT_TRUE(r.logContains("Started executable"));
}

TEST(Log, ReadErrorsLogTheirSystemErrorLine) {
  TestFolder folder;
  LauncherUnderTest app(folder, std::string());
  LaunchResult r =
      app.run({.arguments = L"-q_ksl_internal", .environment = {{L"KESTREL_LOG", L"yes"}}});
  EXPECT_EQ(r.exitCode, 1u);
  // "error %d %d\n": the reader's line ends with its own line feed, so an empty line follows.
  auto lines = logLines(r.log);
  auto it = std::find_if(lines.begin(), lines.end(),
                         [](const std::string& l) { return l.rfind("error ", 0) == 0; });
  ASSERT_NE(it, lines.end()) << r.log;
  EXPECT_EQ(*it, "error " + it->substr(6, it->find(' ', 6) - 6) + " 0");
  ASSERT_NE(it + 1, lines.end());
  EXPECT_EQ(*(it + 1), "");
  // The shown text carries the log's path.
  EXPECT_NE(r.err.find("Internal Error: readInt\n\nLog: "), std::string::npos) << r.err;
}

}  // namespace
