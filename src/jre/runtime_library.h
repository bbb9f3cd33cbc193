// Loading a Java runtime's VM library (jvm.dll) into the launcher process and
// resolving its creation entry. The library's bin directory is added to the end
// of PATH, in the operating system's environment and in the C runtime's copy,
// so that the libraries next to it can be found; a walk that loads nothing puts
// PATH back. A loaded library is never unloaded.
#pragma once

#include <string>

#include <windows.h>

// Tries the VM directories beside the Java executable (java.exe or javaw.exe),
// then those of the runtime that a development kit keeps below ..\jre\bin.
HMODULE loadRuntimeLibrary(const std::string& javaExePath);

// Tries the VM directories of the executable's bin directory: the one named by
// the preferred JVM directory item first, then hotspot, client, server, classic
// and jrockit.
HMODULE loadJvmFromBinDirectory(const std::string& javaExePath);

// Loads binDirectory\subDirectory\jvm.dll; null when it does not load.
HMODULE loadJvmDll(const std::string& binDirectory, const std::string& subDirectory);

// Looks up JNI_CreateJavaVM in the library and stores it as the creation entry.
// False for no library or a library without that export.
bool resolveCreateJavaVM(HMODULE library);
