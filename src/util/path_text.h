// Path rules that need no file system: relative or absolute, backslash runs,
// drive-root spellings. Shared by the 8-bit and UTF-16 path helpers.
#pragma once

#include "util/text.h"

// True unless the path is drive-absolute ("C:\...") or UNC ("\\..."); a leading
// double quote is looked through.
bool isRelativePath(std::string_view path);
bool isRelativePathWide(WStringView path);

// Every run of backslashes becomes one, except that a leading pair survives.
void collapseBackslashesWide(WString& path);

// "X:\", "X:\." and "X:\.\." name a drive root without asking the disk.
bool isDriveRootSpelling(WStringView path);
