#include "jre/java_probe.h"

#include "diag/log.h"
#include "jre/java_probe_text.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/temp_files.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <array>

namespace {

constexpr DWORD kVersionRunWaitMs = 60000;
DWORD versionRunWaitMs = kVersionRunWaitMs;

// How long a terminated "-version" run may take to let go of the capture file.
constexpr DWORD kTerminationWaitMs = 5000;

std::optional<std::string> readFirstCapturedLine(const std::string& captureFile) {
  UniqueHandle file(CreateFileA(captureFile.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(kVersionLineLimit, '\0');
  std::size_t filled = 0;
  while (filled < bytes.size()) {
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + filled, static_cast<DWORD>(bytes.size() - filled),
                  &got, nullptr) ||
        got == 0)
      break;
    filled += got;
  }
  bytes.resize(filled);
  return firstOutputLine(bytes);
}

// The capture file of one "-version" run: an inheritable handle for the child's
// standard error, and the file removed when the run is over.
class CaptureFile {
 public:
  CaptureFile() : name_(makeTempFileName()) {
    UniqueHandle created(CreateFileA(name_.c_str(), GENERIC_READ | GENERIC_WRITE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!created) return;
    HANDLE inheritable = nullptr;
    if (DuplicateHandle(GetCurrentProcess(), created.get(), GetCurrentProcess(), &inheritable, 0,
                        TRUE, DUPLICATE_SAME_ACCESS))
      handle_.reset(inheritable);
  }
  ~CaptureFile() {
    handle_.reset();
    DeleteFileA(name_.c_str());
  }
  CaptureFile(const CaptureFile&) = delete;
  CaptureFile& operator=(const CaptureFile&) = delete;

  const std::string& name() const { return name_; }
  HANDLE handle() const { return handle_.get(); }
  void close() { handle_.reset(); }

 private:
  std::string name_;
  UniqueHandle handle_;
};

bool readValueExactly(HKEY key, const char* name, void* data, DWORD size) {
  DWORD got = size;
  return RegQueryValueExA(key, name, nullptr, nullptr, static_cast<BYTE*>(data), &got) ==
             ERROR_SUCCESS &&
         got == size;
}

}  // namespace

void setJavaVersionWaitForTesting(unsigned long milliseconds) { versionRunWaitMs = milliseconds; }

bool javaExeForHome(const std::string& home, std::string& exePath) {
  exePath = home + "\\jre\\bin\\java.exe";
  truncateToCapacity(exePath, kTextCapacity);
  if (configInt(kItemRequireJdk) != 0) return pathExists(home + "\\lib\\tools.jar");
  if (!pathExists(exePath)) {
    exePath = home + "\\bin\\java.exe";
    truncateToCapacity(exePath, kTextCapacity);
  }
  return true;
}

std::optional<std::string> readCachedVersion(const std::string& normalizedPath,
                                             std::uint64_t lastWrite, std::size_t capacity) {
  const std::string keyName = versionCacheKeyFor(normalizedPath);
  UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS)
    return std::nullopt;

  std::array<char, 8> stamp{};
  if (!readValueExactly(key.get(), "LastWriteTime", stamp.data(), stamp.size()) ||
      std::string(stamp.data(), stamp.size()) != lastWriteTimeBytes(lastWrite))
    return std::nullopt;

  if (capacity == 0) return std::nullopt;
  std::string buffer(capacity, '\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key.get(), "Version", nullptr, nullptr,
                       reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::string> version = cachedVersionFromValue(buffer.data(), size, capacity);
  if (!version || isIgnoredCachedVersion(*version)) return std::nullopt;
  return version;
}

void storeCachedVersion(const std::string& normalizedPath, std::uint64_t lastWrite,
                        const std::string& version) {
  const std::string keyName = versionCacheKeyFor(normalizedPath);
  UniqueKey key;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.out(), nullptr) != ERROR_SUCCESS)
    return;
  const std::string stamp = lastWriteTimeBytes(lastWrite);
  RegSetValueExA(key.get(), "LastWriteTime", 0, REG_BINARY,
                 reinterpret_cast<const BYTE*>(stamp.data()), static_cast<DWORD>(stamp.size()));
  RegSetValueExA(key.get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.data()),
                 static_cast<DWORD>(version.size()));
}

