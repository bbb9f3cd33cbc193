// Facts of the chosen Java runtime, recorded once by runtime selection and read by
// later stages (variable expansion, option assembly, VM creation, runtime splash).
#pragma once

#include <string>

// The chosen executable's directory with its trailing backslash, followed by "..";
// empty until a runtime has been chosen.
const std::string& runtimeHome();
// The version text of the chosen runtime.
const std::string& runtimeVersion();
// The address of the runtime library's JNI_CreateJavaVM, or null.
void* createJavaVMEntry();

// Sets the runtime home and version from the chosen executable and its version.
void recordRuntimeFacts(const std::string& javaExecutable, const std::string& version);
// Stores the creation entry (set by resolveCreateJavaVM).
void setCreateJavaVMEntry(void* entry);
