#include "jre/installed_runtimes.h"

#include "java_runtime_fixtures_win.h"
#include "jre/installed_runtimes_text.h"
#include "payload/config_items.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace {

using namespace runtime_fixtures;

const JavaVersion kNoLimit;

// The registry records of the installed-runtime sources, empty at the start and at
// the end of each test. Tests in other processes that touch the same keys wait for
// each other through a named mutex.
class RegistryScratch {
 public:
  RegistryScratch() : mutex_(CreateMutexW(nullptr, FALSE, L"wrenlet_test_java_registry")) {
    const DWORD waited = WaitForSingleObject(mutex_, 120000);
    EXPECT_TRUE(waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED);
    clear();
  }
  ~RegistryScratch() {
    clear();
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  RegistryScratch(const RegistryScratch&) = delete;
  RegistryScratch& operator=(const RegistryScratch&) = delete;

  void clear() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
      for (std::string_view key : {kJavaSoftRuntimeKey, kJavaSoftKitKey, kLocatedRuntimesKey,
                                   kInstallationsKey}) {
        std::string name(key);
        if (name.back() == '\\') name.pop_back();
        RegDeleteTreeA(root, name.c_str());
      }
    }
  }

  static void setString(HKEY root, const std::string& key, const char* name,
                        const std::string& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS)
        << key;
    EXPECT_EQ(RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                             static_cast<DWORD>(value.size() + 1)),
              ERROR_SUCCESS);
    RegCloseKey(handle);
  }
  static void addKey(HKEY root, const std::string& key) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr),
              ERROR_SUCCESS)
        << key;
    RegCloseKey(handle);
  }

  static void javaSoftVersion(std::string_view base, const std::string& version,
                              const std::string& home) {
    setString(HKEY_LOCAL_MACHINE, std::string(base) + "\\" + version, "JavaHome", home);
  }
  static void currentVersion(std::string_view base, const std::string& version) {
    setString(HKEY_LOCAL_MACHINE, std::string(base), "CurrentVersion", version);
  }
  // A located runtime is recorded as a key named by its executable with "/" for "\".
  static void located(HKEY root, const std::string& exe) {
    std::string name = exe;
    for (char& c : name)
      if (c == '\\') c = '/';
    addKey(root, std::string(kLocatedRuntimesKey) + name);
  }

 private:
  HANDLE mutex_;
};

const std::vector<std::string> kJreLayout = {"bin\\java.exe"};
const std::vector<std::string> kJdkLayout = {"jre\\bin\\java.exe"};

class InstalledRuntimesTest : public ::testing::Test {
 protected:
  // A runtime home that prints the version; a development kit has lib\tools.jar.
  FakeRuntime& runtime(const std::string& name, const std::string& version, bool kit = false) {
    const std::string home = narrow(folder.path()) + "\\" + name;
    runtimes.push_back(
        std::make_unique<FakeRuntime>(home, kit ? kJdkLayout : kJreLayout, printsVersion(version)));
    if (kit) writeFile(home + "\\lib\\tools.jar", "x");
    return *runtimes.back();
  }
  static std::string exeOf(const FakeRuntime& r) {
    return r.normalized(pathExists(r.path("jre\\bin\\java.exe")) ? "jre\\bin\\java.exe"
                                                                 : "bin\\java.exe");
  }
  static int runsOf(const FakeRuntime& r) {
    return r.runs(pathExists(r.path("jre\\bin\\java.exe")) ? "jre\\bin\\java.exe"
                                                           : "bin\\java.exe");
  }

  TestFolder folder;
  std::vector<std::unique_ptr<FakeRuntime>> runtimes;
  RegistryScratch registry;
  LogTap log;
  ConfigOverride config{{kItemExecutableType, "0"}, {kItemAllowBetaJava, "0"},
                        {kItemRequireJdk, "0"}, {kItemSharedRuntimesOnly, "0"},
                        {kItemInstallationAppId, ""}};
  std::string exe, version;
};

