#include "launcher_harness_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

namespace {

std::atomic<unsigned> folderCounter{0};

void removeTree(const std::wstring& dir) {
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW((dir + L"\\*").c_str(), &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = entry.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = dir + L"\\" + name;
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) removeTree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &entry));
    FindClose(search);
  }
  RemoveDirectoryW(dir.c_str());
}

std::wstring moduleDirectory() {
  wchar_t buffer[32768];
  DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring path(buffer, n);
  return path.substr(0, path.find_last_of(L'\\'));
}

std::string drain(HANDLE pipe) {
  std::string bytes;
  char chunk[4096];
  DWORD got = 0;
  while (ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) bytes.append(chunk, got);
  return bytes;
}

std::wstring upper(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(towupper(c));
  return s;
}

std::vector<wchar_t> environmentBlock(const LaunchOptions& options, const std::wstring& temp) {
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> vars;  // UPPER -> (name, value)
  LPWCH block = GetEnvironmentStringsW();
  for (LPWCH p = block; *p; p += wcslen(p) + 1) {
    std::wstring entry = p;
    auto eq = entry.find(L'=', 1);
    if (eq == std::wstring::npos) continue;
    std::wstring name = entry.substr(0, eq);
    vars[upper(name)] = {name, entry.substr(eq + 1)};
  }
  FreeEnvironmentStringsW(block);
  vars[L"TMP"] = {L"TMP", temp};
  vars[L"TEMP"] = {L"TEMP", temp};
  for (const auto& name : options.unset) vars.erase(upper(name));
  for (const auto& [name, value] : options.environment) vars[upper(name)] = {name, value};
  std::vector<wchar_t> out;
  for (const auto& [key, nv] : vars) {
    std::wstring entry = nv.first + L"=" + nv.second;
    out.insert(out.end(), entry.begin(), entry.end());
    out.push_back(L'\0');
  }
  out.push_back(L'\0');
  return out;
}

}  // namespace

TestFolder::TestFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  std::wstring base = temp;
  if (!base.empty() && base.back() == L'\\') base.pop_back();
  for (;;) {
    path_ = base + L"\\wrltest_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(folderCounter++) + L"_" + std::to_wstring(GetTickCount());
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
  }
}

TestFolder::~TestFolder() { removeTree(path_); }

std::wstring buildDirectory() { return moduleDirectory(); }
std::wstring stubPath() { return moduleDirectory() + L"\\wrenlet.exe"; }

std::string narrowUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

std::wstring wideUtf8(const std::string& text) {
  if (text.empty()) return {};
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::optional<std::string> readWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes = drain(file);
  CloseHandle(file);
  return bytes;
}

bool writeWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

LauncherUnderTest::LauncherUnderTest(const TestFolder& folder,
                                     const payload::PayloadBuilder& payload,
                                     const std::wstring& name)
    : folder_(folder.path()), exePath_(folder.file(name)) {
  write(payload.bytes());
}

LauncherUnderTest::LauncherUnderTest(const TestFolder& folder, const std::string& payloadBytes,
                                     const std::wstring& name)
    : folder_(folder.path()), exePath_(folder.file(name)) {
  write(payloadBytes);
}

void LauncherUnderTest::write(const std::string& payloadBytes) {
  auto stub = readWholeFile(stubPath());
  ASSERT_TRUE(stub.has_value()) << "launcher stub missing next to the tests";
  std::wstring dir = exePath_.substr(0, exePath_.find_last_of(L'\\'));
  CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(writeWholeFile(exePath_, *stub + payloadBytes));
}

std::wstring LauncherUnderTest::tempDirectory() const { return folder_ + L"\\tmp"; }

LaunchResult LauncherUnderTest::run(const LaunchOptions& options) const {
  LaunchResult result;
  const std::wstring temp = tempDirectory();
  CreateDirectoryW(temp.c_str(), nullptr);

  SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &inherit, 0);
  CreatePipe(&errRead, &errWrite, &inherit, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                           OPEN_EXISTING, 0, nullptr);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nul;
  startup.hStdOutput = outWrite;
  startup.hStdError = errWrite;

  std::wstring commandLine = L"\"" + exePath_ + L"\"";
  if (!options.arguments.empty()) commandLine += L" " + options.arguments;
  std::vector<wchar_t> command(commandLine.begin(), commandLine.end());
  command.push_back(L'\0');
  std::vector<wchar_t> env = environmentBlock(options, temp);
  const std::wstring cwd = options.workingDirectory.empty() ? folder_ : options.workingDirectory;

  // Under load Wine now and then fails a start with ERROR_INTERNAL_ERROR when the
  // new process dies while it is still being set up, before any of our code runs.
  // That says nothing about the launcher, so such a start is tried again.
  PROCESS_INFORMATION process{};
  BOOL started = FALSE;
  for (int attempt = 1; attempt <= 5; ++attempt) {
    started = CreateProcessW(exePath_.c_str(), command.data(), nullptr, nullptr, TRUE,
                             CREATE_UNICODE_ENVIRONMENT, env.data(), cwd.c_str(), &startup,
                             &process);
    if (started || GetLastError() != ERROR_INTERNAL_ERROR) break;
    std::fprintf(stderr, "start %d of the launcher failed with ERROR_INTERNAL_ERROR\n", attempt);
    Sleep(100 * attempt);
  }
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  CloseHandle(nul);
  if (!started) {
    ADD_FAILURE() << "could not start the launcher, error " << GetLastError();
    CloseHandle(outRead);
    CloseHandle(errRead);
    return result;
  }
  std::string out, err;
  std::thread outReader([&] { out = drain(outRead); });
  std::thread errReader([&] { err = drain(errRead); });

  if (options.whileRunning) options.whileRunning(process);
  if (WaitForSingleObject(process.hProcess, options.timeoutMs) == WAIT_TIMEOUT) {
    result.timedOut = true;
    TerminateProcess(process.hProcess, 999);
    WaitForSingleObject(process.hProcess, 5000);
  }
  GetExitCodeProcess(process.hProcess, &result.exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  outReader.join();
  errReader.join();
  CloseHandle(outRead);
  CloseHandle(errRead);
  result.out = std::move(out);
  result.err = std::move(err);

  // The newest numbered log in the child's temporary folder.
  int best = 0;
  for (int n = 1; n <= 1000; ++n) {
    std::wstring candidate = temp + L"\\ksl_nlog_" + std::to_wstring(n) + L".log";
    if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) break;
    best = n;
  }
  if (best > 0) {
    result.logPath = temp + L"\\ksl_nlog_" + std::to_wstring(best) + L".log";
    result.log = readWholeFile(result.logPath).value_or(std::string());
  }
  return result;
}

std::vector<std::string> logLines(const std::string& log) {
  std::string text = log;
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

payload::PayloadBuilder consolePayload() {
  payload::PayloadBuilder b;
  b.item(107, "0")
      .message(1000, u"Oops")
      .message(1005, u"Launch failed")
      .message(1009, u"Internal error {0}")
      .message(1016, u"No Java {0}")
      .message(1018, u"Source failed {0}")
      .message(1020, u"Location failed {0}");
  return b;
}
