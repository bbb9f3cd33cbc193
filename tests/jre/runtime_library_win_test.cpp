// Loading a runtime's VM library: the order of the VM directories, PATH in both
// environment views, the development kit's runtime below jre\bin, the creation entry.
#include "jre/runtime_library.h"

#include "jre/runtime_facts.h"
#include "launcher_harness_win.h"
#include "launcher_log_win.h"
#include "payload/config_items.h"
#include "payload/config_store.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using launcher_log_test::LogTail;

constexpr const char* kTestPath = "c:\\windows\\system32;c:\\windows";

std::optional<std::string> systemPath() {
  char value[32768];
  SetLastError(ERROR_SUCCESS);
  const DWORD n = GetEnvironmentVariableA("PATH", value, sizeof value);
  if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
  return std::string(value, n);
}

std::optional<std::string> runtimeLibraryPath() {
  const char* value = getenv("PATH");
  return value ? std::optional<std::string>(value) : std::nullopt;
}

void setPathBothViews(const std::optional<std::string>& value) {
  SetEnvironmentVariableA("PATH", value ? value->c_str() : nullptr);
  _putenv_s("PATH", value ? value->c_str() : "");
}

std::string moduleFile(HMODULE module) {
  char name[MAX_PATH * 4];
  const DWORD n = GetModuleFileNameA(module, name, sizeof name);
  return std::string(name, n);
}

std::string lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// A runtime folder laid out by a test: files are created on demand, jvm.dll is a
// copy of the fixture library.
class RuntimeFolder {
 public:
  std::string home() const { return narrowUtf8(folder_.path()); }
  std::string path(const std::string& relative) const { return home() + "\\" + relative; }

  void makeDirectories(const std::string& relative) const {
    std::string at = home();
    std::size_t start = 0;
    while (start <= relative.size()) {
      std::size_t end = relative.find('\\', start);
      if (end == std::string::npos) end = relative.size();
      at += "\\" + relative.substr(start, end - start);
      CreateDirectoryA(at.c_str(), nullptr);
      start = end + 1;
    }
  }
  void addFile(const std::string& relative, const std::string& bytes = "x") const {
    makeDirectories(parentOf(relative));
    ASSERT_TRUE(writeWholeFile(wideUtf8(path(relative)), bytes)) << relative;
  }
  void addJvm(const std::string& vmDirectory, const wchar_t* fixture = L"fake_jvm.dll") const {
    makeDirectories(vmDirectory);
    const std::wstring source = buildDirectory() + L"\\" + fixture;
    ASSERT_TRUE(CopyFileW(source.c_str(), wideUtf8(path(vmDirectory + "\\jvm.dll")).c_str(), FALSE))
        << narrowUtf8(source);
  }

 private:
  static std::string parentOf(const std::string& relative) {
    const std::size_t slash = relative.rfind('\\');
    return slash == std::string::npos ? std::string() : relative.substr(0, slash);
  }
  TestFolder folder_;
};

class RuntimeLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    savedSystem_ = systemPath();
    savedRuntime_ = runtimeLibraryPath();
    setPathBothViews(std::string(kTestPath));
    configStore().narrow.erase(kItemPreferredJvmDirectory);
    setCreateJavaVMEntry(nullptr);
  }
  void TearDown() override {
    // Libraries first: a folder cannot be removed while a library in it is loaded.
    for (HMODULE module : loaded_) FreeLibrary(module);
    folders_.clear();
    SetEnvironmentVariableA("PATH", savedSystem_ ? savedSystem_->c_str() : nullptr);
    _putenv_s("PATH", savedRuntime_ ? savedRuntime_->c_str() : "");
    configStore().narrow.erase(kItemPreferredJvmDirectory);
    setCreateJavaVMEntry(nullptr);
  }
  // A runtime folder that lives until the end of the test.
  const RuntimeFolder& newRuntime() {
    return *folders_.emplace_back(std::make_unique<RuntimeFolder>());
  }
  // The library is freed after the test, before its folder is removed.
  HMODULE keep(HMODULE module) {
    if (module) loaded_.push_back(module);
    return module;
  }

  std::vector<std::unique_ptr<RuntimeFolder>> folders_;
  std::vector<HMODULE> loaded_;
  std::optional<std::string> savedSystem_;
  std::optional<std::string> savedRuntime_;
};

std::string trying(const std::string& file, bool exists) {
  return "Trying " + file + " (exists " + (exists ? "1" : "0") + ")";
}

