#include "jre/runtime_search.h"

#include "diag/log.h"
#include "jre/installed_runtimes.h"
#include "jre/java_probe.h"
#include "jre/packed_runtime.h"
#include "jre/runtime_library.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "util/expand.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

namespace {

struct Limits {
  JavaVersion lower;
  JavaVersion upper;
};

void capVersion(std::string& version) { truncateToCapacity(version, kVersionCapacity); }

// Probes one configured entry; on success sets the origin and the location.
bool probeEntry(const SearchEntry& entry, const std::string& expanded, const Limits& limits,
                RuntimeSearchResult& result) {
  bool found = false;
  RuntimeOrigin origin = RuntimeOrigin::None;
  bool keepsLocation = false;
  switch (entry.type) {
    case 'A':
    case 'B':
    case 'R':
      found = tryRuntimeDirectory(result.javaExecutable, result.version, expanded, limits.lower,
                                  limits.upper, false);
      origin = RuntimeOrigin::Directory;
      break;
    case 'E':
      found = tryEnvironmentVariable(result.javaExecutable, result.version, expanded,
                                     limits.lower, limits.upper);
      origin = RuntimeOrigin::EnvironmentVariable;
      break;
    case 'S':
      found = tryPathSearch(result.javaExecutable, result.version, limits.lower, limits.upper);
      origin = RuntimeOrigin::ExecutableSearchPath;
      break;
    case 'Y':
      found = findInstalledRuntime(result.javaExecutable, result.version, limits.lower,
                                   limits.upper);
      origin = RuntimeOrigin::Registry;
      keepsLocation = true;
      break;
    default:
      return false;  // unknown letters do nothing
  }
  capVersion(result.version);
  if (!found) return false;
  result.origin = origin;
  if (!keepsLocation) result.location = expanded;
  return true;
}

HMODULE tryLocationFile(const wchar_t* suffix, const char16_t* hasLine, const char16_t* usingLine,
                        const Limits& limits, RuntimeSearchResult& result) {
  std::optional<std::string> line = readLocationFile(fromWide(suffix));
  if (!line) return nullptr;
  logMessage(hasLine, line->c_str());
  if (!tryRuntimeDirectory(result.javaExecutable, result.version, *line, limits.lower,
                           limits.upper, false))
    return nullptr;
  logMessage(usingLine);
  result.location = *line;
  result.origin = RuntimeOrigin::Directory;
  return loadRuntimeLibrary(result.javaExecutable);
}

}  // namespace

