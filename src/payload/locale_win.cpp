#include "payload/locale_table.h"
#include "payload/payload.h"

#include <windows.h>

std::string resolveLocale(const ArgList* args) {
  const auto defaultId = static_cast<std::uint16_t>(GetUserDefaultLCID() & 0xFFFF);
  std::optional<std::uint16_t> uiId;
  // Looked up at run time; the library stays loaded.
  if (HMODULE kernel = LoadLibraryA("Kernel32.DLL")) {
    using UiLanguageFn = LANGID(WINAPI*)();
    auto uiLanguage =
        reinterpret_cast<UiLanguageFn>(GetProcAddress(kernel, "GetUserDefaultUILanguage"));
    if (uiLanguage) uiId = uiLanguage();
  }
  return resolveLocaleCode(args, defaultId, uiId);
}
