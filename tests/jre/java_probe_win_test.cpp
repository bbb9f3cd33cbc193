#include "jre/java_probe.h"

#include "java_runtime_fixtures_win.h"
#include "jre/java_probe_text.h"
#include "payload/config_items.h"
#include "util/handle.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace runtime_fixtures;

const JavaVersion kNoLimit;

struct Probe {
  bool ok = false;
  std::string exe;
  std::string version;
};

Probe probe(const std::string& exe, const JavaVersion& lower = kNoLimit,
            const JavaVersion& upper = kNoLimit, bool allowBeta = false) {
  Probe p;
  p.exe = exe;
  p.ok = checkJavaExe(p.exe, p.version, lower, upper, allowBeta);
  return p;
}

// The raw cache entry of an executable: the stamp's bytes and the stored text.
struct RawEntry {
  DWORD stampType = 0;
  std::string stamp;
  DWORD versionType = 0;
  std::string version;
};

std::optional<RawEntry> rawCacheEntry(const std::string& normalizedExe) {
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, versionCacheKeyFor(normalizedExe).c_str(), 0, KEY_READ,
                    key.out()) != ERROR_SUCCESS)
    return std::nullopt;
  RawEntry entry;
  char buffer[256];
  DWORD size = sizeof buffer;
  if (RegQueryValueExA(key.get(), "LastWriteTime", nullptr, &entry.stampType,
                       reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS)
    entry.stamp.assign(buffer, size);
  size = sizeof buffer;
  if (RegQueryValueExW(key.get(), L"Version", nullptr, &entry.versionType,
                       reinterpret_cast<BYTE*>(buffer), &size) == ERROR_SUCCESS) {
    // The stored UTF-16 units, so that a terminator would show.
    for (DWORD i = 0; i + 1 < size; i += 2) entry.version.push_back(buffer[i]);
  }
  return entry;
}

bool folderIsEmpty(const std::wstring& dir) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool empty = true;
  do {
    std::wstring name = entry.cFileName;
    if (name != L"." && name != L"..") empty = false;
  } while (empty && FindNextFileW(search, &entry));
  FindClose(search);
  return empty;
}

class JavaProbeTest : public ::testing::Test {
 protected:
  std::string home(const std::string& name) const { return narrow(folder.path()) + "\\" + name; }

  TestFolder folder;
  LogTap log;
  // Items 107, 130 and 131 as a plain application launcher has them.
  ConfigOverride config{{kItemExecutableType, "0"}, {kItemAllowBetaJava, "0"}, {kItemRequireJdk, "0"}};
};

TEST_F(JavaProbeTest, SecondProbeTakesTheCachedVersionUntilTheExecutableChanges) {
  FakeRuntime jre(home("Jre8"), {"bin\\java.exe"}, printsVersion("1.8.0_181"));
  const std::string exe = jre.normalized("bin\\java.exe");

  Probe first = probe(jre.home() + "\\bin\\\\Java.exe");
  EXPECT_TRUE(first.ok);
  EXPECT_EQ(first.exe, exe);  // absolute, lower-cased, backslash runs collapsed
  EXPECT_EQ(first.version, "1.8.0_181");
  EXPECT_EQ(jre.runs("bin\\java.exe"), 1);
  EXPECT_LOGGED(log, "got version from execution 1.8.0_181");
  EXPECT_LOGGED(log, "Java version: 1.8.0_181");

  // The entry: an 8-byte binary stamp and the text. The text is written without a
  // terminator; Wine's registry adds one to every REG_SZ value, Windows does not.
  auto entry = rawCacheEntry(exe);
  ASSERT_TRUE(entry);
  EXPECT_EQ(entry->stampType, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(entry->stamp, lastWriteTimeBytes(jre.lastWrite("bin\\java.exe")));
  EXPECT_EQ(entry->versionType, static_cast<DWORD>(REG_SZ));
  if (!entry->version.empty() && entry->version.back() == '\0') entry->version.pop_back();
  EXPECT_EQ(entry->version, "1.8.0_181");

  LogTap second;
  Probe again = probe(first.exe);
  EXPECT_TRUE(again.ok);
  EXPECT_EQ(again.version, "1.8.0_181");
  EXPECT_EQ(jre.runs("bin\\java.exe"), 1) << "a cache hit starts no process";
  EXPECT_LOGGED(second, "got version from registry 1.8.0_181");
  EXPECT_NOT_LOGGED(second, "got version from execution");

  jre.touch("bin\\java.exe");
  jre.configure("bin\\java.exe", printsVersion("1.8.0_191"));
  Probe replaced = probe(first.exe);
  EXPECT_TRUE(replaced.ok);
  EXPECT_EQ(replaced.version, "1.8.0_191");
  EXPECT_EQ(jre.runs("bin\\java.exe"), 2);
  EXPECT_EQ(readCachedVersion(exe, jre.lastWrite("bin\\java.exe")), "1.8.0_191");
}

TEST_F(JavaProbeTest, CachedEntriesThatAreNotTrustedRunTheExecutable) {
  struct Case {
    const char* cached;
    int expectedRuns;
    const char* expectedVersion;
  };
  const Case cases[] = {
      {"1.0.0", 1, "1.8.0_181"},  // the marker of a failed run
      {"1.6.", 1, "1.8.0_181"},   // counts as absent
      {"1.7.0_80", 0, "1.7.0_80"},  // any other text is believed
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cached);
    FakeRuntime jre(home("jre" + std::to_string(n++)), {"bin\\java.exe"}, printsVersion("1.8.0_181"));
    const std::string exe = jre.normalized("bin\\java.exe");
    const std::uint64_t stamp = jre.lastWrite("bin\\java.exe");
    storeCachedVersion(exe, stamp, c.cached);

    Probe p = probe(exe);
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.version, c.expectedVersion);
    EXPECT_EQ(jre.runs("bin\\java.exe"), c.expectedRuns);
    EXPECT_EQ(readCachedVersion(exe, stamp), c.expectedVersion);
  }
}

