// Placeholder until the runtime search lands: no runtime is ever found, so the
// start-up sequence ends with exit code 83.
#include "jre/runtime_selection.h"

bool LoadDLL() { return false; }