TEST_F(RuntimeLibrary, VmDirectoriesAreTriedInOrderAfterThePreferredOne) {
  struct Case {
    const char* preferred;  // item 152
    const char* vmDirectory;
    std::vector<std::string> tried;  // directories logged before and including the loaded one
  };
  const Case cases[] = {
      {"", "server", {"hotspot", "client", "server"}},
      {"", "hotspot", {"hotspot"}},
      {"", "jrockit", {"hotspot", "client", "server", "classic", "jrockit"}},
      {"server", "server", {"server"}},
      {"custom", "custom", {"custom"}},
      {"missing", "client", {"missing", "hotspot", "client"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("preferred '") + c.preferred + "', jvm.dll in " + c.vmDirectory);
    const RuntimeFolder& runtime = newRuntime();
    runtime.addFile("bin\\java.exe");
    runtime.addJvm(std::string("bin\\") + c.vmDirectory);
    if (*c.preferred) {
      configStore().narrow[kItemPreferredJvmDirectory] = c.preferred;
    } else {
      configStore().narrow.erase(kItemPreferredJvmDirectory);
    }
    setPathBothViews(std::string(kTestPath));

    const std::string bin = runtime.path("bin");
    LogTail log;
    HMODULE library = keep(loadJvmFromBinDirectory(runtime.path("bin\\java.exe")));
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(lowered(moduleFile(library)),
              lowered(runtime.path(std::string("bin\\") + c.vmDirectory + "\\jvm.dll")));

    const std::string expectedPath = std::string(kTestPath) + ";" + bin;
    std::vector<std::string> expected = {"Setting PATH " + expectedPath};
    for (std::size_t i = 0; i < c.tried.size(); ++i)
      expected.push_back(trying(bin + "\\" + c.tried[i] + "\\jvm.dll", i + 1 == c.tried.size()));
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(systemPath(), expectedPath);
    EXPECT_EQ(runtimeLibraryPath(), expectedPath);
  }
}

TEST_F(RuntimeLibrary, PreferredDirectoryIsReadWithItsCapacityOf200) {
  const RuntimeFolder& runtime = newRuntime();
  runtime.addFile("bin\\java.exe");
  runtime.addJvm("bin\\client");
  configStore().narrow[kItemPreferredJvmDirectory] = std::string(250, 'v');
  const std::string bin = runtime.path("bin");
  LogTail log;
  keep(loadJvmFromBinDirectory(runtime.path("bin\\java.exe")));
  const std::vector<std::string> lines = log.lines();
  const std::string cut = trying(bin + "\\" + std::string(199, 'v') + "\\jvm.dll", false);
  EXPECT_NE(std::find(lines.begin(), lines.end(), cut), lines.end());
}

TEST_F(RuntimeLibrary, WalkThatLoadsNothingRestoresPathInBothViews) {
  const std::optional<std::string> before[] = {std::string(kTestPath), std::nullopt};
  for (const std::optional<std::string>& old : before) {
    SCOPED_TRACE(old ? "PATH set" : "PATH not set");
    const RuntimeFolder& runtime = newRuntime();
    runtime.addFile("bin\\java.exe");
    runtime.addFile("bin\\server\\readme.txt");  // a VM directory without jvm.dll
    setPathBothViews(old);

    const std::string bin = runtime.path("bin");
    LogTail log;
    EXPECT_EQ(loadJvmFromBinDirectory(runtime.path("bin\\java.exe")), nullptr);

    std::vector<std::string> expected = {"Setting PATH " + old.value_or("") + ";" + bin};
    for (const char* name : {"hotspot", "client", "server", "classic", "jrockit"})
      expected.push_back(trying(bin + "\\" + name + "\\jvm.dll", false));
    expected.push_back("Setting PATH " + old.value_or(""));
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(systemPath(), old);
    EXPECT_EQ(runtimeLibraryPath(), old);
  }
}

TEST_F(RuntimeLibrary, FolderWithoutAnsiSpellingSurvivesInPath) {
  // An 8-bit round trip of PATH would turn these characters into "?".
  const std::wstring withGreek = L"c:\\windows;c:\\\u03a9\u4e2d\\bin";
  SetEnvironmentVariableW(L"PATH", withGreek.c_str());
  _wputenv_s(L"PATH", withGreek.c_str());
  const RuntimeFolder& runtime = newRuntime();
  runtime.addFile("bin\\java.exe");
  EXPECT_EQ(loadJvmFromBinDirectory(runtime.path("bin\\java.exe")), nullptr);
  wchar_t value[32768];
  const DWORD n = GetEnvironmentVariableW(L"PATH", value, 32768);
  EXPECT_EQ(std::wstring(value, n), withGreek);
  const wchar_t* runtimeCopy = _wgetenv(L"PATH");
  ASSERT_NE(runtimeCopy, nullptr);
  EXPECT_EQ(std::wstring(runtimeCopy), withGreek);
}

TEST_F(RuntimeLibrary, DevelopmentKitRuntimeIsFoundBelowJreBin) {
  for (const char* executable : {"java.exe", "javaw.exe"}) {
    SCOPED_TRACE(executable);
    const RuntimeFolder& jdk = newRuntime();
    jdk.addFile(std::string("bin\\") + executable);
    jdk.addJvm("jre\\bin\\server");
    setPathBothViews(std::string(kTestPath));

    const std::string exe = jdk.path(std::string("bin\\") + executable);
    const std::string bin = jdk.path("bin");
    const std::string jreBin = jdk.path("bin\\..\\jre\\bin");
    LogTail log;
    HMODULE library = keep(loadRuntimeLibrary(exe));
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(lowered(moduleFile(library)), lowered(jdk.path("jre\\bin\\server\\jvm.dll")));

    std::vector<std::string> expected = {"Trying to load JVM-DLL from " + exe,
                                         "Setting PATH " + std::string(kTestPath) + ";" + bin};
    for (const char* name : {"hotspot", "client", "server", "classic", "jrockit"})
      expected.push_back(trying(bin + "\\" + name + "\\jvm.dll", false));
    expected.push_back("Setting PATH " + std::string(kTestPath));
    expected.push_back("Setting PATH " + std::string(kTestPath) + ";" + jreBin);
    expected.push_back(trying(jreBin + "\\hotspot\\jvm.dll", false));
    expected.push_back(trying(jreBin + "\\client\\jvm.dll", false));
    expected.push_back(trying(jreBin + "\\server\\jvm.dll", true));
    EXPECT_EQ(log.lines(), expected);
    EXPECT_EQ(systemPath(), std::string(kTestPath) + ";" + jreBin);
    EXPECT_EQ(runtimeLibraryPath(), std::string(kTestPath) + ";" + jreBin);
  }
}

TEST_F(RuntimeLibrary, RuntimeWithoutAnyVmLibraryLoadsNothingAndKeepsPath) {
  const RuntimeFolder& runtime = newRuntime();
  runtime.addFile("bin\\java.exe");
  LogTail log;
  EXPECT_EQ(loadRuntimeLibrary(runtime.path("bin\\java.exe")), nullptr);
  EXPECT_EQ(systemPath(), std::string(kTestPath));
  EXPECT_EQ(runtimeLibraryPath(), std::string(kTestPath));
  // Two walks of five directories, each bracketed by setting and restoring PATH.
  EXPECT_EQ(log.lines().size(), 1u + 2u * (1u + 5u + 1u));
}

TEST_F(RuntimeLibrary, JvmDllThatDoesNotLoadIsLoggedAndTheWalkGoesOn) {
  const RuntimeFolder& runtime = newRuntime();
  runtime.addFile("bin\\java.exe");
  runtime.addFile("bin\\hotspot\\jvm.dll", "this is not a library\r\n");
  runtime.addJvm("bin\\client");
  const std::string bin = runtime.path("bin");
  LogTail log;
  HMODULE library = keep(loadJvmFromBinDirectory(runtime.path("bin\\java.exe")));
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(lowered(moduleFile(library)), lowered(runtime.path("bin\\client\\jvm.dll")));

  const std::vector<std::string> lines = log.lines();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1], trying(bin + "\\hotspot\\jvm.dll", true));
  const std::string failed = "Failed with error code ";
  ASSERT_EQ(lines[2].rfind(failed, 0), 0u) << lines[2];
  EXPECT_NE(std::stoi(lines[2].substr(failed.size())), 0) << lines[2];
  EXPECT_EQ(lines[3], trying(bin + "\\client\\jvm.dll", true));
}

