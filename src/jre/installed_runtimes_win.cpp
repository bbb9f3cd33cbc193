#include "jre/installed_runtimes.h"

#include "diag/log.h"
#include "jre/installed_runtimes_text.h"
#include "jre/java_probe.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "util/handle.h"

#include <vector>

namespace {

// Capacity of a JavaSoft "CurrentVersion" value.
constexpr std::size_t kCurrentVersionCapacity = 100;

// The string value of an open key; false when it cannot be read or does not fit
// into capacity bytes together with its terminator.
bool queryString(HKEY key, const char* valueName, std::string& value, std::size_t capacity) {
  if (capacity == 0) return false;
  std::string buffer(capacity, '\0');
  DWORD size = static_cast<DWORD>(buffer.size());
  if (RegQueryValueExA(key, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()),
                       &size) != ERROR_SUCCESS)
    return false;
  if (size >= capacity && buffer[size - 1] != '\0') return false;
  buffer.resize(size);
  value = buffer.substr(0, buffer.find('\0'));
  return true;
}

// Names of the subkeys of an open key, in enumeration order. An index that cannot be
// read (a name that does not fit into the launcher's text capacity, say) is passed
// over; the walk ends when there are no more items or the key itself is gone, and
// after a long run of failing indexes, so a broken key cannot hold start-up forever.
std::vector<std::string> subkeyNames(HKEY key) {
  constexpr DWORD kMaxFailuresInARow = 1000;
  std::vector<std::string> names;
  std::string name(kTextCapacity, '\0');
  DWORD failuresInARow = 0;
  for (DWORD index = 0; failuresInARow < kMaxFailuresInARow; ++index) {
    DWORD length = static_cast<DWORD>(name.size());
    LONG status =
        RegEnumKeyExA(key, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_SUCCESS) {
      names.emplace_back(name.data(), length);
      failuresInARow = 0;
    } else if (status == ERROR_NO_MORE_ITEMS || status == ERROR_KEY_DELETED ||
               status == ERROR_INVALID_HANDLE) {
      break;
    } else {
      ++failuresInARow;
    }
  }
  return names;
}

// A "CurrentVersion" value that names a family within the limits, else empty.
std::string currentVersionWithinLimits(std::string_view baseKey, const JavaVersion& lower,
                                       const JavaVersion& upper) {
  std::string value;
  if (!readRegistryString(HKEY_LOCAL_MACHINE, std::string(baseKey), "CurrentVersion", value,
                          kCurrentVersionCapacity) ||
      !checkVersionPrefix(value, lower, upper))
    return std::string();
  return value;
}

bool probeHome(const std::string& home, std::string& exe, std::string& version,
               const JavaVersion& lower, const JavaVersion& upper, bool allowBeta) {
  return javaExeForHome(home, exe) && checkJavaExe(exe, version, lower, upper, allowBeta);
}

// A runtime found by one source.
struct Candidate {
  bool found = false;
  std::string exe, version;
};

// The preferred candidate when it is newer than the other (or the only one found),
// else the other; false when neither was found.
bool takeNewer(const Candidate& preferred, const Candidate& other, std::string& exe,
               std::string& version) {
  const bool preferredWins =
      preferred.found && (!other.found || isNewerVersion(preferred.version, other.version));
  const Candidate* pick = preferredWins ? &preferred : other.found ? &other : nullptr;
  if (pick == nullptr) return false;
  exe = pick->exe;
  version = pick->version;
  return true;
}

}  // namespace

bool readRegistryString(HKEY root, const std::string& keyPath, const char* valueName,
                        std::string& value, std::size_t capacity) {
  UniqueKey key;
  if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return false;
  return queryString(key.get(), valueName, value, capacity);
}

bool findCurrentVersionRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                               const JavaVersion& upper) {
  const std::string kit = currentVersionWithinLimits(kJavaSoftKitKey, lower, upper);
  const std::string runtime = configInt(kItemRequireJdk) != 0
                                  ? std::string()
                                  : currentVersionWithinLimits(kJavaSoftRuntimeKey, lower, upper);
  std::string home;
  if (!readRegistryString(HKEY_LOCAL_MACHINE, currentVersionHomeKey(kit, runtime), "JavaHome",
                          home, kTextCapacity))
    return false;
  return probeHome(home, exe, version, lower, upper, false);
}

