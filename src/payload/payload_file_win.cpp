#include "diag/log.h"
#include "diag/report.h"
#include "payload/config_items.h"
#include "payload/config_store.h"
#include "payload/file_source_win.h"
#include "payload/locale_table.h"
#include "payload/payload.h"
#include "util/handle.h"
#include "util/paths.h"
#include "util/win_text.h"

namespace {
std::uint32_t configEnd = 0;
}

std::uint32_t configEndPosition() { return configEnd; }

HANDLE openOwnExecutable() {
  const WString& path = executablePathWide();
  HANDLE file = CreateFileW(wz(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == nullptr || file == INVALID_HANDLE_VALUE) {
    logError(u"Could not open %s", path.c_str());
    fatalText(u"Error opening media file. Please move this file to an ascii-only path like c:\\");
  }
  return file;
}

void loadPayload(const ArgList& args) {
  PayloadError error = PayloadError::None;
  {
    UniqueHandle file(openOwnExecutable());
    FileSource source(file.get());
    error = parsePayload(
        source, configStore(),
        [&args] {
          std::string code = resolveLocale(&args);
          splitLocale(code);
          return code;
        },
        configEnd);
  }
  if (error != PayloadError::None) fatalText(payloadErrorText(error));

  const std::int32_t type = configInt(kItemExecutableType);
  if (type != 1 && type != 5) useConsoleErrors();
}
