// Process-wide start-up flags, written on the main thread during start-up and
// read-only afterwards.
#pragma once

#include "util/text.h"

// Started by an installer after a language change ("__ksl_lang_restart").
extern bool languageRestart;
// The command line asked for a launcher log.
extern bool createLogRequested;
// First character of the flavour item, or NUL; "k" switches on the installer
// flavour's behaviours.
extern char flavourLetter;
// "wrenlet" for flavour "w", otherwise "kestrel"; used as a caption.
extern WString& productName;
// The module instance handle given to the entry point (resources).
extern void* launcherInstance;

// Sets flavourLetter and productName from the flavour item's first character.
void setFlavour(char letter);
