// Names and paths around a Java runtime: the executable's directory, the places
// where its VM library may lie, and the archive that belongs to a packed archive.
// Pure text rules, no file system.
#pragma once

#include "util/text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The name that is cut from an executable path: 9 ("javaw.exe") when the path ends
// with "javaw.exe" (any letter case), otherwise 8 ("java.exe").
std::size_t javaExecutableNameLength(std::string_view javaExecutable);

// The executable path without its file name, so that the backslash before it
// stays: c:\jre\bin\java.exe gives c:\jre\bin\ . A path shorter than the name
// gives an empty text.
std::string javaExecutableDirectory(std::string_view javaExecutable);

// The bin directory of an executable: the path without the backslash and the
// file name, c:\jre\bin\java.exe gives c:\jre\bin.
std::string javaBinDirectory(std::string_view javaExecutable);

// Where a development kit keeps its own runtime: the executable's directory
// followed by "..\jre\bin\java.exe" (c:\jdk\bin\..\jre\bin\java.exe).
std::string bundledRuntimeExecutable(std::string_view javaExecutable);

// The sub-directories of bin that are searched for jvm.dll, in order: the
// preferred one when it is not empty, then "hotspot", "client", "server",
// "classic" and "jrockit".
std::vector<std::string> jvmDirectoryOrder(std::string_view preferred);

// bin\sub\jvm.dll
std::string jvmLibraryPath(std::string_view binDirectory, std::string_view subDirectory);

// A PATH value with a directory added at its end: old;directory.
WString pathWithDirectoryAppended(WStringView oldPath, WStringView directory);

// The length of ".pack", which is cut from a packed archive's name.
inline constexpr std::size_t kPackSuffixLength = 5;

// The archive of a packed archive: the name or path without its last five
// characters (rt.jar.pack gives rt.jar). Shorter texts give an empty text.
std::string archiveOfPackedFile(std::string_view packed);

// True for a directory entry name of a packed archive, ending with ".jar.pack".
bool isPackedArchiveName(std::string_view name);

// The unpack tool below a runtime home: home\bin\unpack200.exe.
std::string unpackToolPath(std::string_view home);

// The tool's command line, without the program's name: -r "packed" "archive".
std::string unpackCommandLine(std::string_view packed, std::string_view archive);
