// Java runtimes recorded in the registry: the JavaSoft keys of runtime and
// development kit installers, runtimes located earlier by a launcher, and the
// directories of earlier installations of the same application. Each source hands
// its candidates to checkJavaExe; on success exe holds the executable to use and
// version its version text.
#pragma once

#include "jre/java_version.h"

#include <windows.h>

#include <cstddef>
#include <string>

// Opens root\keyPath for reading and reads the string value; false when either
// fails or the value does not fit into capacity bytes with its terminator.
bool readRegistryString(HKEY root, const std::string& keyPath, const char* valueName,
                        std::string& value, std::size_t capacity);

// The runtime named by the "CurrentVersion" values of the two JavaSoft keys.
bool findCurrentVersionRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                               const JavaVersion& upper);

// The runtimes named by the version subkeys of one JavaSoft key (under
// HKEY_LOCAL_MACHINE), tried in versionKeyTryOrder; the first usable one.
bool findVersionKeyRuntime(const std::string& baseKey, std::string& exe, std::string& version,
                           const JavaVersion& lower, const JavaVersion& upper);

// findCurrentVersionRuntime, then the runtime environment's version keys (unless a
// development kit is required), then the development kit's version keys.
bool findJavaSoftRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                         const JavaVersion& upper);

// The newest usable runtime located earlier and recorded under root (the first
// one among equal versions). Unless acceptAll, only shared runtimes count.
bool scanLocatedRuntimes(HKEY root, bool acceptAll, std::string& exe, std::string& version,
                         const JavaVersion& lower, const JavaVersion& upper);

// The user's located runtime when it is newer than the machine's, else the machine's.
bool findLocatedRuntime(bool acceptAll, std::string& exe, std::string& version,
                        const JavaVersion& lower, const JavaVersion& upper);

// JavaSoft and located runtimes compared: the JavaSoft one only when it is newer.
// Item sharedRuntimesOnly skips the JavaSoft keys and unshared located runtimes.
bool findInstalledRuntime(std::string& exe, std::string& version, const JavaVersion& lower,
                          const JavaVersion& upper);

// The first usable "\jre" runtime of the earlier installations recorded under root
// for item installationAppId, with the registry view flag (0 or KEY_WOW64_64KEY).
bool scanInstallations(HKEY root, REGSAM viewFlag, std::string& exe, std::string& version,
                       const JavaVersion& lower, const JavaVersion& upper);

// scanInstallations without, then with, the 64-bit registry view.
bool findPreviousInstallation(HKEY root, std::string& exe, std::string& version,
                              const JavaVersion& lower, const JavaVersion& upper);
