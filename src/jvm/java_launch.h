// Creating the Java VM in this process and running the application's main class.
#pragma once

#include "launcher/command_line.h"

// True after the main class ran (and, with destroyWhenDone, the VM was destroyed);
// false when the VM was not created or main was not called.
bool launchJava(ArgList& args, bool destroyWhenDone);
