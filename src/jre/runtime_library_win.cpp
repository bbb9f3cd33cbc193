#include "jre/runtime_library.h"

#include "diag/log.h"
#include "jre/runtime_facts.h"
#include "jre/runtime_paths.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <stdlib.h>

#include <optional>

namespace {

// Item 152 is read into a buffer of this many bytes.
constexpr std::size_t kPreferredJvmDirectoryCapacity = 200;

// The whole current value of PATH; nothing when the variable is not set. The
// value is read whatever its length, so that putting it back never loses a part.
std::optional<std::string> currentPath() {
  std::string value(1024, '\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n = GetEnvironmentVariableA("PATH", value.data(), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.assign(static_cast<std::size_t>(n) + 1, '\0');
  }
}

// Sets PATH in the operating system's environment of the process, then in the C
// runtime's copy (whether or not the first step worked), so that both views agree.
// Nothing removes the variable in both places.
void setPath(const std::optional<std::string>& value) {
  const char* text = value ? value->c_str() : "";
  if (SetEnvironmentVariableA("PATH", value ? value->c_str() : nullptr))
    logMessage(u"Setting PATH %S", text);
  else
    logMessage(u"Setting PATH %S failed with error %d", text, static_cast<int>(GetLastError()));
  _putenv_s("PATH", text);
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
  const std::optional<std::string> oldPath = currentPath();
  setPath(pathWithDirectoryAppended(oldPath.value_or(std::string()), binDirectory));

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
