#include "launcher/startup_options.h"

bool isCreateLogOption(WStringView argument) {
  return argument == u"-create-ksl-log" || argument == u"-create-wrl-log" ||
         argument == u"/create-ksl-log" || argument == u"/create-wrl-log";
}
