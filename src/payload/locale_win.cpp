#include "payload/locale_table.h"
#include "payload/payload.h"

#include <windows.h>

std::string resolveLocale(const ArgList* args) {
  const auto defaultId = static_cast<std::uint16_t>(GetUserDefaultLCID() & 0xFFFF);
  return resolveLocaleCode(args, defaultId, []() -> std::optional<std::uint16_t> {
    // Looked up at run time; the library stays loaded.
    HMODULE kernel = LoadLibraryA("Kernel32.DLL");
    if (!kernel) return std::nullopt;
    using UiLanguageFn = LANGID(WINAPI*)();
    auto uiLanguage = reinterpret_cast<UiLanguageFn>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetUserDefaultUILanguage")));
    if (!uiLanguage) return std::nullopt;
    return uiLanguage();
  });
}
