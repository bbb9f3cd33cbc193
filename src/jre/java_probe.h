// Probing one Java runtime: the executable of a runtime home, its version from the
// per-user version cache or from running it with "-version", and the check of that
// version against the limits. Paths are 8-bit text.
#pragma once

#include "jre/java_version.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// The executable of a runtime home: home + "\jre\bin\java.exe". When a development
// kit is required (item requireJdk) the home is acceptable only if it holds
// "\lib\tools.jar", and the path stays at the jre location. Otherwise a missing jre
// executable gives home + "\bin\java.exe", and the home is acceptable either way.
bool javaExeForHome(const std::string& home, std::string& exePath);

// Is the executable usable? Normalizes exePath in place (absolute, lower-cased,
// relative to the executable directory), learns the version from the cache or by
// running it, and checks it against the limits. For GUI applications (item
// executableType 1) a passing runtime needs javaw.exe beside java.exe, and exePath
// then names javaw.exe. On true exePath is the executable to use and version its
// version text.
bool checkJavaExe(std::string& exePath, std::string& version, const JavaVersion& lower,
                  const JavaVersion& upper, bool allowBeta);

// The cached version of the executable when the entry's last-write stamp equals
// lastWrite and the version fits into capacity bytes with its terminator. "1.7.",
// "1.6." and "1.5." count as absent; the failed-run marker "1.0.0" is returned.
std::optional<std::string> readCachedVersion(const std::string& normalizedPath,
                                             std::uint64_t lastWrite,
                                             std::size_t capacity = 2000);

// Writes the cache entry; a cache that cannot be written is skipped silently.
void storeCachedVersion(const std::string& normalizedPath, std::uint64_t lastWrite,
                        const std::string& version);

// Runs "<short path> -version" hidden, with its error output captured in a
// temporary file, and returns the version of the first line. A run that ends with
// a nonzero exit code stores the marker "1.0.0"; one that does not end within the
// wait (60 s) is terminated and stores nothing.
std::optional<std::string> runJavaVersion(const std::string& normalizedPath,
                                          std::uint64_t lastWrite);

// Tests only: the wait for the "-version" run in milliseconds (a DWORD).
void setJavaVersionWaitForTesting(unsigned long milliseconds);
