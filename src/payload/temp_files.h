// The temporary folder, the per-run launcher temporary directory and its cleanup.
#pragma once

#include "util/text.h"

#include <cstdint>

// Path of the launcher temporary directory; empty while none exists.
std::string& launcherTempDirectory();

// The first usable temporary folder candidate (8-bit); ends the process with
// message 1015 when none is usable.
std::string tempFolder();
// The same in UTF-16; empty when none is usable, and then, if fatal, message 1015.
WString tempFolderW(bool fatal);

bool isUsableFolder(const std::string& path, bool create, bool rejectQuestionMark);
bool isUsableFolderW(const WString& path, bool create, bool rejectQuestionMark);
bool isWritableFolder(const std::string& path);
bool isWritableFolderW(const WString& path);

// A fresh file name in the temporary folder (the empty file is created), or a
// random fallback name when the system cannot make one.
std::string makeTempFileName();

// Creates the launcher temporary directory (10 attempts) or ends the process
// with message 1009 and "7".
void createLauncherTempDir();

// Deletes the files of dir, and with recurse the files of its subfolders and the
// subfolders that are empty then. Does nothing for an empty dir or one that
// begins with ".".
void emptyDirectory(const std::string& dir, bool recurse);