TEST_F(InstalledRuntimesTest, CurrentVersionValuesChooseTheHome) {
  FakeRuntime& jre18 = runtime("jre18", "1.8.0_181");
  FakeRuntime& jre17 = runtime("jre17", "1.7.0_80");
  FakeRuntime& jreBase = runtime("jrebase", "1.7.0_10");
  FakeRuntime& jdk18 = runtime("jdk18", "1.8.0_05", true);
  FakeRuntime& jdk18020 = runtime("jdk18020", "1.8.0_20", true);

  struct Case {
    const char* kit;
    const char* environment;
    const char* upper;
    const char* requireJdk;
    const FakeRuntime* expected;
  };
  const Case cases[] = {
      {"1.8", "1.8", "", "0", &jre18},           // equal: the runtime environment
      {"1.8.0_20", "1.8", "", "0", &jdk18020},   // the kit is newer
      {"1.8", "1.7", "1.7", "0", &jre17},        // the kit is beyond the limit
      {"1.8", "1.8", "1.7", "0", &jreBase},      // both emptied: the key itself
      {"1.8", "9", "", "1", &jdk18},             // a kit required: the environment ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.kit) + " / " + c.environment + " max " + c.upper);
    registry.clear();
    registry.setString(HKEY_LOCAL_MACHINE, std::string(kJavaSoftRuntimeKey), "JavaHome",
                       jreBase.home());
    registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8", jre18.home());
    registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.7", jre17.home());
    registry.javaSoftVersion(kJavaSoftRuntimeKey, "9", jre18.home());
    registry.javaSoftVersion(kJavaSoftKitKey, "1.8", jdk18.home());
    registry.javaSoftVersion(kJavaSoftKitKey, "1.8.0_20", jdk18020.home());
    registry.currentVersion(kJavaSoftRuntimeKey, c.environment);
    registry.currentVersion(kJavaSoftKitKey, c.kit);
    ConfigOverride item{{kItemRequireJdk, c.requireJdk}};

    ASSERT_TRUE(findCurrentVersionRuntime(exe, version, kNoLimit, parseJavaVersion(c.upper)));
    EXPECT_EQ(exe, exeOf(*c.expected));
  }
}

TEST_F(InstalledRuntimesTest, VersionKeysAreTriedInReverseTextOrderWithinTheLimits) {
  FakeRuntime& r16 = runtime("r16", "1.6.0_30");
  FakeRuntime& r1645 = runtime("r1645", "1.6.0_10");  // below the minimum
  // Acceptable runtimes behind keys beyond the maximum: they must not be tried.
  FakeRuntime& r18 = runtime("r18", "1.7.0_99");
  FakeRuntime& r18181 = runtime("r18181", "1.7.0_98");
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.6", r16.home());
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.6.0_45", r1645.home());
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8", r18.home());
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8.0_181", r18181.home());
  registry.addKey(HKEY_LOCAL_MACHINE, std::string(kJavaSoftRuntimeKey) + "\\1.7");  // no JavaHome

  ASSERT_TRUE(findVersionKeyRuntime(std::string(kJavaSoftRuntimeKey), exe, version,
                                    parseJavaVersion("1.6.0_20"), parseJavaVersion("1.7")));
  EXPECT_EQ(exe, exeOf(r16));
  EXPECT_EQ(version, "1.6.0_30");
  EXPECT_EQ(runsOf(r1645), 1) << "1.6.0_45 comes before 1.6";
  EXPECT_EQ(runsOf(r18), 0);
  EXPECT_EQ(runsOf(r18181), 0);
}

