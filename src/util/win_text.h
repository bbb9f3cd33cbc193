// Boundary between the launcher's UTF-16 text (char16_t) and the wide Windows API
// (wchar_t). Both are 16-bit code units on Windows.
#pragma once

#include "util/text.h"

#include <windows.h>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide Windows text is UTF-16");

inline const wchar_t* wz(const WString& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* wz(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }
inline wchar_t* wbuf(WString& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline WString fromWide(const wchar_t* text) {
  return text ? WString(reinterpret_cast<const char16_t*>(text)) : WString();
}

// Calls fill(buffer, capacity) -> length in units, the usual shape of Windows calls
// that return a string (GetModuleFileNameW, GetLongPathNameW, ...), growing the
// buffer when the result did not fit. Returns the text, empty when the call failed.
template <typename Fill>
WString windowsString(Fill fill, DWORD initial = MAX_PATH) {
  WString buffer(initial, u'\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD n = fill(wbuf(buffer), static_cast<DWORD>(buffer.size()));
    if (n == 0) return WString();
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(static_cast<std::size_t>(n) + 1 > buffer.size() * 2 ? n + 1 : buffer.size() * 2,
                  u'\0');
  }
  return WString();
}

// The same for the 8-bit (ANSI) Windows calls.
template <typename Fill>
std::string windowsStringA(Fill fill, DWORD initial = MAX_PATH) {
  std::string buffer(initial, '\0');
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD n = fill(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::string();
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(static_cast<std::size_t>(n) + 1 > buffer.size() * 2 ? n + 1 : buffer.size() * 2,
                  '\0');
  }
  return std::string();
}
