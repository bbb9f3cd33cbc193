#include "diag/log.h"
#include "launcher/startup_options.h"
#include "launcher/startup_state.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/payload.h"
#include "payload/temp_files.h"
#include "util/expand.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

namespace {

void applyWorkingDirectory() {
  WString dir = configStringAsWide(kItemWorkingDirectory, kTextCapacity);
  if (dir.empty()) {
    logMessage(u"working directory unchanged");
    return;
  }
  expandVariablesWide(dir, true);
  WString full = fullPathWide(dir, true, true);
  SetCurrentDirectoryW(wz(full));  // a folder that cannot be entered leaves the current one
  logMessage(u"change working directory to %s", full.c_str());
}

void offerToShowLog() {
  const WString path = logFilePath().value_or(WString());
  const WString prompt = formatText(
      u"The following log file will be created:\n\n%s\n\nDo you want to open an Explorer window?",
      path.c_str());
  if (MessageBoxW(nullptr, wz(prompt), wz(productName), MB_YESNO) != IDYES) return;

  WString shortPath = windowsString(
      [&](wchar_t* b, DWORD n) { return GetShortPathNameW(wz(path), b, n); }, MAX_PATH);
  WString windowsDir =
      windowsString([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); }, MAX_PATH);
  WString command =
      formatText(u"%s\\explorer.exe /select,%s", windowsDir.c_str(), shortPath.c_str());
  logMessage(u"calling %s", command.c_str());
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, wbuf(command), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS,
                      nullptr, nullptr, &startup, &process)) {
    logMessage(u"could not open explorer window %d", static_cast<int>(GetLastError()));
    return;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

void applyStartupOptions(void* instance, ArgList& args) {
  launcherTempDirectory().clear();
  if (args.size() > 1 && isCreateLogOption(args[1])) {
    args.erase(args.begin() + 1);
    createLogRequested = true;
  }
  loadPayload(args);
  launcherInstance = instance;
  const std::string flavour = configString(kItemFlavour, 2);
  setFlavour(flavour.empty() ? '\0' : flavour[0]);
  if (!languageRestart) applyWorkingDirectory();
  if (createLogRequested) offerToShowLog();
}