TEST_F(InstalledRuntimesTest, ARequiredKitConsultsOnlyTheKitKeys) {
  // A kit recorded as a runtime environment would pass, were it looked at.
  FakeRuntime& asJre = runtime("asjre", "1.8.0_181", true);
  FakeRuntime& kit = runtime("jdk17", "1.7.0_80", true);
  registry.currentVersion(kJavaSoftRuntimeKey, "1.8");
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8", asJre.home());
  registry.javaSoftVersion(kJavaSoftKitKey, "1.7", kit.home());

  {
    ConfigOverride item{{kItemRequireJdk, "1"}};
    ASSERT_TRUE(findJavaSoftRuntime(exe, version, kNoLimit, kNoLimit));
    EXPECT_EQ(exe, exeOf(kit));
    EXPECT_EQ(runsOf(asJre), 0);
  }
  ASSERT_TRUE(findJavaSoftRuntime(exe, version, kNoLimit, kNoLimit));
  EXPECT_EQ(exe, exeOf(asJre));
  EXPECT_EQ(version, "1.8.0_181");
}

TEST_F(InstalledRuntimesTest, LocatedRuntimeOfTheUserWinsOnlyWhenNewer) {
  struct Case {
    const char* user;
    const char* machine;
    bool userWins;
  };
  const Case cases[] = {
      {"1.8.0_181", "1.8.0_181", false},
      {"1.8.0_191", "1.8.0_181", true},
      {"1.8.0_171", "1.8.0_181", false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.user) + " / " + c.machine);
    registry.clear();
    FakeRuntime& user = runtime("user" + std::to_string(n), c.user);
    FakeRuntime& machine = runtime("machine" + std::to_string(n++), c.machine);
    registry.located(HKEY_CURRENT_USER, user.path("bin\\java.exe"));
    registry.located(HKEY_LOCAL_MACHINE, machine.path("bin\\java.exe"));

    ASSERT_TRUE(findLocatedRuntime(true, exe, version, kNoLimit, kNoLimit));
    EXPECT_EQ(exe, exeOf(c.userWins ? user : machine));
    EXPECT_EQ(version, c.userWins ? c.user : c.machine);
  }
}

TEST_F(InstalledRuntimesTest, NewestLocatedRuntimeOfOneRootWithinTheLimits) {
  FakeRuntime& old = runtime("old", "1.8.0_45");
  FakeRuntime& newest = runtime("newest", "1.8.0_181");
  FakeRuntime& beyond = runtime("beyond", "11.0.2");
  for (FakeRuntime* r : {&old, &newest, &beyond})
    registry.located(HKEY_CURRENT_USER, r->path("bin\\java.exe"));

  ASSERT_TRUE(scanLocatedRuntimes(HKEY_CURRENT_USER, true, exe, version, kNoLimit,
                                  parseJavaVersion("1.8")));
  EXPECT_EQ(exe, exeOf(newest));
  EXPECT_EQ(version, "1.8.0_181");
  EXPECT_FALSE(scanLocatedRuntimes(HKEY_LOCAL_MACHINE, true, exe, version, kNoLimit, kNoLimit));
}

TEST_F(InstalledRuntimesTest, JavaSoftRuntimeWinsOnlyWhenNewerThanTheLocatedOne) {
  struct Case {
    const char* javaSoft;
    const char* located;
    bool javaSoftWins;
  };
  const Case cases[] = {
      {"1.8.0_181", "1.8.0_181", false},
      {"1.8.0_191", "1.8.0_181", true},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.javaSoft) + " / " + c.located);
    registry.clear();
    LogTap tap;
    FakeRuntime& sun = runtime("sun" + std::to_string(n), c.javaSoft);
    FakeRuntime& located = runtime("located" + std::to_string(n++), c.located);
    registry.currentVersion(kJavaSoftRuntimeKey, "1.8");
    registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8", sun.home());
    registry.located(HKEY_LOCAL_MACHINE, located.path("bin\\java.exe"));

    ASSERT_TRUE(findInstalledRuntime(exe, version, kNoLimit, kNoLimit));
    EXPECT_EQ(exe, exeOf(c.javaSoftWins ? sun : located));
    EXPECT_LOGGED(tap, "found sun " + exeOf(sun) + " " + c.javaSoft);
    EXPECT_LOGGED(tap, "found located " + exeOf(located) + " " + c.located);
  }
}

