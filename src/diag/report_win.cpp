#include "diag/report.h"

#include "diag/log.h"
#include "diag/message_text.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/temp_files.h"
#include "splash/splash.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <atomic>

namespace {

std::atomic<bool> consoleErrors{false};
std::atomic<HWND> messageOwner{nullptr};

void writeToStandardError(WStringView text) {
  HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
  if (err == nullptr || err == INVALID_HANDLE_VALUE) return;
  // Characters without an 8-bit form are written as the code page's default character.
  std::string bytes = narrowCopy(text);
  bytes += '\n';
  DWORD written = 0;
  WriteFile(err, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  FlushFileBuffers(err);
}

HWND ownerWindow() {
  HWND owner = messageOwner.load();
  // A splash window that is gone by now cannot own the box; show it without owner.
  return (owner && IsWindow(owner)) ? owner : nullptr;
}

}  // namespace

void useConsoleErrors() { consoleErrors = true; }
bool consoleErrorsEnabled() { return consoleErrors; }
void setMessageOwner(void* window) { messageOwner = static_cast<HWND>(window); }

void showMessage(WStringView text) {
  splashSwitch(0);
  std::optional<WString> logPath = logFilePath();
  if (logPath) {
    WString longForm =
        windowsString([&](wchar_t* b, DWORD n) { return GetLongPathNameW(wz(*logPath), b, n); },
                      kTextCapacity);
    if (!longForm.empty()) logPath = longForm;
  }
  const WString composed =
      appendLogPath(text, logPath ? std::optional<WStringView>(*logPath) : std::nullopt);
  if (consoleErrors) {
    writeToStandardError(composed);
    return;
  }
  const WString caption = configMessage(kMsgErrorCaption);
  MessageBoxW(ownerWindow(), wz(composed), wz(caption), MB_ICONERROR | MB_OK);
}

void showConfigMessage(std::int32_t id, std::optional<WStringView> argument) {
  showMessage(substituteFirstPlaceholder(configMessage(id), argument));
}

void showConfigMessage8(std::int32_t id, std::string_view argument) {
  WString wide = widenBytewise(argument);
  truncateToCapacity(wide, kMessageCapacity);
  showConfigMessage(id, WStringView(wide));
}

void exitLauncher(int exitCode) {
  std::string& tempDir = launcherTempDirectory();
  if (!tempDir.empty()) {
    emptyDirectory(tempDir, true);
    RemoveDirectoryA(tempDir.c_str());
  }
  ExitProcess(static_cast<UINT>(exitCode));
}

void fatalText(WStringView text) {
  showMessage(text);
  exitLauncher(1);
}

void fatalConfigMessage(std::int32_t id, std::optional<WStringView> argument) {
  showConfigMessage(id, argument);
  exitLauncher(1);
}

void fatalConfigMessage8(std::int32_t id, std::string_view argument) {
  showConfigMessage8(id, argument);
  exitLauncher(1);
}
