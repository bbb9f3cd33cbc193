// The names of the files a payload carries (item 2003): splitting the list, the
// one folder level a name may have, and the check that keeps every extracted
// file inside the launcher temporary directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The ";"-separated names in their order; empty pieces are skipped.
std::vector<std::string> splitIncludedNames(std::string_view list);

// The part of the name before its first "\" (the folder that extraction creates),
// or nothing when the name has no "\".
std::optional<std::string> firstFolderOfName(std::string_view name);

// False for a name that could put the file anywhere but below the launcher
// temporary directory: an empty name; a name beginning with "\" or "/" (root,
// UNC and device prefixes); any ":" (a drive, or a stream of another file) or
// NUL (which would end the name early, where the system reads it); a
// segment made of dots (and trailing blanks) that is more than "." (".." and
// what Windows trims to it); a segment that names a DOS device (CON, NUL,
// COM1, ...), which Windows opens instead of a file.
bool isSafeIncludedName(std::string_view name);
