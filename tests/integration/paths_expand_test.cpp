// Paths, variable expansion, the native library folders in front of PATH and the
// working directory, as the real launcher does them (observed through its log).
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

LaunchOptions logged(std::wstring arguments = {}) {
  return {.arguments = std::move(arguments), .environment = {{L"KESTREL_LOG", L"yes"}}};
}

std::wstring longForm(const std::wstring& path) {
  wchar_t buffer[32768];
  DWORD n = GetLongPathNameW(path.c_str(), buffer, 32768);
  return n ? std::wstring(buffer, n) : path;
}

std::wstring shortForm(const std::wstring& path) {
  wchar_t buffer[32768];
  DWORD n = GetShortPathNameW(path.c_str(), buffer, 32768);
  return n ? std::wstring(buffer, n) : std::wstring();
}

std::wstring environmentValue(const wchar_t* name) {
  wchar_t buffer[32768];
  DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
  return std::wstring(buffer, n);
}

// The single log line that starts with prefix, without the prefix; fails the test
// when there is none.
std::string lineAfter(const LaunchResult& r, const std::string& prefix) {
  for (const std::string& line : logLines(r.log))
    if (line.rfind(prefix, 0) == 0) return line.substr(prefix.size());
  ADD_FAILURE() << "no line \"" << prefix << "...\" in the log:\n" << r.log;
  return {};
}

TEST(NativeLibraryPath, ConfiguredFoldersGoInFrontOfPath) {
  TestFolder folder;
  LauncherUnderTest app(
      folder, consolePayload().item(10004, "lib;;%KESTREL_EXEDIR%native\\\\x;\\rootrel;D:\\abs"));
  LaunchResult r = app.run(logged());
  EXPECT_EQ(r.exitCode, 83u);  // runtime selection comes next and finds nothing
  EXPECT_EQ(lineAfter(r, "native lib dir is "),
            "lib;;%KESTREL_EXEDIR%native\\\\x;\\rootrel;D:\\abs");
  const std::string dir = narrowUtf8(longForm(folder.path())) + "\\";
  EXPECT_TRUE(r.logContains("expanding2 %KESTREL_EXEDIR% to " + dir + " in lib;;" + dir +
                            "native\\\\x;\\rootrel;D:\\abs."))
      << r.log;
  const std::string folders = dir + "lib;" + dir + "native\\x;" + dir + "rootrel;D:\\abs;";
  EXPECT_EQ(lineAfter(r, "Setting PATH (native libs) "),
            folders + narrowUtf8(environmentValue(L"PATH")));
}

TEST(NativeLibraryPath, RunsWithAnEmptyItemAndSetsPathToItself) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r = app.run(logged());
  EXPECT_EQ(r.exitCode, 83u);
  EXPECT_EQ(lineAfter(r, "native lib dir is "), "");
  EXPECT_EQ(lineAfter(r, "Setting PATH (native libs) "), narrowUtf8(environmentValue(L"PATH")));
}

TEST(NativeLibraryPath, RuntimeHomeReadsAsEmptyBeforeARuntimeIsChosen) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload().item(10004, "${launcher:sys.jvmHome}"));
  LaunchResult r = app.run(logged());
  EXPECT_TRUE(r.logContains("expanding2 ${launcher:sys.jvmHome} to  in .")) << r.log;
  // Nothing is left to put in front.
  EXPECT_EQ(lineAfter(r, "Setting PATH (native libs) "), narrowUtf8(environmentValue(L"PATH")));
}

TEST(NativeLibraryPath, EnvironmentReferencesAsWrittenOrInCapitals) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload().item(10004, "${WrlDir}a;${WRLDIR}b;${wrldir}c"));
  LaunchOptions options = logged();
  options.environment[L"WrlDir"] = L"D:\\x\\";
  LaunchResult r = app.run(options);
  const std::string dir = narrowUtf8(longForm(folder.path())) + "\\";
  EXPECT_EQ(lineAfter(r, "Setting PATH (native libs) "),
            "D:\\x\\a;D:\\x\\b;" + dir + "${wrldir}c;" + narrowUtf8(environmentValue(L"PATH")));
}

TEST(WorkingDirectory, ConfiguredFolderIsExpandedAndMadeFull) {
  struct Case {
    const char* item;
    std::wstring expected;  // below the launcher's folder
  };
  TestFolder folder;
  CreateDirectoryW(folder.file(L"work").c_str(), nullptr);
  const Case cases[] = {
      {"work", L"\\work"},
      {"%KESTREL_EXEDIR%work", L"\\work"},
      {"${launcher:sys.launcherDirectory}sub\\..\\work\\.", L"\\work"},
      {".", L""},
  };
  for (const Case& c : cases) {
    LauncherUnderTest app(folder, consolePayload().item(146, c.item));
    LaunchResult r = app.run(logged());
    EXPECT_EQ(lineAfter(r, "change working directory to "),
              narrowUtf8(longForm(folder.path()) + c.expected))
        << c.item;
    EXPECT_FALSE(r.logContains("working directory unchanged"));
  }
}

TEST(WorkingDirectory, NotChangedDuringALanguageRestart) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload().item(146, "work"));
  LaunchResult r = app.run(logged(L"__ksl_lang_restart x"));
  EXPECT_FALSE(r.logContains("working directory")) << r.log;
  EXPECT_TRUE(r.logContains("native lib dir is"));  // the start went on past that step
}

// A launcher in a folder whose name has no spelling in the ANSI code page (1252 in
// the test prefix): it reads its payload through the UTF-16 path, logs, and hands
// the 8.3 form of its folder to the 8-bit side.
TEST(NonAnsiFolder, LauncherStartsAndUsesTheShortFormForItsEightBitPath) {
  TestFolder folder;
  const std::wstring name = L"\u0395\u03bb\u03bb\u03b7\u03bd\u03b9\u03ba\u03ac \u4e2d\u6587";
  LauncherUnderTest app(folder, consolePayload().item(10004, "lib").item(146, "."),
                        name + L"\\app.exe");
  const std::wstring longDir = longForm(folder.path()) + L"\\" + name;
  const std::wstring shortDir = shortForm(longDir);
  ASSERT_FALSE(shortDir.empty());
  ASSERT_NE(shortDir, longDir);
  ASSERT_TRUE(std::all_of(shortDir.begin(), shortDir.end(), [](wchar_t c) { return c < 128; }))
      << narrowUtf8(shortDir);

  LaunchResult r = app.run(logged());
  EXPECT_EQ(r.exitCode, 83u);
  ASSERT_TRUE(r.hasLog());
  EXPECT_TRUE(r.logContains("rawDataSize: "));                     // the payload was found and read
  EXPECT_TRUE(r.logContains(narrowUtf8(longDir + L"\\app.exe")));  // the UTF-16 name
  EXPECT_EQ(lineAfter(r, "Setting PATH (native libs) "),
            narrowUtf8(shortDir + L"\\lib;" + environmentValue(L"PATH")));
  // The working directory goes through the 8-bit-safe form as well.
  EXPECT_EQ(lineAfter(r, "change working directory to "), narrowUtf8(shortDir));
}

}  // namespace
