// Path rules that need no file system: relative or absolute, backslash runs,
// drive-root spellings. Shared by the 8-bit and UTF-16 path helpers.
#pragma once

#include "util/text.h"

#include <vector>

// True unless the path is drive-absolute ("C:\...") or UNC ("\\..."); a leading
// double quote is looked through.
bool isRelativePath(std::string_view path);
bool isRelativePathWide(WStringView path);

// Every run of backslashes becomes one, except that a leading pair survives.
void collapseBackslashesWide(WString& path);

// "X:\", "X:\." and "X:\.\." name a drive root without asking the disk.
bool isDriveRootSpelling(WStringView path);

// The text of a resolved path before its backslashes are collapsed: base followed
// by path when path is relative, path alone otherwise. The path is kept as written,
// quotes included.
std::string placeRelative(std::string_view base, std::string_view path);
WString placeRelativeWide(WStringView base, WStringView path);

// The non-empty elements of a ";"-separated list, in order.
std::vector<std::string> splitPathList(std::string_view list);
// The elements joined with ";" (none at the end).
std::string joinPathList(const std::vector<std::string>& elements);
