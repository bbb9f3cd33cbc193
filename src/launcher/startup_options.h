// Start-up options: the create-log option, loading of the payload, the flavour
// and the working directory.
#pragma once

#include "launcher/command_line.h"

// The create-log options, recognised only as element 1 of the command line.
bool isCreateLogOption(WStringView argument);

void applyStartupOptions(void* instance, ArgList& args);
