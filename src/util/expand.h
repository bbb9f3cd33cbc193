// Expansion of launcher variables (executable directory, launcher temporary
// directory, runtime home, temporary folder, path-list separator) and of
// environment variables written as ${NAME}, in place. Growth is cut at the
// caller's capacity (cap units including the terminator), never overrun.
#pragma once

#include "util/text.h"

void expandVariablesWide(WString& text, bool narrowSafe, std::size_t cap = kTextCapacity);
void expandVariables(std::string& text, std::size_t cap = kTextCapacity);
