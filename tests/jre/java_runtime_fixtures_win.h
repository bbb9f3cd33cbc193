// Test fixtures of the runtime probing tests: runtime homes holding copies of the
// fake_java stand-in, configuration overrides, registry keys removed again after
// each test, and a look at the launcher log of this process.
#pragma once

#include "diag/log.h"
#include "jre/java_probe.h"
#include "jre/java_probe_text.h"
#include "payload/config_store.h"
#include "support/launcher_harness_win.h"
#include "util/paths.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace runtime_fixtures {

inline std::string narrow(const std::wstring& text) { return narrowUtf8(text); }
inline std::wstring wide(const std::string& text) { return wideUtf8(text); }

inline std::string lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

inline std::string parentOf(const std::string& path) {
  return path.substr(0, path.find_last_of('\\'));
}

inline void makeDirectories(const std::string& dir) {
  for (std::size_t pos = dir.find('\\', 3); pos != std::string::npos; pos = dir.find('\\', pos + 1))
    CreateDirectoryA(dir.substr(0, pos).c_str(), nullptr);
  CreateDirectoryA(dir.c_str(), nullptr);
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  makeDirectories(parentOf(path));
  ASSERT_TRUE(writeWholeFile(wide(path), bytes)) << path;
}

// What a fake_java copy does when run.
struct FakeBehaviour {
  std::vector<std::string> errorLines;
  int exitCode = 0;
  int sleepMs = 0;

  std::string configText() const {
    std::string text;
    for (const std::string& line : errorLines) text += "err=" + line + "\r\n";
    text += "exit=" + std::to_string(exitCode) + "\r\n";
    text += "sleep=" + std::to_string(sleepMs) + "\r\n";
    return text;
  }
};

// A runtime whose first "-version" line names the version, as a real one's does.
inline FakeBehaviour printsVersion(const std::string& version) {
  return {{"java version \"" + version + "\"",
           "Java(TM) SE Runtime Environment (build " + version + ")"}};
}

// A runtime home in a folder of the test: fake_java copies at the named places
// (relative to the home), each directory's behaviour in its fake_java.cfg. The
// version cache entries of its executables are removed with it.
class FakeRuntime {
 public:
  FakeRuntime(std::string home, const std::vector<std::string>& executables,
              const FakeBehaviour& behaviour)
      : home_(std::move(home)) {
    for (const std::string& relative : executables) add(relative, behaviour);
  }
  ~FakeRuntime() {
    for (const std::string& relative : executables_) {
      for (const char* name : {"java.exe", "javaw.exe"}) {
        std::string exe = parentOf(path(relative)) + "\\" + name;
        RegDeleteKeyA(HKEY_CURRENT_USER, versionCacheKeyFor(fullPath(exe, false)).c_str());
      }
    }
  }
  FakeRuntime(const FakeRuntime&) = delete;
  FakeRuntime& operator=(const FakeRuntime&) = delete;

  void add(const std::string& relative, const FakeBehaviour& behaviour) {
    const std::string exe = path(relative);
    makeDirectories(parentOf(exe));
    const std::wstring fake = buildDirectory() + L"\\fake_java.exe";
    ASSERT_TRUE(CopyFileW(fake.c_str(), wide(exe).c_str(), FALSE)) << exe;
    executables_.push_back(relative);
    configure(relative, behaviour);
  }
  void configure(const std::string& relative, const FakeBehaviour& behaviour) {
    writeFile(parentOf(path(relative)) + "\\fake_java.cfg", behaviour.configText());
  }

  const std::string& home() const { return home_; }
  std::string path(const std::string& relative) const { return home_ + "\\" + relative; }
  // The form that checkJavaExe leaves behind.
  std::string normalized(const std::string& relative) const { return fullPath(path(relative), false); }

  // How often the copies in the executable's directory were started.
  int runs(const std::string& relative) const {
    auto text = readWholeFile(wide(parentOf(path(relative)) + "\\fake_java.runs"));
    if (!text) return 0;
    int lines = 0;
    for (char c : *text) lines += c == '\n';
    return lines;
  }