TEST_F(InstalledRuntimesTest, SharedRuntimesOnlySkipsJavaSoftAndUnsharedRecords) {
  FakeRuntime& sun = runtime("sun", "1.8.0_191");
  FakeRuntime& plain = runtime("plain", "1.8.0_191");
  FakeRuntime& shared = runtime("ksl_jres\\jre8", "1.8.0_181");
  registry.currentVersion(kJavaSoftRuntimeKey, "1.8");
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.8", sun.home());
  registry.located(HKEY_CURRENT_USER, plain.path("bin\\java.exe"));
  registry.located(HKEY_CURRENT_USER, shared.path("bin\\java.exe"));
  ConfigOverride item{{kItemSharedRuntimesOnly, "1"}};

  ASSERT_TRUE(findInstalledRuntime(exe, version, kNoLimit, kNoLimit));
  EXPECT_EQ(exe, exeOf(shared));
  EXPECT_EQ(runsOf(sun), 0);
  EXPECT_EQ(runsOf(plain), 0);
}

TEST_F(InstalledRuntimesTest, PreReleaseIsAcceptedFromLocatedRecordsOnly) {
  FakeRuntime& early = runtime("early", "1.9.0-ea");
  registry.currentVersion(kJavaSoftRuntimeKey, "1.9");
  registry.javaSoftVersion(kJavaSoftRuntimeKey, "1.9", early.home());

  EXPECT_FALSE(findJavaSoftRuntime(exe, version, kNoLimit, kNoLimit));
  EXPECT_LOGGED(log, "beta vm not allowed");

  registry.located(HKEY_LOCAL_MACHINE, early.path("bin\\java.exe"));
  ASSERT_TRUE(findInstalledRuntime(exe, version, kNoLimit, kNoLimit));
  EXPECT_EQ(exe, exeOf(early));
  EXPECT_EQ(version, "1.9.0-ea");
}

TEST_F(InstalledRuntimesTest, PreviousInstallationsAreWalkedInOrder) {
  ConfigOverride item{{kItemInstallationAppId, "1234-5678"}};
  const std::string app1 = narrow(folder.path()) + "\\App1";
  const std::string app2 = narrow(folder.path()) + "\\App2";
  FakeRuntime& old = runtime("App1\\jre", "1.5.0_22");
  FakeRuntime& fine = runtime("App2\\jre", "1.8.0_181");
  registry.setString(HKEY_CURRENT_USER, std::string(kInstallationsKey), "1234-5678",
                     app1 + ";;" + app2);

  ASSERT_TRUE(findPreviousInstallation(HKEY_CURRENT_USER, exe, version, parseJavaVersion("1.6"),
                                       kNoLimit));
  EXPECT_EQ(exe, exeOf(fine));
  EXPECT_EQ(version, "1.8.0_181");
  EXPECT_EQ(runsOf(old), 1);
  EXPECT_LOGGED(log, "checking app id 1234-5678 (0, ");
  EXPECT_LOGGED(log, "found installations: " + app1 + ";;" + app2);
  EXPECT_LOGGED(log, "java version did not match in " + app1 + "\\jre");

  // Nothing under the machine's key: both registry views are asked.
  LogTap machine;
  EXPECT_FALSE(findPreviousInstallation(HKEY_LOCAL_MACHINE, exe, version, kNoLimit, kNoLimit));
  EXPECT_LOGGED(machine, "checking app id 1234-5678 (256, ");
  EXPECT_LOGGED(machine, "could not open installation node 2");

  // Without an application id nothing is looked for.
  ConfigOverride noId{{kItemInstallationAppId, ""}};
  EXPECT_FALSE(findPreviousInstallation(HKEY_CURRENT_USER, exe, version, kNoLimit, kNoLimit));
  EXPECT_EQ(runsOf(fine), 1);
}

}  // namespace
