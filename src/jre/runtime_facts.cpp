#include "jre/runtime_facts.h"

#include "util/text.h"

namespace {
// Never destroyed, as all process-wide state.
std::string& home = *new std::string;
std::string& version = *new std::string;
void* createEntry = nullptr;
}  // namespace

const std::string& runtimeHome() { return home; }
const std::string& runtimeVersion() { return version; }
void* createJavaVMEntry() { return createEntry; }
void setCreateJavaVMEntry(void* entry) { createEntry = entry; }

void recordRuntimeFacts(const std::string& javaExecutable, const std::string& versionText) {
  // The directory part keeps its trailing backslash; the file name is "javaw.exe"
  // when the path ends with it, otherwise "java.exe", cut by length.
  const std::size_t nameLength = endsWithIgnoreAsciiCase(javaExecutable, "javaw.exe") ? 9 : 8;
  const std::size_t keep =
      javaExecutable.size() >= nameLength ? javaExecutable.size() - nameLength : 0;
  home = javaExecutable.substr(0, keep) + "..";
  version = versionText;
}
