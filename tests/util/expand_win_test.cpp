// Variable expansion in-process: the launcher's own directory and folders, and
// the real process environment.
#include "util/expand.h"

#include "jre/runtime_facts.h"
#include "payload/temp_files.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
 public:
  ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t buffer[32768];
    SetLastError(0);
    const DWORD n = GetEnvironmentVariableW(name, buffer, 32768);
    if (n != 0 || GetLastError() != ERROR_ENVVAR_NOT_FOUND) old_ = std::wstring(buffer, n);
    SetEnvironmentVariableW(name, value);
  }
  ~ScopedVariable() { SetEnvironmentVariableW(name_.c_str(), old_ ? old_->c_str() : nullptr); }

 private:
  std::wstring name_;
  std::optional<std::wstring> old_;
};

TEST(ExpandVariables, ExecutableDirectoryComesWithItsBackslash) {
  std::string narrow = "%KESTREL_EXEDIR%lib;${launcher:sys.launcherDirectory}lib";
  expandVariables(narrow);
  EXPECT_EQ(narrow, executableDirectory() + "lib;" + executableDirectory() + "lib");

  for (bool narrowSafe : {true, false}) {
    WString wide = u"%KESTREL_EXEDIR%lib|${WRENLET_EXEDIR}lib";
    expandVariablesWide(wide, narrowSafe);
    const WString& dir = narrowSafe ? executableDirectoryNarrowSafe() : executableDirectoryWide();
    EXPECT_EQ(wide, dir + u"lib|" + dir + u"lib") << narrowSafe;
  }
}

TEST(ExpandVariables, TemporaryFolderAndLauncherFolders) {
  std::string narrow =
      "${launcher:sys.tempDir}|${launcher:sys.launcherTempDirectory}|"
      "${KESTREL_PATHLIST_SEPARATOR}";
  expandVariables(narrow);
  EXPECT_EQ(narrow, tempFolder() + "|" + launcherTempDirectory() + "|;");

  WString safe = u"${launcher:sys.tempDir}";
  expandVariablesWide(safe, true);
  EXPECT_EQ(safe, widenBytewise(tempFolder()));
  WString wide = u"${launcher:sys.tempDir}";
  expandVariablesWide(wide, false);
  EXPECT_EQ(wide, tempFolderW(true));
}

TEST(ExpandVariables, RuntimeHomeIsEmptyBeforeARuntimeIsChosen) {
  if (!runtimeHome().empty()) GTEST_SKIP() << "a runtime was recorded earlier in this process";
  std::string narrow = "[${launcher:sys.jvmHome}%KESTREL_JVM_HOME%]";
  expandVariables(narrow);
  EXPECT_EQ(narrow, "[]");
  WString wide = u"[${launcher:sys.jvmHome}${WRENLET_JVM_HOME}]";
  expandVariablesWide(wide, false);
  EXPECT_EQ(wide, u"[]");
}

TEST(ExpandVariables, EnvironmentNamesAsWrittenOrInCapitals) {
  ScopedVariable mixed(L"WrlMixed", L"C:\\m\u00e9");
  ScopedVariable self(L"WRL_SELF", L"a${WRL_SELF}b");
  ScopedVariable late(L"WRL_LATE", L"${launcher:sys.jvmHome}");

  WString wide = u"${WrlMixed}|${WRLMIXED}|${wrlmixed}|${WRL_SELF}|${WRL_LATE}";
  expandVariablesWide(wide, false);
  EXPECT_EQ(wide, u"C:\\m\u00e9|C:\\m\u00e9|${wrlmixed}|a${WRL_SELF}b|${launcher:sys.jvmHome}");

  std::string narrow = "${WrlMixed}|${WRLMIXED}|${wrlmixed}|${WRL_SELF}";
  expandVariables(narrow);
  EXPECT_EQ(narrow, "C:\\m\xE9|C:\\m\xE9|${wrlmixed}|a${WRL_SELF}b");
}

TEST(ExpandVariables, GrowthStaysWithinTheCallersCapacity) {
  ScopedVariable big(L"WRL_BIG", std::wstring(4000, L'x').c_str());
  std::string narrow = "${WRL_BIG}${WRL_BIG}";
  expandVariables(narrow);
  EXPECT_EQ(narrow, std::string(kTextCapacity - 1, 'x'));
  WString wide = u"${WRL_BIG}-${WRL_BIG}";
  expandVariablesWide(wide, true, 2000);
  EXPECT_EQ(wide, WString(1999, u'x'));
  ASSERT_GT(executableDirectoryWide().size(), 16u);
  WString small = u"%KESTREL_EXEDIR%";
  expandVariablesWide(small, false, 17);
  EXPECT_EQ(small, executableDirectoryWide().substr(0, 16));
}

}  // namespace

// Last in this file: a recorded runtime stays for the rest of the process.
TEST(ExpandVariables, RuntimeHomeOfTheChosenRuntime) {
  recordRuntimeFacts("c:\\jre7\\bin\\javaw.exe", "1.7.0_80");
  std::string narrow = "%KESTREL_JVM_HOME%\\lib;${WRENLET_JVM_HOME}";
  expandVariables(narrow);
  EXPECT_EQ(narrow, "c:\\jre7\\bin\\..\\lib;c:\\jre7\\bin\\..");
  WString wide = u"${launcher:sys.jvmHome}\\bin";
  expandVariablesWide(wide, false);
  EXPECT_EQ(wide, u"c:\\jre7\\bin\\..\\bin");
}
