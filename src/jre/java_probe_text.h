// Text rules of probing a Java executable that need no Windows calls: the
// per-user version cache's key and stored values, and the first line that a
// runtime prints for "-version". Built for the launcher and for host tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Key of the per-user version cache (under HKEY_CURRENT_USER).
inline constexpr std::string_view kVersionCacheKey = "SOFTWARE\\quillmoor\\wrenlet\\jvms";

// The cache key of one executable: kVersionCacheKey, "\" and the normalized
// executable path with every "\" written as "/".
std::string versionCacheKeyFor(std::string_view normalizedPath);

// The version marker stored for an executable whose "-version" run ended with a
// nonzero exit code; never trusted when read back.
inline constexpr std::string_view kFailedRunVersion = "1.0.0";

// Cached versions "1.7.", "1.6." and "1.5." (exactly) count as absent.
bool isIgnoredCachedVersion(std::string_view version);

// The text of a "Version" value as the registry returned it (size bytes, with or
// without a terminating zero): everything before the first zero byte. Nothing
// when the value filled the whole buffer of capacity bytes without a terminator,
// since it then did not fit together with one.
std::optional<std::string> cachedVersionFromValue(const char* data, std::size_t size,
                                                  std::size_t capacity);

// Last-write times are stored as 8 bytes, low byte first (a FILETIME in memory).
std::string lastWriteTimeBytes(std::uint64_t lastWrite);

// The longest first line read from the capture file.
inline constexpr std::size_t kVersionLineLimit = 99;

// The first line of the captured error output: up to the first line feed, at most
// kVersionLineLimit bytes. Nothing when the output is empty.
std::optional<std::string> firstOutputLine(std::string_view output);

// The version of a first "-version" line of the form
//   java version "1.8.0_181"   or   openjdk version "11.0.2"
// : the text between the prefix's double quote and the next double quote. Nothing
// for any other line, for a line without the closing quote, and for an empty version.
std::optional<std::string> versionFromFirstLine(std::string_view line);
