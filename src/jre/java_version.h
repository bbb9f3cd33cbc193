// Java runtime versions: parsing a version text into its numeric components,
// testing a candidate against the configured lower and upper limits, refusing
// pre-release runtimes, and ordering two candidates.
//
// Free of windows.h and of any state: every call parses its own texts.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// The numeric components of a version text in text order; may be empty.
// "1.8.0_181" is {1, 8, 0, 181}.
using JavaVersion = std::vector<std::int32_t>;

// Splits the text at every '.', '_', '-' and '+' (empty pieces are dropped) and
// converts each piece: leading white space skipped, decimal digits up to the first
// non-digit, 0 when the piece does not start with a digit, 2147483647 for values
// beyond the 32-bit range. The text ends at its first NUL, as a C string would.
// An empty text gives an empty version.
JavaVersion parseJavaVersion(std::string_view text);

enum class LimitSide { Lower, Upper };

// Compares the candidate with the limit position by position over the limit's
// length; the first differing component decides (a lower limit wants the candidate
// greater, an upper limit smaller). When the candidate ends first the result is
// acceptShorter. An empty limit, and a candidate equal on all of the limit's
// positions, pass. Candidate components beyond the limit's length are ignored.
bool satisfiesLimit(const JavaVersion& limit, const JavaVersion& candidate, LimitSide side,
                    bool acceptShorter);

// Tolerant range check for texts that name a family of runtimes (registry key names,
// "CurrentVersion" values): a text that ends before a limit does passes, since a
// full build of that family may still be within range. No pre-release rule.
bool checkVersionPrefix(std::string_view text, const JavaVersion& lower,
                        const JavaVersion& upper);

// Strict range check of a runtime's full version. Unless allowBeta is true or the
// configuration allows pre-release runtimes (allowBetaJavaConfigured), a text that
// contains "beta", "ea" or "rc" anywhere (case-sensitive) is refused with the log
// line "beta vm not allowed". Otherwise the text must satisfy both limits, and a
// text that ends before a limit does fails it: "1.6" fails a minimum of "1.6.0_10".
bool checkJavaVersion(std::string_view text, const JavaVersion& lower, const JavaVersion& upper,
                      bool allowBeta);

// True when configuration item allowBetaJava is nonzero. Defined apart from the
// version logic so that the latter stays independent of the configuration store.
bool allowBetaJavaConfigured();

// True when version a is strictly newer than version b: the first differing
// component decides, and a version that extends the other is the newer one.
// Equal versions are not newer; an empty version is never newer.
bool isNewerVersion(std::string_view a, std::string_view b);