std::optional<std::string> readLocationFile(const WString& suffix) {
  WString dir = configStringAsWide(kItemInstallationDirectory, kTextCapacity);
  WString path = fullPathWide(dir, false, true) + suffix;
  UniqueHandle file(CreateFileW(wz(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string bytes(kTextCapacity - 1, '\0');
  DWORD got = 0;
  if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
      got == 0)
    return std::nullopt;
  bytes.resize(got);
  if (std::size_t end = bytes.find('\n'); end != std::string::npos) bytes.resize(end + 1);
  while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) bytes.pop_back();
  return bytes;
}

bool tryRuntimeDirectory(std::string& javaExecutable, std::string& version,
                         const std::string& directory, const JavaVersion& lower,
                         const JavaVersion& upper, bool skipCheck) {
  const std::string home = fullPath(directory, false);
  prepareRuntime(home);
  const bool acceptable = javaExeForHome(home, javaExecutable);
  if (skipCheck) return true;
  return acceptable && checkJavaExe(javaExecutable, version, lower, upper, true);
}

bool tryEnvironmentVariable(std::string& javaExecutable, std::string& version,
                            const std::string& name, const JavaVersion& lower,
                            const JavaVersion& upper) {
  std::string home = windowsStringA(
      [&](char* b, DWORD n) { return GetEnvironmentVariableA(name.c_str(), b, n); },
      kTextCapacity);
  // A value too long for the launcher's text capacity cannot name a home it could
  // use: cutting it would name some other folder.
  if (home.empty() || home.size() >= kTextCapacity) return false;
  for (char& c : home)
    if (c == '/') c = '\\';
  if (!javaExeForHome(home, javaExecutable)) return false;
  return checkJavaExe(javaExecutable, version, lower, upper, false);
}

bool tryPathSearch(std::string& javaExecutable, std::string& version, const JavaVersion& lower,
                   const JavaVersion& upper) {
  std::string found = windowsStringA(
      [](char* b, DWORD n) { return SearchPathA(nullptr, "java.exe", nullptr, n, b, nullptr); },
      kTextCapacity);
  if (found.empty() || found.size() >= kTextCapacity) return false;
  javaExecutable = found;
  return checkJavaExe(javaExecutable, version, lower, upper, false);
}

HMODULE searchJavaRuntime(RuntimeSearchResult& result) {
  logMessage(u"Searching for a JVM");
  result.origin = RuntimeOrigin::None;
  const std::string sequence = configString(kItemJreSearchSequence);
  const std::string minText = configString(kItemMinJavaVersion);
  const std::string maxText = configString(kItemMaxJavaVersion);
  logMessage(u"MinVersion: %S, MaxVersion: %S", minText.c_str(), maxText.c_str());
  const Limits limits{parseJavaVersion(minText), parseJavaVersion(maxText)};

  if (HMODULE lib = tryLocationFile(L"\\.kestrel\\pref_jre.cfg", u"Has preferred location %S",
                                    u"Using preferred location", limits, result))
    return lib;

  const std::vector<SearchEntry> entries = parseSearchSequence(sequence);
  for (const SearchEntry& entry : entries) {
    std::string expanded = entry.text;
    expandVariables(expanded);
    logMessage(u"Testing location %S (type %c)", expanded.c_str(), entry.type);
    if (!probeEntry(entry, expanded, limits, result)) continue;
    if (HMODULE lib = loadRuntimeLibrary(result.javaExecutable)) return lib;
  }

  if (HMODULE lib = tryLocationFile(L"\\.kestrel\\inst_jre.cfg", u"Has installer location %S",
                                    u"Using installer location", limits, result))
    return lib;

  for (const SearchEntry& entry : entries) {
    if (!fallbackTakesEntry(entry)) continue;
    logMessage(u"Testing relative location %S", entry.text.c_str());
    if (!tryRuntimeDirectory(result.javaExecutable, result.version, entry.text, limits.lower,
                             limits.upper, true) ||
        !pathExists(result.javaExecutable))
      continue;
    logMessage(u"%S exists", result.javaExecutable.c_str());
    result.location = entry.text;
    result.origin = RuntimeOrigin::Directory;
    if (HMODULE lib = loadRuntimeLibrary(result.javaExecutable)) return lib;
  }

  struct Installations {
    HKEY root;
    const char16_t* line;
  };
  for (const Installations& source :
       {Installations{HKEY_CURRENT_USER, u"found JRE from previous installation (user) %S"},
        Installations{HKEY_LOCAL_MACHINE, u"found JRE from previous installation (machine) %S"}}) {
    const bool found = findPreviousInstallation(source.root, result.javaExecutable,
                                                result.version, limits.lower, limits.upper);
    capVersion(result.version);
    if (!found) continue;
    logMessage(source.line, result.javaExecutable.c_str());
    result.origin = RuntimeOrigin::Registry;
    if (HMODULE lib = loadRuntimeLibrary(result.javaExecutable)) return lib;
  }

  logMessage(u"Search sequence finished");

  for (const char* name : {"WRENLET_JAVA_HOME", "KESTREL_JAVA_HOME"}) {
    const bool found = tryEnvironmentVariable(result.javaExecutable, result.version, name,
                                              limits.lower, limits.upper);
    capVersion(result.version);
    if (!found) continue;
    result.location = name;
    result.origin = RuntimeOrigin::EnvironmentVariable;
    if (HMODULE lib = loadRuntimeLibrary(result.javaExecutable)) return lib;
  }
  return nullptr;
}
