#include "launcher/startup_state.h"

bool languageRestart = false;
bool createLogRequested = false;
char flavourLetter = '\0';
WString productName = u"kestrel";
void* launcherInstance = nullptr;

void setFlavour(char letter) {
  flavourLetter = letter;
  productName = letter == 'w' ? u"wrenlet" : u"kestrel";
}