TEST_F(JavaProbeTest, ReadCachedVersionNeedsTheSameStampAndAFittingText) {
  const std::string exe = "c:\\no such runtime\\bin\\java.exe";
  RegDeleteKeyA(HKEY_CURRENT_USER, versionCacheKeyFor(exe).c_str());
  EXPECT_EQ(readCachedVersion(exe, 42), std::nullopt);
  storeCachedVersion(exe, 42, "1.8.0_181");
  EXPECT_EQ(readCachedVersion(exe, 42), "1.8.0_181");
  EXPECT_EQ(readCachedVersion(exe, 43), std::nullopt);
  // "1.8.0_181" and its terminator need 10 bytes.
  EXPECT_EQ(readCachedVersion(exe, 42, 10), "1.8.0_181");
  EXPECT_EQ(readCachedVersion(exe, 42, 9), std::nullopt);
  storeCachedVersion(exe, 42, "1.5.");
  EXPECT_EQ(readCachedVersion(exe, 42), std::nullopt);
  RegDeleteKeyA(HKEY_CURRENT_USER, versionCacheKeyFor(exe).c_str());
}

TEST_F(JavaProbeTest, FailedRunsAreRejectedAndOnlyANonzeroExitIsRemembered) {
  struct Case {
    const char* name;
    FakeBehaviour behaviour;
    std::optional<std::string> cachedAfterwards;
  };
  const Case cases[] = {
      {"notice first", {{"Picked up _JAVA_OPTIONS: -Xmx512m", "java version \"1.8.0_181\""}},
       std::nullopt},
      {"nonzero exit", {{"java version \"1.8.0_181\""}, 1}, "1.0.0"},
      {"no output", {{}}, std::nullopt},
  };
  TestFolder captures;  // the capture files go here and must not stay
  EnvironmentOverride tmp(L"TMP", captures.path());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LogTap tap;
    FakeRuntime jre(home(c.name), {"bin\\java.exe"}, c.behaviour);
    Probe p = probe(jre.path("bin\\java.exe"));
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(jre.runs("bin\\java.exe"), 1);
    EXPECT_EQ(readCachedVersion(p.exe, jre.lastWrite("bin\\java.exe")), c.cachedAfterwards);
    EXPECT_LOGGED(tap, "couldn't get version");
    EXPECT_LOGGED(tap, "checkJavaExe returning 0");
    EXPECT_TRUE(folderIsEmpty(captures.path()));

    // Nothing trustworthy was stored: the next probe runs it again.
    probe(p.exe);
    EXPECT_EQ(jre.runs("bin\\java.exe"), 2);
  }
}

TEST_F(JavaProbeTest, OpenJdkVersionLineIsUnderstood) {
  FakeRuntime jdk(home("jdk11"), {"bin\\java.exe"},
                  {{"openjdk version \"11.0.2\" 2019-01-15", "OpenJDK Runtime Environment"}});
  Probe p = probe(jdk.path("bin\\java.exe"), parseJavaVersion("1.8"));
  EXPECT_TRUE(p.ok);
  EXPECT_EQ(p.version, "11.0.2");
}

TEST_F(JavaProbeTest, AVersionOutsideTheLimitsIsLearnedButRejected) {
  FakeRuntime jre(home("jre7"), {"bin\\java.exe"}, printsVersion("1.7.0_80"));
  Probe p = probe(jre.path("bin\\java.exe"), parseJavaVersion("1.8"));
  EXPECT_FALSE(p.ok);
  EXPECT_EQ(readCachedVersion(p.exe, jre.lastWrite("bin\\java.exe")), "1.7.0_80");
}

