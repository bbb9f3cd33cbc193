#include "launcher/startup_state.h"

bool languageRestart = false;
bool createLogRequested = false;
char flavourLetter = '\0';
// Never destroyed, as all process-wide state: late threads may still show messages.
WString& productName = *new WString(u"kestrel");
void* launcherInstance = nullptr;

void setFlavour(char letter) {
  flavourLetter = letter;
  productName = letter == 'w' ? u"wrenlet" : u"kestrel";
}