bool findVersionKeyRuntime(const std::string& baseKey, std::string& exe, std::string& version,
                           const JavaVersion& lower, const JavaVersion& upper) {
  UniqueKey base;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, baseKey.c_str(), 0, KEY_READ, base.out()) != ERROR_SUCCESS)
    return false;
  std::vector<std::string> kept;
  for (std::string& name : subkeyNames(base.get()))
    if (checkVersionPrefix(name, lower, upper)) kept.push_back(std::move(name));

  for (const std::string& name : versionKeyTryOrder(std::move(kept))) {
    UniqueKey subkey;
    if (RegOpenKeyExA(base.get(), name.c_str(), 0, KEY_READ, subkey.out()) != ERROR_SUCCESS)
      continue;
    std::string home;
    if (!queryString(subkey.get(), "JavaHome", home, kTextCapacity)) continue;
    if (probeHome(home, exe, version, lower, upper, false)) return true;
  }
  return false;
}

bool findJavaSoftRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                         const JavaVersion& upper) {
  if (findCurrentVersionRuntime(exe, version, lower, upper)) return true;
  if (configInt(kItemRequireJdk) == 0 &&
      findVersionKeyRuntime(std::string(kJavaSoftRuntimeKey), exe, version, lower, upper))
    return true;
  return findVersionKeyRuntime(std::string(kJavaSoftKitKey), exe, version, lower, upper);
}

bool scanLocatedRuntimes(HKEY root, bool acceptAll, std::string& exe, std::string& version,
                         const JavaVersion& lower, const JavaVersion& upper) {
  UniqueKey key;
  if (RegOpenKeyExA(root, std::string(kLocatedRuntimesKey).c_str(), 0, KEY_READ, key.out()) !=
      ERROR_SUCCESS)
    return false;
  bool found = false;
  for (const std::string& name : subkeyNames(key.get())) {
    std::string candidate = locatedRuntimePath(name);
    if (!acceptAll && !isSharedRuntimePath(candidate)) continue;
    std::string candidateVersion;
    if (!checkJavaExe(candidate, candidateVersion, lower, upper, true)) continue;
    if (!found || isNewerVersion(candidateVersion, version)) {
      exe = candidate;
      version = candidateVersion;
      found = true;
    }
  }
  return found;
}

bool findLocatedRuntime(bool acceptAll, std::string& exe, std::string& version,
                        const JavaVersion& lower, const JavaVersion& upper) {
  Candidate user, machine;
  user.found =
      scanLocatedRuntimes(HKEY_CURRENT_USER, acceptAll, user.exe, user.version, lower, upper);
  machine.found =
      scanLocatedRuntimes(HKEY_LOCAL_MACHINE, acceptAll, machine.exe, machine.version, lower, upper);
  return takeNewer(user, machine, exe, version);
}

bool findInstalledRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                          const JavaVersion& upper) {
  const bool sharedOnly = configInt(kItemSharedRuntimesOnly) != 0;
  Candidate sun, located;
  if (!sharedOnly) {
    sun.found = findJavaSoftRuntime(sun.exe, sun.version, lower, upper);
    if (sun.found) logMessage(u"found sun %S %S", sun.exe.c_str(), sun.version.c_str());
  }
  located.found = findLocatedRuntime(!sharedOnly, located.exe, located.version, lower, upper);
  if (located.found)
    logMessage(u"found located %S %S", located.exe.c_str(), located.version.c_str());
  return takeNewer(sun, located, exe, version);
}

bool scanInstallations(HKEY root, REGSAM viewFlag, std::string& exe, std::string& version,
                       const JavaVersion& lower, const JavaVersion& upper) {
  const std::string appId = configString(kItemInstallationAppId, kTextCapacity);
  logMessage(u"checking app id %S (%d, %p)", appId.c_str(), static_cast<int>(viewFlag),
             static_cast<void*>(root));
  if (appId.empty()) return false;

  UniqueKey key;
  LONG status = RegOpenKeyExA(root, std::string(kInstallationsKey).c_str(), 0, KEY_READ | viewFlag,
                              key.out());
  if (status != ERROR_SUCCESS) {
    logMessage(u"could not open installation node %d", static_cast<int>(status));
    return false;
  }
  std::string value;
  if (!queryString(key.get(), appId.c_str(), value, kTextCapacity) || value.empty()) {
    logMessage(u"could not query value node %d", 0);
    return false;
  }
  logMessage(u"found installations: %S", value.c_str());
  for (const std::string& directory : installationDirectories(value)) {
    std::string home = directory + "\\jre";
    truncateToCapacity(home, kTextCapacity);
    if (!javaExeForHome(home, exe)) {
      logMessage(u"did not find java in %S", home.c_str());
      continue;
    }
    if (checkJavaExe(exe, version, lower, upper, false)) return true;
    logMessage(u"java version did not match in %S", home.c_str());
  }
  return false;
}

bool findPreviousInstallation(HKEY root, std::string& exe, std::string& version,
                              const JavaVersion& lower, const JavaVersion& upper) {
  return scanInstallations(root, 0, exe, version, lower, upper) ||
         scanInstallations(root, KEY_WOW64_64KEY, exe, version, lower, upper);
}
