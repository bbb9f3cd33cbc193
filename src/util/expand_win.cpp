#include "jre/runtime_facts.h"
#include "payload/temp_files.h"
#include "util/expand.h"
#include "util/expand_text.h"
#include "util/paths.h"
#include "util/win_text.h"

#include <memory>

// The 8-bit block; windows.h maps the plain name to the wide call in this build.
extern "C" __declspec(dllimport) LPCH WINAPI GetEnvironmentStringsA(void);

namespace {

struct FreeWideBlock {
  void operator()(wchar_t* block) const { FreeEnvironmentStringsW(block); }
};
struct FreeNarrowBlock {
  void operator()(char* block) const { FreeEnvironmentStringsA(block); }
};

// The process environment, read afresh for every expansion.
std::vector<WString> currentEnvironmentWide() {
  std::unique_ptr<wchar_t, FreeWideBlock> block(GetEnvironmentStringsW());
  return environmentEntries(reinterpret_cast<const char16_t*>(block.get()));
}

std::vector<std::string> currentEnvironment() {
  std::unique_ptr<char, FreeNarrowBlock> block(GetEnvironmentStringsA());
  return environmentEntries(block.get());
}

}  // namespace

void expandVariablesWide(WString& text, bool narrowSafe, std::size_t cap) {
  WideVariableValues values;
  // The executable directory as resolving the empty path gives it.
  values.executableDirectory = resolvePathWide(WString(), narrowSafe);
  // Determined at every expansion; no usable folder ends the launcher (message 1015).
  values.userTempFolder = narrowSafe ? widenBytewise(tempFolder()) : tempFolderW(true);
  values.launcherTempDirectory = launcherTempDirectory();
  values.runtimeHome = runtimeHome();
  expandTextWide(text, values, currentEnvironmentWide(), cap);
}

void expandVariables(std::string& text, std::size_t cap) {
  NarrowVariableValues values;
  values.executableDirectory = resolvePath(std::string());
  values.userTempFolder = tempFolder();
  values.launcherTempDirectory = launcherTempDirectory();
  values.runtimeHome = runtimeHome();
  expandText(text, values, currentEnvironment(), cap);
}
