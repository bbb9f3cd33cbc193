// The splash screen switch used by the start-up sequence and before every message.
#pragma once

// Shows the splash with the given show state, or hides it with 0. Returns at once.
void splashSwitch(int showState);
