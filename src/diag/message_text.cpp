#include "diag/message_text.h"

WString substituteFirstPlaceholder(WStringView text, std::optional<WStringView> argument) {
  WString out(text);
  if (argument) {
    std::size_t at = out.find(u"{0}");
    if (at != WString::npos) out.replace(at, 3, *argument);
  }
  truncateToCapacity(out, kMessageCapacity);
  return out;
}

WString appendLogPath(WStringView text, std::optional<WStringView> logPath) {
  WString out(text);
  if (logPath) {
    out += u"\n\nLog: ";
    out += *logPath;
  }
  truncateToCapacity(out, kMessageCapacity);
  return out;
}
