#include "util/process_path.h"

#include "util/win_text.h"

#include <stdlib.h>

std::optional<WString> readProcessPath() {
  WString value(1024, u'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD n =
        GetEnvironmentVariableW(L"PATH", wbuf(value), static_cast<DWORD>(value.size()));
    if (n == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return WString();
    }
    if (n < value.size()) {
      value.resize(n);
      return value;
    }
    value.assign(static_cast<std::size_t>(n) + 1, u'\0');
  }
}

bool writeProcessPath(const std::optional<WString>& value, std::uint32_t& error) {
  error = 0;
  const bool set = SetEnvironmentVariableW(L"PATH", value ? wz(*value) : nullptr) != 0;
  if (!set) error = GetLastError();
  _wputenv_s(L"PATH", value ? wz(*value) : L"");
  return set;
}
