// Placeholder until the native splash window lands: no splash is shown, and hiding
// one that does not exist is a no-op.
#include "splash/splash.h"

void splashSwitch(int /*showState*/) {}
