// The user's locale as a Java-style code ("de_DE", "en", "no_NO_NY"), taken from
// a fixed table of Windows language ids. Free of windows.h: the Windows calls
// that supply the language ids live in the caller.
#pragma once

#include "launcher/command_line.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct LocaleRow {
    std::uint16_t id;  // LANGID: primary language in the low 10 bits
    const char* code;
};

inline constexpr std::size_t kLocaleTableSize = 215;

// Ascending by id; ids are unique (checked at compile time). Rows keyed by a bare primary language id give
// the language alone and are what the fallback pass can hit.
extern const std::array<LocaleRow, kLocaleTableSize> kLocaleTable;

// Exact pass on languageId, then a pass on its primary language
// (languageId & 0x3ff); "en" when neither finds a row.
std::string_view lookupLocaleCode(std::uint16_t languageId);

// Scans every "-Dsun.locale.formatasdefault=" entry; the last one decides, and
// only the exact value "true" (case-sensitive) asks for the regional-format locale.
bool formatAsDefaultRequested(const ArgList& args);

// The whole locale decision, logged:
// - with args, logs "sun.locale.formatasdefault is true|false";
// - unless args ask for the regional-format locale, the UI language is looked up
//   (only then) and used when present; otherwise defaultLocaleLanguageId (low 16
//   bits of the user's default LCID) is used;
// - logs "language/country is <code>" and returns the code (at most 8 characters).
std::string resolveLocaleCode(const ArgList* args, std::uint16_t defaultLocaleLanguageId,
                              const std::function<std::optional<std::uint16_t>()>& uiLanguage);

inline std::string resolveLocaleCode(const ArgList* args, std::uint16_t defaultLocaleLanguageId,
                                     std::optional<std::uint16_t> uiLanguageId) {
  return resolveLocaleCode(args, defaultLocaleLanguageId, [=] { return uiLanguageId; });
}

// Process-wide language and country parts of the resolved code. The language is
// the first two characters; the country is characters 4 and 5 and is set only for
// a code of exactly 5 characters.
void splitLocale(std::string_view code);

// Copies the language part into out; false when no code has been split.
bool localeLanguage(std::string& out);

// Copies the country part into out; false when there is none.
bool localeCountry(std::string& out);

// Forgets the parts stored by splitLocale.
void resetLocaleParts();
