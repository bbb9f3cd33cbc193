// Preparation of a runtime that ships its class archives packed (name.jar.pack):
// before the runtime is examined, every packed archive in its lib and lib\ext
// directories whose archive is missing is unpacked with the runtime's own
// bin\unpack200.exe, and the packed file is deleted.
#pragma once

#include <string>

// Unpacks the missing archives of home\lib and home\lib\ext. The user sees
// "Preparing JRE ..." on standard output once per call, before the first
// unpacking. When the unpack tool cannot be started the process ends (message
// 1009 with "20", exit code 1).
void prepareRuntime(const std::string& home);

// Unpacks the missing archives of home\subDirectory; announced says whether the
// notice has been given during this preparation and is set when it is given here.
void unpackPackedJars(const std::string& home, const std::string& subDirectory, bool& announced);

// Runs home\bin\unpack200.exe on one packed archive (its archive is the path
// without ".pack"), waits for it, and deletes the packed file.
void runUnpack200(const std::string& home, const std::string& packedPath);
