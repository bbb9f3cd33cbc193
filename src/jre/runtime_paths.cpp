#include "jre/runtime_paths.h"

#include "util/text.h"

namespace {
constexpr std::string_view kJavawName = "javaw.exe";
constexpr std::string_view kJavaName = "java.exe";
constexpr const char* kJvmDirectories[] = {"hotspot", "client", "server", "classic", "jrockit"};

std::string cutFromEnd(std::string_view text, std::size_t count) {
  return std::string(text.substr(0, text.size() >= count ? text.size() - count : 0));
}
}  // namespace

std::size_t javaExecutableNameLength(std::string_view javaExecutable) {
  return endsWithIgnoreAsciiCase(javaExecutable, kJavawName) ? kJavawName.size()
                                                             : kJavaName.size();
}

std::string javaExecutableDirectory(std::string_view javaExecutable) {
  return cutFromEnd(javaExecutable, javaExecutableNameLength(javaExecutable));
}

std::string javaBinDirectory(std::string_view javaExecutable) {
  return cutFromEnd(javaExecutable, javaExecutableNameLength(javaExecutable) + 1);
}

std::string bundledRuntimeExecutable(std::string_view javaExecutable) {
  return javaExecutableDirectory(javaExecutable) + "..\\jre\\bin\\java.exe";
}

std::vector<std::string> jvmDirectoryOrder(std::string_view preferred) {
  std::vector<std::string> order;
  if (!preferred.empty()) order.emplace_back(preferred);
  for (const char* name : kJvmDirectories) order.emplace_back(name);
  return order;
}

std::string jvmLibraryPath(std::string_view binDirectory, std::string_view subDirectory) {
  std::string path(binDirectory);
  path += '\\';
  path += subDirectory;
  path += "\\jvm.dll";
  return path;
}

WString pathWithDirectoryAppended(WStringView oldPath, WStringView directory) {
  WString value(oldPath);
  value += u';';
  value += directory;
  return value;
}

std::string archiveOfPackedFile(std::string_view packed) {
  return cutFromEnd(packed, kPackSuffixLength);
}

bool isPackedArchiveName(std::string_view name) {
  return endsWithIgnoreAsciiCase(name, ".jar.pack");
}

std::string unpackToolPath(std::string_view home) {
  return std::string(home) + "\\bin\\unpack200.exe";
}

std::string unpackCommandLine(std::string_view packed, std::string_view archive) {
  std::string line = "-r \"";
  line += packed;
  line += "\" \"";
  line += archive;
  line += '"';
  return line;
}
