// The launcher's entry point: the whole start-up, in a fixed order, on the main thread.
#include "diag/log.h"
#include "diag/report.h"
#include "instance/instance.h"
#include "jre/runtime_selection.h"
#include "jvm/java_launch.h"
#include "launcher/command_line.h"
#include "launcher/native_library_path.h"
#include "launcher/startup_options.h"
#include "launcher/startup_state.h"
#include "launcher/system_services.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/included_files.h"
#include "splash/splash.h"
#include "util/win_text.h"

#include <cstring>

namespace {

// Console arguments, honoured only when the payload enables them.
void applyConsoleArguments(const ArgList& args) {
  const bool quietArgs = configInt(kItemQuietConsoleArgs) != 0;
  const bool consoleArg = configInt(kItemConsoleArg) != 0;
  if (!quietArgs && !consoleArg) return;
  for (const WString& arg : args) {
    if (quietArgs && arg == u"-q") {
      useConsoleErrors();
    } else if (arg == u"-console") {
      attachConsole();
    } else if (quietArgs && arg == u"-c") {
      useConsoleErrors();
      if (attachConsole()) break;
      MessageBoxW(nullptr, L"Error: Could not allocate console.", L"kestrel", MB_OK);
      exitLauncher(1);
    }
  }
}

bool splashIsNative() { return configInt(kItemUseRuntimeSplash) == 0; }

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR cmdTail, int showState) {
  const std::string_view tail = cmdTail ? std::string_view(cmdTail) : std::string_view();
  if (!tail.empty() && tail == "__ksl_reboot") {
    rebootSystem();
    return 0;
  }
  loadCommonControls();
  if (startsWith(tail, "__ksl_lang_restart")) languageRestart = true;
  if (startsWith(tail, "-q_ksl_internal")) useConsoleErrors();

  ArgList args;
  splitCommandLine(fromWide(GetCommandLineW()), args);

  applyStartupOptions(instance, args);
  for (std::size_t i = 0; i < args.size(); ++i)
    logMessage(u"argument %d: %s", static_cast<int>(i), args[i].c_str());
  applyConsoleArguments(args);

  if (!languageRestart) checkSingleInstance();

  const bool splash = configInt(kItemSplashScreen) != 0;
  if (splash && splashIsNative()) splashSwitch(showState);

  if (extractIncludedFiles() != 0) fatalConfigMessage8(kMsgInternalError, "16");

  setNativeLibraryPath();

  if (!LoadDLL()) exitLauncher(83);

  if (splash && !splashIsNative()) splashSwitch(showState);

  if (!launchJava(args, true)) fatalConfigMessage(kMsgLaunchFailed);

  return 0;
}
