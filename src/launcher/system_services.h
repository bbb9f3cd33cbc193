// Small Windows services used only by the start-up sequence.
#pragma once

// Attaches to the parent's console or allocates a new one; true when the process
// has a console afterwards.
bool attachConsole();

// Waits 5 s, enables the shutdown privilege and asks Windows to reboot.
void rebootSystem();

// Initialises the common controls (version 6 through the manifest) when available.
void loadCommonControls();
