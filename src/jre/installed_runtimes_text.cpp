#include "jre/installed_runtimes_text.h"

#include "jre/java_version.h"
#include "util/text.h"

#include <algorithm>

std::string currentVersionHomeKey(std::string_view kitVersion, std::string_view runtimeVersion) {
  const bool kit = isNewerVersion(kitVersion, runtimeVersion);
  std::string key(kit ? kJavaSoftKitKey : kJavaSoftRuntimeKey);
  key += '\\';
  key += kit ? kitVersion : runtimeVersion;
  return key;
}

std::vector<std::string> versionKeyTryOrder(std::vector<std::string> names) {
  // std::string compares its characters as unsigned bytes, a prefix first.
  std::sort(names.begin(), names.end());
  std::reverse(names.begin(), names.end());
  return names;
}

std::string locatedRuntimePath(std::string_view keyName) {
  std::string path(keyName);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

bool isSharedRuntimePath(std::string_view path) {
  return path.find(kSharedRuntimeMarker) != std::string_view::npos;
}

std::vector<std::string> installationDirectories(std::string_view value) {
  return splitNonEmpty(value, ';');
}
