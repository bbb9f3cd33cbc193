// Runtime selection: the start-up sequence's single entry into runtime discovery.
#pragma once

// True when a runtime's VM library is loaded and its creation entry resolved; on
// false the reason has been logged and shown already.
bool LoadDLL();