std::optional<std::string> runJavaVersion(const std::string& normalizedPath,
                                          std::uint64_t lastWrite) {
  std::string shortPath = windowsStringA(
      [&](char* b, DWORD n) { return GetShortPathNameA(normalizedPath.c_str(), b, n); });
  if (shortPath.empty() || shortPath.size() >= kTextCapacity) return std::nullopt;
  std::string commandLine = shortPath + " -version";

  CaptureFile capture;

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  startup.hStdInput = nullptr;
  startup.hStdOutput = nullptr;
  startup.hStdError = capture.handle();
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &info)) {
    logMessage(u"Could not create process %S > %S (error %d)", commandLine.c_str(),
               capture.name().c_str(), static_cast<int>(GetLastError()));
    return std::nullopt;
  }
  UniqueHandle process(info.hProcess);
  UniqueHandle thread(info.hThread);

  WaitForSingleObject(process.get(), versionRunWaitMs);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process.get(), &exitCode)) exitCode = STILL_ACTIVE;
  logMessage(u"Exit Code %d", static_cast<int>(exitCode));
  if (exitCode == STILL_ACTIVE) {
    logMessage(u"Terminating process");
    TerminateProcess(process.get(), 1);
    // Only a process that is gone has let go of the capture file.
    WaitForSingleObject(process.get(), kTerminationWaitMs);
  } else if (exitCode != 0) {
    storeCachedVersion(normalizedPath, lastWrite, std::string(kFailedRunVersion));
  }
  process.reset();
  thread.reset();
  capture.close();
  if (exitCode != 0) return std::nullopt;

  std::optional<std::string> line = readFirstCapturedLine(capture.name());
  if (!line) return std::nullopt;
  std::optional<std::string> version = versionFromFirstLine(*line);
  if (!version) return std::nullopt;
  logMessage(u"Java version: %S", version->c_str());
  return version;
}

bool checkJavaExe(std::string& exePath, std::string& version, const JavaVersion& lower,
                  const JavaVersion& upper, bool allowBeta) {
  logMessage(u"checkJavaExe (%S, [out], %d, %d, %d)", exePath.c_str(),
             static_cast<int>(lower.size()), static_cast<int>(upper.size()), allowBeta ? 1 : 0);
  const auto finish = [](bool result) {
    logMessage(u"checkJavaExe returning %d", result ? 1 : 0);
    return result;
  };

  exePath = fullPath(exePath, false);
  std::uint64_t lastWrite = 0;
  if (!probePath(exePath, &lastWrite)) {
    logMessage(u"file doesn't exist");
    return finish(false);
  }
  logMessage(u"file exists");
  version.clear();

  std::optional<std::string> cached = readCachedVersion(exePath, lastWrite);
  if (cached && *cached != kFailedRunVersion) {
    version = *cached;
    logMessage(u"got version from registry %S", version.c_str());
  } else {
    std::optional<std::string> learned = runJavaVersion(exePath, lastWrite);
    if (!learned) {
      logMessage(u"couldn't get version");
      return finish(false);
    }
    version = *learned;
    logMessage(u"got version from execution %S", version.c_str());
    storeCachedVersion(exePath, lastWrite, version);
  }

  bool result = checkJavaVersion(version, lower, upper, allowBeta);
  if (result && configInt(kItemExecutableType) == 1 && exePath.size() >= 4) {
    exePath.replace(exePath.size() - 4, 4, "w.exe");
    truncateToCapacity(exePath, kTextCapacity);
    result = pathExists(exePath);
  }
  return finish(result);
}
