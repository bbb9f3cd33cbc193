// The launcher log. Off unless asked for; every line is written in its own
// open-append-close cycle under one process-wide lock.
//
// Format strings are UTF-16: %s takes UTF-16 text (const char16_t*), %S 8-bit text
// (const char*), %d a 32-bit and %I64d a 64-bit integer (see formatText).
#pragma once

#include "util/text.h"

#include <optional>

// Appends one line to the log if logging is enabled. Never fails towards the caller.
void logMessage(const char16_t* format, ...);

// Appends "ERROR: " and the formatted text as one line. A plain variadic function
// with no result, so that outside code handed its address can call it.
extern "C" void logError(const char16_t* format, ...);

// The log file's path, or nothing when logging is not enabled.
std::optional<WString> logFilePath();
