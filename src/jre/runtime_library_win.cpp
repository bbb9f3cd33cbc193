#include "jre/runtime_library.h"

#include "diag/log.h"
#include "jre/runtime_facts.h"
#include "jre/runtime_paths.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "util/paths.h"
#include "util/process_path.h"
#include "util/win_text.h"

#include <optional>

namespace {

// Item 152 is read into a buffer of this many bytes.
constexpr std::size_t kPreferredJvmDirectoryCapacity = 200;

// Sets PATH in both environment views and logs the outcome.
void setPath(const std::optional<WString>& value) {
  const WString text = value.value_or(WString());
  std::uint32_t error = 0;
  if (writeProcessPath(value, error))
    logMessage(u"Setting PATH %s", text.c_str());
  else
    logMessage(u"Setting PATH %s failed with error %d", text.c_str(), static_cast<int>(error));
}

}  // namespace

HMODULE loadRuntimeLibrary(const std::string& javaExePath) {
  logMessage(u"Trying to load JVM-DLL from %S", javaExePath.c_str());
  if (HMODULE library = loadJvmFromBinDirectory(javaExePath)) return library;
  // A development kit keeps its runtime below its own directory:
  // c:\jdk\bin\java.exe leads to c:\jdk\bin\..\jre\bin.
  return loadJvmFromBinDirectory(bundledRuntimeExecutable(javaExePath));
}

HMODULE loadJvmFromBinDirectory(const std::string& javaExePath) {
  const std::string binDirectory = javaBinDirectory(javaExePath);
  // PATH is read whole and changed in UTF-16, so that restoring it after a failed
  // walk gives back exactly what was there.
  const std::optional<WString> oldPath = readProcessPath();
  setPath(pathWithDirectoryAppended(oldPath.value_or(WString()), widenPath(binDirectory)));

  HMODULE library = nullptr;
  const std::string preferred =
      configString(kItemPreferredJvmDirectory, kPreferredJvmDirectoryCapacity);
  for (const std::string& subDirectory : jvmDirectoryOrder(preferred)) {
    library = loadJvmDll(binDirectory, subDirectory);
    if (library) break;
  }
  if (!library) setPath(oldPath);
  return library;
}

HMODULE loadJvmDll(const std::string& binDirectory, const std::string& subDirectory) {
  const std::string file = jvmLibraryPath(binDirectory, subDirectory);
  const bool exists = pathExists(file);
  logMessage(u"Trying %S (exists %d)", file.c_str(), exists ? 1 : 0);
  // Loaded also when the test above did not see it: the loader has the last word.
  HMODULE library = LoadLibraryA(file.c_str());
  const DWORD error = GetLastError();
  if (exists && !library) logMessage(u"Failed with error code %d", static_cast<int>(error));
  return library;
}

bool resolveCreateJavaVM(HMODULE library) {
  if (!library) return false;
  FARPROC entry = GetProcAddress(library, "JNI_CreateJavaVM");
  if (!entry) return false;
  setCreateJavaVMEntry(reinterpret_cast<void*>(entry));
  return true;
}
