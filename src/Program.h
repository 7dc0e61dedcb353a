// The program's life after the Qt application and the toolkit's seams are set up:
// the only window, shown until it closes. Kept apart from main so that its failure
// path can be run in-process.
#pragma once

// Answers the exit status: 0 once the window has closed, 1 when start-up failed or
// an event handler failed. A start-up failure is reported on standard error and in a
// message box, and the window is never shown; a handler's failure is reported the
// same way and ends the program at once, with the game left as the failure found it.
int RunProgram();
