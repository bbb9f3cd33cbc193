// Text helpers shared by every subsystem. Free of windows.h: built for the
// launcher and natively for the host unit tests.
//
// UTF-16 text is held as char16_t (std::u16string); on Windows it is the same
// representation as wchar_t, see win_text.h for the boundary casts.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using WString = std::u16string;
using WStringView = std::u16string_view;

// Capacity of the launcher's text buffers (bytes of 8-bit text, units of UTF-16 text).
inline constexpr std::size_t kTextCapacity = 6000;

// Each byte becomes the UTF-16 code unit of the same value (0..255).
WString widenBytewise(std::string_view bytes);

// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string toUtf8(WStringView text);

// printf-style formatting with UTF-16 format strings as the launcher log uses them:
// %s UTF-16 string, %S 8-bit string (widened byte by byte), %c character,
// %d %i %u %x %X 32-bit integers, %I64d %I64u %lld %llu 64-bit integers, %p pointer,
// %% percent. Flags "-" and "0", a width and a precision (also ".*") are honoured.
// A null string argument prints "(null)".
WString formatText(const char16_t* format, ...);
WString formatTextV(const char16_t* format, va_list args);

// 8-bit printf into a std::string (no fixed buffer).
std::string formatNarrow(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Keeps at most cap - 1 units, as a buffer of cap units with its terminator would.
void truncateToCapacity(std::string& text, std::size_t cap);
void truncateToCapacity(WString& text, std::size_t cap);

// Decimal conversion as the C runtime's atoi family does it, with clamping:
// leading white space, optional sign, digits up to the first non-digit; no digits
// gives 0; values outside the 32-bit range clamp to INT32_MAX / INT32_MIN.
std::int32_t decimalToInt32(std::string_view text);

// Letters A..Z become a..z; nothing else changes.
void asciiLowerInPlace(std::string& text);
void asciiLowerInPlace(WString& text);
void asciiUpperInPlace(WString& text);

// The pieces of text between separators, empty pieces dropped.
std::vector<std::string> splitNonEmpty(std::string_view text, char separator);

bool startsWith(std::string_view text, std::string_view prefix);
bool startsWith(WStringView text, WStringView prefix);
bool endsWithIgnoreAsciiCase(std::string_view text, std::string_view suffix);

// Local time in the classic fixed 24-character layout, e.g. "Wed Jun 30 21:49:08 1993".
// month 1..12, weekday 0 (Sunday)..6.
std::string classicTimeText(int year, int month, int day, int weekday, int hour, int minute,
                            int second);
