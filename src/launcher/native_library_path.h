// The configured native library folders in front of PATH.
#pragma once

void setNativeLibraryPath();
