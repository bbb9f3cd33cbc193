#include "diag/log.h"
#include "launcher/native_library_path.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "util/expand.h"
#include "util/paths.h"
#include "util/process_path.h"
#include "util/win_text.h"

namespace {

// Longest PATH value the launcher composes.
constexpr std::size_t kPathValueCapacity = 48000;

}  // namespace

void setNativeLibraryPath() {
  std::string dirs = configString(kItemNativeLibraryDirs, kTextCapacity);
  logMessage(u"native lib dir is %S", dirs.c_str());
  expandVariables(dirs);
  std::string prefix = resolvePathList(dirs);
  if (!prefix.empty() && prefix.back() != ';') prefix.push_back(';');

  // Composed in UTF-16: the current PATH may hold folders that have no spelling in
  // the ANSI code page, and an 8-bit round trip would turn them into "?".
  WString value = widenPath(prefix);
  value += readProcessPath().value_or(WString());
  truncateToCapacity(value, kPathValueCapacity + 1);

  std::uint32_t error = 0;
  if (writeProcessPath(value, error)) {
    logMessage(u"Setting PATH (native libs) %s", value.c_str());
  } else {
    logMessage(u"Setting PATH (native libs) %s failed with error %d", value.c_str(),
               static_cast<int>(error));
  }
}
