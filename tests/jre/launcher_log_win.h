// In-process tests of the runtime discovery read the real launcher log. Logging
// is decided once per process, so a test environment switches it on (KESTREL_LOG
// and a log folder of its own as TMP/TEMP) before the first test runs, then puts
// TMP and TEMP back. LogTail gives the lines written after its creation.
#pragma once

#include "diag/log.h"
#include "launcher_harness_win.h"
#include "util/win_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace launcher_log_test {

class LogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (logFilePath()) return;  // already on
    // A death test's child process leaves its log alone: nothing would remove it.
    if (std::wstring(GetCommandLineW()).find(L"gtest_internal_run_death_test") !=
        std::wstring::npos)
      return;
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    folder_ = std::wstring(temp, n) + L"wrltest_log_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);

    const wchar_t* names[] = {L"TMP", L"TEMP", L"KESTREL_LOG"};
    std::optional<std::wstring> saved[3];
    for (int i = 0; i < 3; ++i) saved[i] = variable(names[i]);
    SetEnvironmentVariableW(L"TMP", folder_.c_str());
    SetEnvironmentVariableW(L"TEMP", folder_.c_str());
    SetEnvironmentVariableW(L"KESTREL_LOG", L"yes");
    logMessage(u"runtime discovery tests");
    for (int i = 0; i < 3; ++i)
      SetEnvironmentVariableW(names[i], saved[i] ? saved[i]->c_str() : nullptr);
  }

  void TearDown() override {
    if (folder_.empty()) return;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        DeleteFileW((folder_ + L"\\" + entry.cFileName).c_str());
      } while (FindNextFileW(search, &entry));
      FindClose(search);
    }
    RemoveDirectoryW(folder_.c_str());
  }

 private:
  static std::optional<std::wstring> variable(const wchar_t* name) {
    wchar_t value[32768];
    const DWORD n = GetEnvironmentVariableW(name, value, 32768);
    if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    return std::wstring(value, n);
  }

  std::wstring folder_;
};

inline ::testing::Environment* const logEnvironment =
    ::testing::AddGlobalTestEnvironment(new LogEnvironment);

inline std::wstring logPath() {
  std::optional<WString> path = logFilePath();
  return path ? std::wstring(wz(*path)) : std::wstring();
}

// The log lines written since construction.
class LogTail {
 public:
  LogTail() : path_(logPath()) {
    if (std::optional<std::string> text = readWholeFile(path_)) start_ = text->size();
  }

  std::vector<std::string> lines() const {
    if (path_.empty()) {
      ADD_FAILURE() << "the launcher log is not enabled in this test process";
      return {};
    }
    std::string text = readWholeFile(path_).value_or(std::string());
    return logLines(start_ <= text.size() ? text.substr(start_) : std::string());
  }

 private:
  std::wstring path_;
  std::size_t start_ = 0;
};

}  // namespace launcher_log_test