TEST_F(JavaProbeTest, AHangingRunIsTerminatedAndNothingIsStored) {
  struct WaitOverride {
    WaitOverride() { setJavaVersionWaitForTesting(500); }
    ~WaitOverride() { setJavaVersionWaitForTesting(60000); }
  } wait;
  TestFolder captures;
  EnvironmentOverride tmp(L"TMP", captures.path());
  FakeBehaviour hangs = printsVersion("1.8.0_181");
  hangs.sleepMs = 5000;
  FakeRuntime jre(home("hangs"), {"bin\\java.exe"}, hangs);

  const ULONGLONG start = GetTickCount64();
  Probe p = probe(jre.path("bin\\java.exe"));
  EXPECT_LT(GetTickCount64() - start, 4500u);
  EXPECT_FALSE(p.ok);
  EXPECT_FALSE(rawCacheEntry(p.exe).has_value());
  EXPECT_LOGGED(log, "Exit Code 259");
  EXPECT_LOGGED(log, "Terminating process");
  EXPECT_LOGGED(log, "couldn't get version");
  EXPECT_TRUE(folderIsEmpty(captures.path())) << "the capture file is removed";
}

TEST_F(JavaProbeTest, MissingExecutableIsReported) {
  Probe p = probe(home("none") + "\\bin\\java.exe");
  EXPECT_FALSE(p.ok);
  EXPECT_LOGGED(log, "file doesn't exist");
  EXPECT_LOGGED(log, "checkJavaExe returning 0");
}

TEST_F(JavaProbeTest, JavaExeForHomeFollowsTheDevelopmentKitRule) {
  struct Case {
    const char* name;
    const char* requireJdk;
    std::vector<std::string> files;
    bool acceptable;
    const char* expectedExe;  // relative to the home
  };
  const Case cases[] = {
      {"jre and bin", "0", {"jre\\bin\\java.exe", "bin\\java.exe"}, true, "jre\\bin\\java.exe"},
      {"bin only", "0", {"bin\\java.exe"}, true, "bin\\java.exe"},
      {"neither", "0", {}, true, "bin\\java.exe"},
      {"jdk without tools", "1", {"jre\\bin\\java.exe", "bin\\java.exe"}, false, nullptr},
      {"jdk", "1", {"jre\\bin\\java.exe", "lib\\tools.jar"}, true, "jre\\bin\\java.exe"},
      {"tools without jre", "1", {"bin\\java.exe", "lib\\tools.jar"}, true, "jre\\bin\\java.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ConfigOverride item{{kItemRequireJdk, c.requireJdk}};
    const std::string dir = home(c.name);
    makeDirectories(dir);
    for (const std::string& file : c.files) writeFile(dir + "\\" + file, "x");
    std::string exe;
    EXPECT_EQ(javaExeForHome(dir, exe), c.acceptable);
    if (c.expectedExe) {
      EXPECT_EQ(exe, dir + "\\" + c.expectedExe);
    }
  }
}

TEST_F(JavaProbeTest, GuiApplicationsNeedJavaw) {
  struct Case {
    const char* executableType;
    bool withJavaw;
    bool expected;
    const char* expectedName;
  };
  const Case cases[] = {
      {"1", true, true, "javaw.exe"},
      {"1", false, false, "javaw.exe"},
      {"2", false, true, "java.exe"},
      {"0", true, true, "java.exe"},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.executableType) + (c.withJavaw ? " with javaw" : " without javaw"));
    ConfigOverride item{{kItemExecutableType, c.executableType}};
    std::vector<std::string> exes = {"bin\\java.exe"};
    if (c.withJavaw) exes.push_back("bin\\javaw.exe");
    FakeRuntime jre(home("gui" + std::to_string(n++)), exes, printsVersion("1.8.0_181"));
    Probe p = probe(jre.path("bin\\java.exe"));
    EXPECT_EQ(p.ok, c.expected);
    EXPECT_EQ(p.exe, lowered(jre.path("bin\\") + c.expectedName));
    // javaw.exe is never run: the version comes from java.exe.
    EXPECT_EQ(jre.runs("bin\\java.exe"), 1);
  }
}

TEST_F(JavaProbeTest, RelativePathIsTakenFromTheExecutableDirectory) {
  const std::string relative = "probe_rel_" + std::to_string(GetCurrentProcessId());
  const std::string home = executableDirectory() + relative;
  struct Cleanup {
    std::string dir;
    ~Cleanup() {
      for (const char* file : {"\\bin\\java.exe", "\\bin\\fake_java.cfg", "\\bin\\fake_java.runs"})
        DeleteFileA((dir + file).c_str());
      RemoveDirectoryA((dir + "\\bin").c_str());
      RemoveDirectoryA(dir.c_str());
    }
  } cleanup{home};
  FakeRuntime jre(home, {"bin\\java.exe"}, printsVersion("1.8.0_181"));

  Probe p = probe(relative + "\\BIN\\java.exe");
  EXPECT_TRUE(p.ok);
  const std::string absolute = lowered(home + "\\bin\\java.exe");
  EXPECT_EQ(p.exe, absolute);
  EXPECT_EQ(readCachedVersion(absolute, jre.lastWrite("bin\\java.exe")), "1.8.0_181");
}

}  // namespace
