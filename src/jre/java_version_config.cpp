// The one configuration read of the version checks, kept apart so that
// java_version.cpp builds without the configuration store.
#include "jre/java_version.h"

#include "payload/config_items.h"
#include "payload/config_store.h"

bool allowBetaJavaConfigured() { return configInt(kItemAllowBetaJava) != 0; }