  std::uint64_t lastWrite(const std::string& relative) const {
    std::uint64_t stamp = 0;
    EXPECT_TRUE(probePath(path(relative), &stamp));
    return stamp;
  }
  // A new last-write time, as replacing the executable would give it.
  void touch(const std::string& relative) const {
    HANDLE file = CreateFileA(path(relative).c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const std::uint64_t later = lastWrite(relative) + 3600ULL * 10000000ULL;  // one hour
    FILETIME time{static_cast<DWORD>(later & 0xFFFFFFFF), static_cast<DWORD>(later >> 32)};
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
  }

 private:
  std::string home_;
  std::vector<std::string> executables_;
};

// Sets configuration items for one test and puts the earlier values back.
class ConfigOverride {
 public:
  ConfigOverride() = default;
  explicit ConfigOverride(std::initializer_list<std::pair<std::int32_t, std::string>> items) {
    for (const auto& [id, value] : items) set(id, value);
  }
  ~ConfigOverride() {
    auto& table = configStore().narrow;
    for (const auto& [id, previous] : saved_) {
      if (previous) table[id] = *previous;
      else table.erase(id);
    }
  }
  ConfigOverride(const ConfigOverride&) = delete;
  ConfigOverride& operator=(const ConfigOverride&) = delete;

  void set(std::int32_t id, const std::string& value) {
    auto& table = configStore().narrow;
    if (!saved_.count(id)) {
      auto found = table.find(id);
      saved_[id] = found == table.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    table[id] = value;
  }

 private:
  std::map<std::int32_t, std::optional<std::string>> saved_;
};

// Sets an environment variable for one test and puts the earlier value back.
class EnvironmentOverride {
 public:
  EnvironmentOverride(std::wstring name, const std::wstring& value) : name_(std::move(name)) {
    wchar_t buffer[32768];
    DWORD n = GetEnvironmentVariableW(name_.c_str(), buffer, 32768);
    if (n > 0 && n < 32768) previous_ = std::wstring(buffer, n);
    SetEnvironmentVariableW(name_.c_str(), value.c_str());
  }
  ~EnvironmentOverride() {
    SetEnvironmentVariableW(name_.c_str(), previous_ ? previous_->c_str() : nullptr);
  }
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  std::wstring name_;
  std::optional<std::wstring> previous_;
};

// The launcher log of this process from the moment the tap was made. The log is
// switched on (KESTREL_LOG, into a folder of its own) if no log line has been
// written yet; when an earlier test already decided against a log, the tap is not
// available and log checks are left out (ctest runs every test in its own process).
class LogTap {
 public:
  LogTap() {
    static TestFolder logFolder;
    static const bool initialized = [] {
      EnvironmentOverride log(L"KESTREL_LOG", L"yes");
      EnvironmentOverride tmp(L"TMP", logFolder.path());
      EnvironmentOverride temp(L"TEMP", logFolder.path());
      logMessage(u"runtime probing tests");
      return true;
    }();
    (void)initialized;
    path_ = logFilePath();
    if (path_) offset_ = readWholeFile(wideOf(*path_)).value_or(std::string()).size();
  }

  bool available() const { return path_.has_value(); }
  std::string text() const {
    if (!path_) return std::string();
    std::string all = readWholeFile(wideOf(*path_)).value_or(std::string());
    return offset_ <= all.size() ? all.substr(offset_) : std::string();
  }
  bool contains(const std::string& line) const { return text().find(line) != std::string::npos; }

 private:
  static std::wstring wideOf(const WString& text) {
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
  }
  std::optional<WString> path_;
  std::size_t offset_ = 0;
};

#define EXPECT_LOGGED(tap, line)                                                   \
  do {                                                                             \
    if ((tap).available()) {                                                       \
      EXPECT_TRUE((tap).contains(line)) << (tap).text();                           \
    }                                                                              \
  } while (0)
#define EXPECT_NOT_LOGGED(tap, line)                                               \
  do {                                                                             \
    if ((tap).available()) {                                                       \
      EXPECT_FALSE((tap).contains(line)) << (tap).text();                          \
    }                                                                              \
  } while (0)

}  // namespace runtime_fixtures
