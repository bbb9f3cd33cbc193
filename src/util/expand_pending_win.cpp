// Stand-in so the launcher links while path resolution and variable expansion are
// being written; replaced by paths_win.cpp / expand_win.cpp.
#include "util/expand.h"
#include "util/paths.h"

void expandVariablesWide(WString&, bool, std::size_t) {}
void expandVariables(std::string&, std::size_t) {}
WString fullPathWide(const WString& path, bool, bool) { return path; }
