// Placeholder until VM creation lands: reports that no VM was created, so the
// start-up sequence ends with its launch-failed message.
#include "jvm/java_launch.h"

bool launchJava(ArgList& /*args*/, bool /*destroyWhenDone*/) { return false; }
