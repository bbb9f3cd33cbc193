// Paths in the two encodings the launcher uses side by side: 8-bit text for the
// ANSI Windows functions, VM options and the class path, UTF-16 for the wide
// functions. Results are cut to the launcher's path capacity (kTextCapacity - 1
// units) rather than overrunning anything.
#pragma once

#include "util/path_text.h"
#include "util/text.h"

#include <cstdint>
#include <optional>

// The code page of every conversion between 8-bit and UTF-16 paths: ANSI when the
// file APIs are ANSI, OEM otherwise. Asked for at each conversion.
unsigned fileCodePage();

// UTF-16 to 8-bit in the file code page; nothing when a character has no 8-bit form
// (no best-fit look-alikes: such a path would name another file).
std::optional<std::string> narrowExact(WStringView text);
// UTF-16 to 8-bit in the file code page, unmappable characters becoming the default character.
std::string narrowCopy(WStringView text);
// 8-bit to UTF-16 in the file code page.
WString widenPath(std::string_view text);

// The running executable: 8-bit (8.3 form when the long form has no 8-bit
// spelling) and UTF-16 long form. Computed once.
const std::string& executablePath();
const WString& executablePathWide();

// The executable's directory, each form ending with a backslash.
const std::string& executableDirectory();
const WString& executableDirectoryWide();
// The 8-bit directory widened byte by byte, for text that goes back to 8-bit form.
const WString& executableDirectoryNarrowSafe();

// True when a directory search finds the path (file or directory); lastWrite
// receives its last-write time (a Windows file time) then.
bool probePath(const std::string& path, std::uint64_t* lastWrite = nullptr);
bool probePathWide(const WString& path, std::uint64_t* lastWrite = nullptr);

// probePath, but a drive root spelled "X:\", "X:\." or "X:\.\." exists without a search.
bool pathExists(const std::string& path);
bool pathExistsWide(const WString& path);

void collapseBackslashes(std::string& path);
// Letters A..Z become a..z (through the file code page, like collapseBackslashes).
void lowerCasePath(std::string& path);

// A relative path placed in the executable directory, or in the directory of
// baseFile when one is given; then backslash runs collapsed. No "." or ".."
// removal at this stage.
std::string resolvePath(const std::string& path, const std::string* baseFile = nullptr);
WString resolvePathWide(const WString& path, bool narrowSafe, const WString* baseFile = nullptr);

// resolvePath, then the system's full-path normalisation, lower-cased unless keepCase.
std::string fullPath(const std::string& path, bool keepCase);
WString fullPathWide(const WString& path, bool narrowSafe, bool keepCase);

// Each non-empty ";"-separated element resolved, joined with ";".
std::string resolvePathList(const std::string& list);
