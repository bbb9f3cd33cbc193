#include "diag/log.h"

#include "launcher/startup_state.h"
#include "payload/temp_files.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

namespace {

struct LogState {
  CRITICAL_SECTION lock;
  bool initialized = false;
  std::optional<WString> path;
  UniqueHandle file;  // open only during one log operation (and from creation on)

  LogState() { InitializeCriticalSection(&lock); }
};

LogState& state() {
  static LogState* log = new LogState();  // lives for the whole process
  return *log;
}

class LockGuard {
 public:
  explicit LockGuard(CRITICAL_SECTION& section) : section_(section) {
    EnterCriticalSection(&section_);
  }
  ~LockGuard() { LeaveCriticalSection(&section_); }
  LockGuard(const LockGuard&) = delete;
  LockGuard& operator=(const LockGuard&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

void writeText(HANDLE file, WStringView text) {
  // Text mode: every line feed is written as CR LF.
  WString lines;
  lines.reserve(text.size() + 8);
  for (char16_t c : text) {
    if (c == u'\n') lines.push_back(u'\r');
    lines.push_back(c);
  }
  std::string bytes = toUtf8(lines);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

UniqueHandle openForAppend(const WString& path) {
  return UniqueHandle(CreateFileW(wz(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueHandle createTruncated(const WString& path) {
  UniqueHandle file(CreateFileW(wz(path), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) {
    static const unsigned char bom[] = {0xEF, 0xBB, 0xBF};
    DWORD written = 0;
    WriteFile(file.get(), bom, sizeof bom, &written, nullptr);
  }
  return file;
}

bool environmentSaysYes(const wchar_t* name) {
  wchar_t value[kTextCapacity];
  DWORD n = GetEnvironmentVariableW(name, value, kTextCapacity);
  return n > 0 && n < kTextCapacity && std::wstring_view(value, n) == L"yes";
}

WString logFolder() {
  WString folder = tempFolderW(false);
  if (folder.empty()) return u"c:\\";
  if (folder.back() != u'\\' && folder.back() != u'/') folder.push_back(u'\\');
  return folder;
}

void writeHeader(HANDLE file) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  // Like the C runtime's time text, the 24 characters end with a line feed of their
  // own, so an empty line follows the header.
  std::string when = classicTimeText(now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour,
                                     now.wMinute, now.wSecond) +
                     "\n";
  WString module =
      windowsString([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); });
  writeText(file, formatText(u"Started executable %s at %S\n", module.c_str(), when.c_str()));
  FlushFileBuffers(file);
}

// Decides once whether to log and creates the numbered log file.
void initialize(LogState& log) {
  log.initialized = true;
  const bool enabled = createLogRequested || environmentSaysYes(L"WRENLET_LOG") ||
                       environmentSaysYes(L"KESTREL_LOG");
  if (!enabled) return;

  const WString folder = logFolder();
  WString path;
  for (int n = 1; n <= 1000; ++n) {
    path = formatText(u"%sksl_nlog_%d.log", folder.c_str(), n);
    if (n == 1000 || !pathExistsWide(path)) break;
  }
  log.path = path;
  log.file = createTruncated(path);
  if (!log.file) {
    log.path = WString(u"c:\\ksl_nlog");
    log.file = createTruncated(*log.path);
    if (!log.file) return;
  }
  writeHeader(log.file.get());
}

void ensureLogOpen(LogState& log) {
  if (log.path && !log.file) log.file = openForAppend(*log.path);
  if (!log.initialized) initialize(log);
}

void writeLine(bool isError, const char16_t* format, va_list args) {
  LogState& log = state();
  LockGuard guard(log.lock);
  ensureLogOpen(log);
  if (!log.file) return;
  WString line = isError ? WString(u"ERROR: ") : WString();
  line += formatTextV(format, args);
  line += u'\n';
  writeText(log.file.get(), line);
  log.file.reset();
}

}  // namespace

void logMessage(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  writeLine(false, format, args);
  va_end(args);
}

extern "C" void logError(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  writeLine(true, format, args);
  va_end(args);
}

std::optional<WString> logFilePath() {
  LogState& log = state();
  LockGuard guard(log.lock);
  return log.path;
}
