// Placeholder until path helpers and variable expansion land: PATH is left as it is.
#include "launcher/native_library_path.h"

void setNativeLibraryPath() {}
