// The program's life once the platform is set up (its application object, and its
// toolkit::Platform installed): the only window, shown through the front end linked
// in, until it closes. Kept apart from the entry points so that its failure path can
// be run in-process.
#pragma once

// The program's command name, which starts each line it writes to standard error.
inline constexpr const char* ProgramName = "tessarin";

// Answers the exit status: 0 once the window has closed, 1 when start-up failed or
// an event handler failed. A start-up failure is reported on standard error and in a
// message box, and the window is never shown; a handler's failure is reported the
// same way and ends the program at once, with the game left as the failure found it.
int RunProgram();