TEST_F(RuntimeLibrary, CreationEntryIsResolvedOnlyFromALibraryThatExportsIt) {
  EXPECT_FALSE(resolveCreateJavaVM(nullptr));
  EXPECT_EQ(createJavaVMEntry(), nullptr);

  HMODULE without =
      keep(LoadLibraryW((buildDirectory() + L"\\fake_jvm_noexport.dll").c_str()));
  ASSERT_NE(without, nullptr);
  EXPECT_FALSE(resolveCreateJavaVM(without));
  EXPECT_EQ(createJavaVMEntry(), nullptr);

  HMODULE with = keep(LoadLibraryW((buildDirectory() + L"\\fake_jvm.dll").c_str()));
  ASSERT_NE(with, nullptr);
  EXPECT_TRUE(resolveCreateJavaVM(with));
  EXPECT_NE(createJavaVMEntry(), nullptr);
  EXPECT_EQ(createJavaVMEntry(), reinterpret_cast<void*>(GetProcAddress(with, "JNI_CreateJavaVM")));
}

TEST_F(RuntimeLibrary, LoadedLibraryFromTheWalkResolvesItsCreationEntry) {
  const RuntimeFolder& runtime = newRuntime();
  runtime.addFile("bin\\javaw.exe");
  runtime.addJvm("bin\\classic");
  HMODULE library = keep(loadRuntimeLibrary(runtime.path("bin\\javaw.exe")));
  ASSERT_NE(library, nullptr);
  EXPECT_TRUE(resolveCreateJavaVM(library));
  EXPECT_EQ(systemPath(), std::string(kTestPath) + ";" + runtime.path("bin"));
}

}  // namespace
