// The launcher log for host unit tests: lines are kept in memory.
#include "diag/log.h"
#include "log_capture.h"

#include <mutex>

namespace {
std::mutex captureLock;
}

std::vector<std::string>& capturedLog() {
  static std::vector<std::string> lines;
  return lines;
}

void clearCapturedLog() {
  std::lock_guard<std::mutex> guard(captureLock);
  capturedLog().clear();
}

namespace {
void capture(bool isError, const char16_t* format, va_list args) {
  WString line = isError ? WString(u"ERROR: ") : WString();
  line += formatTextV(format, args);
  std::lock_guard<std::mutex> guard(captureLock);
  capturedLog().push_back(toUtf8(line));
}
}  // namespace

void logMessage(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  capture(false, format, args);
  va_end(args);
}

extern "C" void logError(const char16_t* format, ...) {
  va_list args;
  va_start(args, format);
  capture(true, format, args);
  va_end(args);
}

std::optional<WString> logFilePath() { return std::nullopt; }
