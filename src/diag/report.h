// Messages to the user and the end of the process. Texts are shown in a message
// box, or on standard error once console errors are switched on.
#pragma once

#include "util/text.h"

#include <cstdint>
#include <optional>

// Shows the text (with the log's path appended when a log exists) and returns.
void showMessage(WStringView text);
// Shows configuration message id with its first "{0}" replaced by the argument.
void showConfigMessage(std::int32_t id, std::optional<WStringView> argument = std::nullopt);
// The argument is 8-bit text, widened byte by byte.
void showConfigMessage8(std::int32_t id, std::string_view argument);

// Removes the launcher temporary directory, then ends the process with the code.
[[noreturn]] void exitLauncher(int exitCode);
[[noreturn]] void fatalText(WStringView text);
[[noreturn]] void fatalConfigMessage(std::int32_t id,
                                     std::optional<WStringView> argument = std::nullopt);
[[noreturn]] void fatalConfigMessage8(std::int32_t id, std::string_view argument);

// From now on messages go to standard error instead of message boxes.
void useConsoleErrors();
bool consoleErrorsEnabled();
// The window that owns later message boxes (the splash window).
void setMessageOwner(void* window);
