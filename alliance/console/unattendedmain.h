#pragma once

// The program started with --run: no window and no display needed. Returns
// the exit code (see ExitCode).
int runWithoutWindow(int argc, char *argv[]);

// Whether the command line asks for a run without the window.
bool asksForRun(int argc, char *argv[]);
