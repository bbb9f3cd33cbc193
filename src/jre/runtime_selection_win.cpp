#include "diag/log.h"
#include "diag/report.h"
#include "jre/runtime_facts.h"
#include "jre/runtime_library.h"
#include "jre/runtime_search.h"
#include "jre/runtime_selection.h"

namespace {

void showFailureMessages(const RuntimeSearchResult& result) {
  for (const FailureMessage& message : loadFailureMessages(result.origin)) {
    switch (message.argument) {
      case FailureMessage::Argument::None:
        showConfigMessage(message.id);
        break;
      case FailureMessage::Argument::Code64:
        showConfigMessage8(message.id, "64");
        break;
      case FailureMessage::Argument::Location:
        showConfigMessage8(message.id, result.location);
        break;
    }
  }
}

}  // namespace

bool LoadDLL() {
  logMessage(u"LoadDLL (%d, %S, %d)", 1, static_cast<const char*>(nullptr), 0);
  RuntimeSearchResult result;
  HMODULE library = searchJavaRuntime(result);
  if (result.origin == RuntimeOrigin::None) {
    logError(u"No JVM found");
    showFailureMessages(result);
    return false;
  }
  recordRuntimeFacts(result.javaExecutable, result.version);
  if (library == nullptr) logError(u"Could not get DLL-Handle.");
  const bool resolved = resolveCreateJavaVM(library);
  if (!resolved) logError(u"Could not load functions");
  if (library != nullptr && resolved) {
    logMessage(u"Loading of JVM-DLL successful");
    return true;
  }
  showFailureMessages(result);
  return false;
}
