// Runs a payloaded copy of the real launcher as a child process and collects what
// it did: exit code, standard output and error, and the launcher log.
#pragma once

#include "payload/payload_writer.h"

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

// A fresh folder under the system temporary folder, removed with everything in it
// when the object goes away.
class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::wstring& path() const { return path_; }
  std::wstring file(const std::wstring& relative) const { return path_ + L"\\" + relative; }

 private:
  std::wstring path_;
};

struct LaunchOptions {
  std::wstring arguments;  // the command line after the program
  std::map<std::wstring, std::wstring> environment;  // added or replaced
  std::vector<std::wstring> unset;                    // removed from the environment
  std::wstring workingDirectory;                      // the test folder when empty
  DWORD timeoutMs = 60000;
  // Called while the child runs (for example to answer its message box); the
  // child is waited for afterwards.
  std::function<void(const PROCESS_INFORMATION&)> whileRunning;
};

struct LaunchResult {
  DWORD exitCode = 0;
  bool timedOut = false;
  std::string out;  // standard output bytes
  std::string err;  // standard error bytes
  std::string log;  // the launcher log (UTF-8, BOM kept) or empty when none was written
  std::wstring logPath;
  bool hasLog() const { return !logPath.empty(); }
  bool logContains(const std::string& text) const { return log.find(text) != std::string::npos; }
};

// The stub and the fixture programs sit next to the test executable.
std::wstring buildDirectory();
std::wstring stubPath();

std::string narrowUtf8(const std::wstring& text);
std::wstring wideUtf8(const std::string& text);

// Reads a whole file; nothing when it cannot be opened.
std::optional<std::string> readWholeFile(const std::wstring& path);
bool writeWholeFile(const std::wstring& path, const std::string& bytes);

// A payloaded launcher copy in a test folder.
class LauncherUnderTest {
 public:
  LauncherUnderTest(const TestFolder& folder, const payload::PayloadBuilder& payload,
                    const std::wstring& name = L"app.exe");
  // A launcher copy with arbitrary bytes appended (for cut and broken payloads).
  LauncherUnderTest(const TestFolder& folder, const std::string& payloadBytes,
                    const std::wstring& name = L"app.exe");

  const std::wstring& exePath() const { return exePath_; }
  // Runs it with TMP and TEMP pointing into the test folder, so that its log and
  // temporary files stay there.
  LaunchResult run(const LaunchOptions& options = {}) const;
  // The folder used as TMP/TEMP for the child.
  std::wstring tempDirectory() const;

 private:
  void write(const std::string& payloadBytes);

  std::wstring folder_;
  std::wstring exePath_;
};

// A payload whose errors go to standard error (item 107 = 0), with the messages
// the start-up shows in short, checkable texts:
// 1000 "Oops", 1005 "Launch failed", 1009 "Internal error {0}", 1016 "No Java {0}",
// 1018 "Source failed {0}", 1020 "Location failed {0}".
payload::PayloadBuilder consolePayload();

// Lines of a log text (BOM stripped, CR LF split).
std::vector<std::string> logLines(const std::string& log);
