// Rules of the installed-runtime registry sources that need no Windows calls:
// the JavaSoft and launcher key names, the order in which version keys are
// tried, and the texts that located runtimes and installations are recorded as.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kJavaSoftRuntimeKey = "SOFTWARE\\JavaSoft\\Java Runtime Environment";
inline constexpr std::string_view kJavaSoftKitKey = "SOFTWARE\\JavaSoft\\Java Development Kit";
inline constexpr std::string_view kLocatedRuntimesKey = "SOFTWARE\\quillmoor\\wrenlet\\locatedjvms\\";
inline constexpr std::string_view kInstallationsKey = "SOFTWARE\\quillmoor\\kestrel\\installations";

// Located runtimes count as shared ones (item sharedRuntimesOnly) only when their
// path contains this text.
inline constexpr std::string_view kSharedRuntimeMarker = "ksl_jres";

// The key whose "JavaHome" names the current runtime: the development kit key when
// the kit's "CurrentVersion" is newer than the runtime environment's, otherwise the
// runtime environment key; "\" and the chosen version follow even when it is empty.
std::string currentVersionHomeKey(std::string_view kitVersion, std::string_view runtimeVersion);

// Version key names in the order they are tried: byte-wise text order (unsigned
// bytes, a prefix first), walked from the last to the first. So "1.8.0_5" comes
// before "1.8.0_45" and "1.8.0_181" before "1.8".
std::vector<std::string> versionKeyTryOrder(std::vector<std::string> names);

// A located runtime's key name ("/" for every "\") as an executable path.
std::string locatedRuntimePath(std::string_view keyName);

bool isSharedRuntimePath(std::string_view path);

// The non-empty ";"-separated parts of an installations value, in order.
std::vector<std::string> installationDirectories(std::string_view value);
