// The runtime search: preferred location, configured entries, installer location,
// a fallback without version check, earlier installations and two environment
// variables, until a candidate passes its probe and its VM library loads.
#pragma once

#include "jre/java_version.h"
#include "jre/search_sequence.h"
#include "util/text.h"

#include <optional>
#include <string>

#include <windows.h>

inline constexpr std::size_t kVersionCapacity = 2000;

struct RuntimeSearchResult {
  std::string javaExecutable;  // of the last probed candidate; of the chosen one on success
  std::string version;         // written by the probes
  RuntimeOrigin origin = RuntimeOrigin::None;  // set when a candidate passes its probe
  std::string location;        // the configured text that led to the candidate
};

// Returns the loaded VM library, or null; the result record is filled either way.
HMODULE searchJavaRuntime(RuntimeSearchResult& result);

bool tryRuntimeDirectory(std::string& javaExecutable, std::string& version,
                         const std::string& directory, const JavaVersion& lower,
                         const JavaVersion& upper, bool skipCheck);
bool tryEnvironmentVariable(std::string& javaExecutable, std::string& version,
                            const std::string& name, const JavaVersion& lower,
                            const JavaVersion& upper);
bool tryPathSearch(std::string& javaExecutable, std::string& version, const JavaVersion& lower,
                   const JavaVersion& upper);

// The first line of a file under the installation directory, trailing line ends
// removed; nothing when the file is missing or empty.
std::optional<std::string> readLocationFile(const WString& suffix);
