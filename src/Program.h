// The program's life after the Qt application and the toolkit's seams are set up:
// the only window, shown until it closes. Kept apart from main so that its failure
// path can be run in-process.
#pragma once

// Answers the exit status: 0 once the window has closed, 1 when start-up failed.
// A start-up failure is reported on standard error and in a message box, and the
// window is never shown.
int RunProgram();
