// Single-instance mode: a second start hands its command line to the running one.
#pragma once

// Returns when this instance is to run; ends the process with exit code 0 when a
// running instance took over.
void checkSingleInstance();
