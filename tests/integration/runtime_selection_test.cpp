// Runtime selection through the real launcher: the search sequence, the messages
// per origin, packed runtimes, and how errors reach the user.
#include "launcher_harness_win.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::wstring> kNoJavaVariables = {L"WRENLET_JAVA_HOME", L"KESTREL_JAVA_HOME",
                                                    L"JAVA_HOME"};

bool copyFixture(const wchar_t* fixture, const std::wstring& target) {
  std::wstring dir = target.substr(0, target.find_last_of(L'\\'));
  for (std::size_t pos = dir.find(L'\\', 3); pos != std::wstring::npos;
       pos = dir.find(L'\\', pos + 1))
    CreateDirectoryW(dir.substr(0, pos).c_str(), nullptr);
  CreateDirectoryW(dir.c_str(), nullptr);
  return CopyFileW((buildDirectory() + L"\\" + fixture).c_str(), target.c_str(), FALSE) != 0;
}

// A runtime home with the stand-in java.exe answering "-version" with the given
// version and a VM library in bin\server.
void makeRuntime(const std::wstring& home, const std::string& version,
                 const wchar_t* jvm = L"fake_jvm.dll") {
  ASSERT_TRUE(copyFixture(L"fake_java.exe", home + L"\\bin\\java.exe"));
  ASSERT_TRUE(writeWholeFile(home + L"\\bin\\fake_java.cfg",
                             "err=java version \"" + version + "\"\r\nexit=0\r\n"));
  ASSERT_TRUE(copyFixture(jvm, home + L"\\bin\\server\\jvm.dll"));
}

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
    ++count;
  return count;
}

TEST(RuntimeSelection, NoRuntimeAnywhereShowsMessage1016AndEndsWith83) {
  TestFolder folder;
  LauncherUnderTest app(folder, consolePayload());
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}, .unset = kNoJavaVariables});
  EXPECT_EQ(r.exitCode, 83u);
  EXPECT_EQ(r.err, "No Java 64\n\nLog: " + narrowUtf8(r.logPath) + "\n");
  EXPECT_TRUE(r.logContains("LoadDLL (1, (null), 0)\r\n"));
  EXPECT_TRUE(r.logContains("Search sequence finished\r\n"));
  EXPECT_TRUE(r.logContains("ERROR: No JVM found\r\n"));
}

// Registry tests of the runtime sources create JavaSoft keys for a while; searches
// that consult installed runtimes wait for them.
class RegistryTurn {
 public:
  RegistryTurn() : mutex_(CreateMutexW(nullptr, FALSE, L"wrenlet_test_java_registry")) {
    WaitForSingleObject(mutex_, INFINITE);
  }
  ~RegistryTurn() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  RegistryTurn(const RegistryTurn&) = delete;
  RegistryTurn& operator=(const RegistryTurn&) = delete;

 private:
  HANDLE mutex_;
};

TEST(RuntimeSelection, FallbackPassTakesTheRelativeDirectoryWithoutVersionCheck) {
  RegistryTurn turn;
  TestFolder folder;
  makeRuntime(folder.file(L"jre"), "1.6.0_45");
  payload::PayloadBuilder b = consolePayload();
  b.item(126, "1.8").item(128, "Rjre;Y;EJAVA_HOME");
  LauncherUnderTest app(folder, b);
  LaunchResult r = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}, .unset = kNoJavaVariables});
  EXPECT_TRUE(r.logContains("Testing location jre (type R)\r\n")) << r.log;
  EXPECT_TRUE(r.logContains("Testing location  (type Y)\r\n"));
  EXPECT_TRUE(r.logContains("Testing location JAVA_HOME (type E)\r\n"));
  EXPECT_TRUE(r.logContains("Testing relative location jre\r\n"));
  EXPECT_TRUE(r.logContains("Loading of JVM-DLL successful\r\n"));
  const auto tried = r.log.find("Testing relative location jre");
  EXPECT_LT(r.log.find("checkJavaExe returning 0"), tried);
  EXPECT_TRUE(r.logContains("\\jre\\bin\\java.exe exists\r\n"));
  // Java launch itself is not part of this build yet: the launch-failed message ends it.
  EXPECT_EQ(r.exitCode, 1u);
}

