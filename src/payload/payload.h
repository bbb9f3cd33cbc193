// Loading the launcher's own payload into the configuration store.
#pragma once

#include "launcher/command_line.h"

#include <cstdint>

#include <windows.h>

// Opens the launcher's own executable for reading; a failure ends the process.
HANDLE openOwnExecutable();

// Reads the payload into the configuration store (with the user's locale's
// overrides) and applies the executable type. Payload errors end the process.
void loadPayload(const ArgList& args);

// Offset just behind the configuration part, where the included files start.
std::uint32_t configEndPosition();

// The user's locale code ("de_DE", "en", ...), decided from the Windows language
// settings and the "-Dsun.locale.formatasdefault=" option of args (when given).
std::string resolveLocale(const ArgList* args);
