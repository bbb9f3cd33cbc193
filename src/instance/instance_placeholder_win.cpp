// Placeholder until the instance lock lands: every start runs as its own instance.
#include "instance/instance.h"

void checkSingleInstance() {}