TEST(RuntimeSelection, UnusableLibraryShowsTheMessagesOfItsOrigin) {
  struct Case {
    const char* name;
    std::string sequence;
    bool viaEnvironment;
    std::string expected;  // standard error without the log tail
  };
  const Case cases[] = {
      {"directory", "Rjre", false, "Location failed jre\nLaunch failed\n"},
      {"environment variable", "", true,
       "Source failed WRENLET_JAVA_HOME\nLocation failed WRENLET_JAVA_HOME\nLaunch failed\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestFolder folder;
    makeRuntime(folder.file(L"jre"), "1.8.0_181", L"fake_jvm_noexport.dll");
    payload::PayloadBuilder b = consolePayload();
    if (!c.sequence.empty()) b.item(128, c.sequence);
    LauncherUnderTest app(folder, b);
    LaunchOptions options{.unset = kNoJavaVariables};
    if (c.viaEnvironment) options.environment[L"WRENLET_JAVA_HOME"] = folder.file(L"jre");
    LaunchResult r = app.run(options);
    EXPECT_EQ(r.exitCode, 83u);
    EXPECT_EQ(r.err, c.expected);
  }
}

TEST(RuntimeSelection, PackedArchivesAreUnpackedOnceBeforeTheProbe) {
  TestFolder folder;
  const std::wstring home = folder.file(L"jre");
  makeRuntime(home, "1.8.0_181");
  ASSERT_TRUE(copyFixture(L"fake_unpack200.exe", home + L"\\bin\\unpack200.exe"));
  CreateDirectoryW((home + L"\\lib").c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(home + L"\\lib\\rt.jar.pack", "packed"));
  payload::PayloadBuilder b = consolePayload();
  b.item(128, "Rjre");
  LauncherUnderTest app(folder, b);

  LaunchResult first = app.run({.environment = {{L"KESTREL_LOG", L"yes"}}, .unset = kNoJavaVariables});
  EXPECT_EQ(occurrences(first.out, "Preparing JRE ...\n"), 1u) << first.out;
  EXPECT_TRUE(first.logContains("Unpacking JRE done\r\n"));
  EXPECT_NE(GetFileAttributesW((home + L"\\lib\\rt.jar").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesW((home + L"\\lib\\rt.jar.pack").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(first.logContains("Loading of JVM-DLL successful"));

  LaunchResult second = app.run({.unset = kNoJavaVariables});
  EXPECT_EQ(second.out, "");
}

TEST(RuntimeSelection, MissingUnpackToolIsAnInternalError) {
  TestFolder folder;
  const std::wstring home = folder.file(L"jre");
  makeRuntime(home, "1.8.0_181");
  CreateDirectoryW((home + L"\\lib").c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(home + L"\\lib\\rt.jar.pack", "packed"));
  payload::PayloadBuilder b = consolePayload();
  b.item(128, "Rjre");
  LauncherUnderTest app(folder, b);
  LaunchResult r = app.run({.unset = kNoJavaVariables});
  EXPECT_EQ(r.exitCode, 1u);
  EXPECT_EQ(r.err, "Internal error 20\n");
}

TEST(ErrorDisplay, ExecutableTypeAndConsoleArgumentsDecideWhereMessagesGo) {
  struct Case {
    std::vector<std::pair<int, std::string>> items;
    std::wstring arguments;
    bool onStandardError;
  };
  const Case cases[] = {
      {{{107, "1"}}, L"", false},
      {{{107, "5"}}, L"", false},
      {{{107, "0"}}, L"", true},
      {{{107, "2"}}, L"", true},
      {{}, L"", true},
      {{{107, "0"}, {107, "1"}}, L"", false},  // the later entry wins
      {{{107, "1"}, {107, "0"}}, L"", true},
      {{{107, "1"}, {154, "1"}}, L"-q", true},
      {{{107, "1"}, {154, "0"}, {156, "1"}}, L"-q", false},  // "-q" is an ordinary argument
      {{{107, "1"}}, L"-q_ksl_internal", true},
  };
  for (const Case& c : cases) {
    payload::PayloadBuilder b;
    for (const auto& [id, value] : c.items) b.item(id, value);
    b.message(1016, u"No Java {0}");
    TestFolder folder;
    LauncherUnderTest app(folder, b);
    LaunchResult r = app.run({.arguments = c.arguments, .unset = kNoJavaVariables});
    EXPECT_EQ(r.exitCode, 83u);
    EXPECT_EQ(r.err, c.onStandardError ? "No Java 64\n" : "")
        << c.items.size() << " items, arguments " << narrowUtf8(c.arguments);
  }
}

}  // namespace
