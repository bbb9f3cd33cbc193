// Host unit tests link a capturing implementation of the launcher log: every
// logMessage / logError line lands in memory instead of a file.
#pragma once

#include "util/text.h"

#include <string>
#include <vector>

// Lines written since the last clearCapturedLog(), as UTF-8 ("ERROR: " kept).
std::vector<std::string>& capturedLog();
void clearCapturedLog();
